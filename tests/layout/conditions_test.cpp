// SPDX-License-Identifier: GPL-3.0-or-later
// The model and radio conditions of the pages, and the channel loop of the
// channel pages with and without the usable-channels view.
#include <set>

#include "layout/page_conditions.h"
#include "model/datch.h"
#include "support/layout_support.h"

namespace layouttest {
namespace {

using Conditions = PageTest;

TEST_F(Conditions, EachConditionKeepsItsLineOnlyWhileItHolds) {
  struct Case {
    const char* what;
    int model;
    std::uint8_t status;
    std::uint8_t byte972;
    std::uint8_t byte973;
    std::set<std::string> kept;  // besides Always and NoCount
  };
  const std::vector<Case> cases = {
      {"USA model", 0, 0, 0, 0, {"UsaAus", "Usa", "NotSuv"}},
      {"Australian model", 5, 0, 0, 0, {"UsaAus", "NotSuv"}},
      {"New Zealand model", 7, 0, 0, 0, {"UsaAus", "NotSuv"}},
      {"Nordic USA-type model", 8, 0, 0, 0, {"UsaAus", "Suv"}},
      {"European model", 1, 0, 0, 0, {"Eur", "NotSuv"}},
      {"SUV model", 9, 0, 0, 0, {"Eur", "Suv"}},
      {"SUV Pacific model", 11, 0, 0, 0, {"Eur", "Suv"}},
      {"export model", 12, 0, 0, 0, {"Eur", "NotSuv"}},
      {"DC voltage", 1, 0x08, 0, 0, {"DCV", "Eur", "NotSuv"}},
      {"over-voltage", 1, 0x10, 0, 0, {"Volt", "Eur", "NotSuv"}},
      {"over-temperature bit 1", 1, 0x02, 0, 0, {"Temp", "Eur", "NotSuv"}},
      {"over-temperature bit 2", 1, 0x04, 0, 0, {"Temp", "Eur", "NotSuv"}},
      {"read forbidden only", 1, 0x01, 0, 0, {"Eur", "NotSuv"}},
      {"USA plan", 1, 0, 0x01, 0, {"UsaCh", "Eur", "NotSuv"}},
      {"weather channels", 1, 0, 0x02, 0, {"WxCh", "Eur", "NotSuv"}},
      {"Canadian plan", 1, 0, 0x04, 0, {"CanCh", "Eur", "NotSuv"}},
      {"international plan", 1, 0, 0, 0x02, {"IntCh", "Eur", "NotSuv"}},
      {"other switch bits", 1, 0, 0xF8, 0xFD, {"Eur", "NotSuv"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    context.modelType = c.model;
    context.infoStatus = c.status;
    image.SetByte(memmap::kFlags972, c.byte972);
    image.SetByte(memmap::kFlags973, c.byte973);
    Page("GI_Page_Conditions");
    std::set<std::string> expected = c.kept;
    expected.insert({"Always", "NoCount"});
    const std::vector<std::string> captions = Captions(0);
    EXPECT_EQ(std::set<std::string>(captions.begin(), captions.end()), expected);
    EXPECT_EQ(captions.size(), expected.size());
  }
}

TEST_F(Conditions, ModelGroupsSplitEveryModelInTwo) {
  for (int model = 0; model < memmap::kModelTypes; ++model) {
    context.modelType = model;
    Page("GI_Page_Conditions");
    const std::vector<std::string> captions = Captions(0);
    const auto kept = [&](const char* caption) {
      return std::count(captions.begin(), captions.end(), caption);
    };
    EXPECT_EQ(kept("UsaAus") + kept("Eur"), 1) << model;
    EXPECT_EQ(kept("Suv") + kept("NotSuv"), 1) << model;
  }
}

// Inhibits every USA channel but the listed ones; channel 40 is inhibited
// yet listed as the plan's P channel.
void ListOnly(cmcEeprom& image) {
  for (int i = 0; i < memmap::kPlanEntries; ++i) {
    if (i != 5 && i != 300) image.SetByte(memmap::PlanByte(0, i), memmap::kChInhibit);
  }
  image.SetWord(memmap::kPWords, 40);
  image.SetWord(memmap::kCWords, 0xFFFF);
}

TEST_F(Conditions, ChannelLoopMakesOneRowPerChannelOrPerListedChannel) {
  ListOnly(image);
  Page("GI_Sheet_UsaCh_Test");
  ASSERT_EQ(page->RowCount(), 1 + memmap::kPlanEntries);
  EXPECT_EQ(page->CellAt(0, 1).cell.Number(), 0);
  EXPECT_EQ(page->CellAt(1, memmap::kPlanEntries).cell.Number(), memmap::kPlanEntries - 1);
  EXPECT_EQ(page->Title(), "USA channels");

  context.usableView = true;
  Page("GI_Sheet_UsaCh_Test");
  ASSERT_EQ(page->RowCount(), 4);
  const std::vector<int> numbers = Numbers(0);
  EXPECT_EQ(std::vector<int>(numbers.begin() + 1, numbers.end()), (std::vector<int>{5, 40, 300}));
  EXPECT_EQ(page->CellAt(1, 3).cell.Number(), 300);
  EXPECT_EQ(page->CellAt(1, 3).cell.Cell(), CL_ChList_Tag);
  EXPECT_EQ(page->Title(), "USA channels (usable)");
  ASSERT_TRUE(page->Style().titleFont.has_value());
  EXPECT_EQ(page->Style().titleFont->face, "Usable Face");
}

TEST_F(Conditions, UsableViewWithoutListedChannelsLeavesOneEmptyRow) {
  for (int i = 0; i < memmap::kPlanEntries; ++i)
    image.SetByte(memmap::PlanByte(0, i), memmap::kChInhibit);
  image.SetWord(memmap::kPWords, 0xFFFF);
  image.SetWord(memmap::kCWords, 0xFFFF);
  context.usableView = true;
  Page("GI_Sheet_UsaCh_Test");
  ASSERT_EQ(page->RowCount(), 2);
  EXPECT_EQ(page->CellAt(0, 1).cell.Number(), layout::PageLayout::kNoChannel);
}

// After an attribute change the cursor stays on its channel while that is
// still listed, else moves on to the next listed one, else back to the
// nearest one before it.
TEST(NearestListedChannel, ForwardFirstThenBackThenTheFirstRow) {
  struct Case {
    const char* what;
    std::vector<bool> listed;
    int from;
    int expected;
  };
  const std::vector<Case> cases = {
      {"the cursor's own channel is listed", {true, true, true, true}, 2, 2},
      {"the next listed one after it", {true, false, false, true}, 1, 3},
      {"nothing after it: the nearest before", {false, true, true, false, false}, 3, 2},
      {"the first channel itself", {true, false, false}, 0, 0},
      {"nothing listed", {false, false, false}, 1, 0},
      {"only the first channel listed, from the end", {true, false, false}, 2, 0},
      {"from past the end", {false, true, false}, 7, 1},
      {"from before the start", {false, false, true}, -3, 2},
      {"an empty list", {}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(layout::NearestListedChannel(c.listed, c.from), c.expected);
  }
}

}  // namespace
}  // namespace layouttest
