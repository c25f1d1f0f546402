// SPDX-License-Identifier: GPL-3.0-or-later
// Shown texts of a laid-out page through the real evaluator, on the USA
// model's initial image.
#include "layout/page_text.h"
#include "radio/document.h"
#include "support/codes.h"
#include "support/eval_support.h"
#include "support/layout_support.h"

namespace layouttest {
namespace {

class PageTexts : public evaltest::EvalTest {
 protected:
  PageTexts() {
    EXPECT_EQ(Num(cmcDocument::ReadChecked(SEACLONE_SOURCE_DIR "/data/initial/TB58_00_USA.DAT",
                                           target.image)),
              0);
    pages.Bind(SEACLONE_TEST_DATA "/layout/pages.ovl");
    pageContext.image = &target.image;
  }

  std::vector<std::vector<std::string>> Shown(bool usable) {
    pageContext.usableView = usable;
    target.usable = usable;
    layout::PageLayout page(pages, "GI_Sheet_UsaCh_Test", pageContext);
    page.Layout();
    layout::PageText text(page);
    return text.Rows();
  }

  cmcGTex pages;
  layout::PageContext pageContext;
};

TEST_F(PageTexts, ChannelPageShowsEveryChannelOrOnlyTheListedOnes) {
  const auto all = Shown(false);
  ASSERT_EQ(all.size(), 1u + memmap::kPlanEntries);
  EXPECT_EQ(all[0], (std::vector<std::string>{"No", "Tag"}));
  EXPECT_EQ(all[1], (std::vector<std::string>{"0  ", "---"}));
  EXPECT_EQ(all[4], (std::vector<std::string>{"1A", "-"}));

  // The initial USA image lists 68 channels; inhibited ones drop out and
  // the rows close up.
  const auto listed = Shown(true);
  ASSERT_EQ(listed.size(), 69u);
  EXPECT_EQ(listed[0], (std::vector<std::string>{"No", "Tag"}));
  EXPECT_EQ(listed[1], (std::vector<std::string>{"1A", "-"}));
  EXPECT_EQ(listed[2], (std::vector<std::string>{"3A", "-"}));
  EXPECT_EQ(listed[4], (std::vector<std::string>{"6  ", "Tag"}));
}

// An evaluator that records what it is handed and raises both marks.
struct Recorded {
  static inline std::vector<cmcCellCapsule> calls;
  static inline std::vector<bool> notified;
  static EvalResult Evaluate(cmcCellCapsule& capsule, bool notify) {
    calls.push_back(capsule);
    notified.push_back(notify);
    capsule.outputText = "value " + std::to_string(capsule.cell->Number());
    capsule.stateFlags |= cmcCellCapsule::kWarningMark | cmcCellCapsule::kErrorMark;
    capsule.markPosition = 3;
    return EvalResult::kDone;
  }
};

TEST_F(PageTexts, DataCellsGoThroughOneCapsuleWithActionZeroAndStaticCellsNever) {
  Recorded::calls.clear();
  Recorded::notified.clear();
  pageContext.printing = true;
  pageContext.canvas = &canvas;
  layout::PageLayout page(pages, "GI_Page_LoopSixteen", pageContext);
  page.Layout();
  layout::PageText text(page, &Recorded::Evaluate);
  cmcCellCapsule opener;
  text.SetOwnerCapsule(&opener);

  const layout::ShownCell head = text.Show(0, 0);
  EXPECT_EQ(head.text, "Head");
  EXPECT_TRUE(Recorded::calls.empty());

  const layout::ShownCell first = text.Show(0, 1, true);
  const layout::ShownCell second = text.Show(1, 2);
  EXPECT_EQ(first.text, "value 3");
  EXPECT_EQ(second.text, "value 4");
  EXPECT_TRUE(first.warning && first.error);
  EXPECT_EQ(first.markPosition, 3);
  ASSERT_EQ(Recorded::calls.size(), 2u);
  for (const cmcCellCapsule& call : Recorded::calls) {
    EXPECT_EQ(call.action, 0);
    EXPECT_EQ(call.related, &opener);
    EXPECT_EQ(call.canvas, &canvas);
    EXPECT_TRUE(call.outputText.empty());
    EXPECT_EQ(call.markPosition, 0);
  }
  EXPECT_EQ(Recorded::notified, (std::vector<bool>{false, false}));
  // The marks of one cell do not carry over to the next.
  EXPECT_EQ(Recorded::calls[0].stateFlags, cmcCellCapsule::kCursorCell | cmcCellCapsule::kPrinting);
  EXPECT_EQ(Recorded::calls[1].stateFlags, cmcCellCapsule::kPrinting);
  EXPECT_EQ(Recorded::calls[1].cell, &page.CellAt(1, 2).cell);
}

}  // namespace
}  // namespace layouttest
