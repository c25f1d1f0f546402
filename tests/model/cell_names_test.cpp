// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "base/events.h"
#include "model/cell_names.h"
#include "platform/fatal.h"

namespace {

std::string FatalText(void (*call)()) {
  try {
    call();
  } catch (const platform::FatalStop& stop) {
    return stop.what();
  }
  return "no stop";
}

// Names and constants come from one list, so they cannot disagree; what
// can break is an entry moved inside the list. These are the positions code
// relies on.
TEST(CellNames, PositionsTheCodeReliesOn) {
  // A zeroed capsule or cell means "no cell".
  EXPECT_EQ(CL_Null, 0u);
  // Events name the Edit menu's item by this number.
  EXPECT_EQ(CL_Menu_Edit_Top, static_cast<std::uint32_t>(kEvCellMenuItem));
  // The evaluator takes these runs of names as ranges.
  const char* const infoRun[] = {"CL_CloneInfo_Model",   "CL_CloneInfo_Revision",
                                 "CL_CloneInfo_Comment", "CL_CloneInfo_BattType",
                                 "CL_CloneInfo_OverDCV", "CL_CloneInfo_OverVolt",
                                 "CL_CloneInfo_OverTemp"};
  for (std::size_t i = 0; i < std::size(infoRun); ++i) {
    SCOPED_TRACE(infoRun[i]);
    EXPECT_EQ(CellFromName(infoRun[i]), CL_CloneInfo_Model + i);
  }
  EXPECT_LT(CL_ChList_Atr, CL_Fch_ChName);
  EXPECT_EQ(CL_NoCell, kCellNameCount);
}

TEST(CellNames, EveryNameReadsBackToItsPosition) {
  for (std::uint32_t i = 0; i < kCellNameCount; ++i) {
    ASSERT_FALSE(CellName(i).empty()) << i;
    EXPECT_EQ(CellFromName(CellName(i)), i) << CellName(i);
  }
  EXPECT_EQ(CellName(kCellNameCount), "");
  EXPECT_EQ(CellName(0xFFFFFFFF), "");
  for (int c = 0; c < kCategoryNameCount; ++c) EXPECT_EQ(CategoryFromName(CategoryName(c)), c);
  EXPECT_EQ(CategoryFromName("CT_UsaCh"), 3);
  EXPECT_EQ(CategoryName(8), "");
  EXPECT_EQ(CategoryName(-1), "");
}

TEST(CellNames, EmptyNamesMeanNone) {
  EXPECT_EQ(CategoryFromName(""), CT_NoCategory);
  EXPECT_EQ(CellFromName(""), CL_NoCell);
}

TEST(CellNames, UnknownNamesStopTheProgram) {
  EXPECT_EQ(FatalText([] { CellFromName("CL_NoSuchCell"); }),
            "Cannot use the specified cell.\n'CL_NoSuchCell'");
  EXPECT_EQ(FatalText([] { CellFromName("cl_model"); }),
            "Cannot use the specified cell.\n'cl_model'");
  // The lists share one table, but a name of one list is no name of the other.
  EXPECT_EQ(FatalText([] { CellFromName("CT_IntCh"); }),
            "Cannot use the specified cell.\n'CT_IntCh'");
  EXPECT_EQ(FatalText([] { CategoryFromName("CL_Model"); }),
            "Cannot use the specified category.\n'CL_Model'");
  EXPECT_EQ(FatalText([] { CategoryFromName("CT_Usa"); }),
            "Cannot use the specified category.\n'CT_Usa'");
}

TEST(CellNames, CategoriesMapToImageChannelCategories) {
  const int expected[] = {0, 0, 1, 2, 3, 4, 5, 6, 0};
  for (int c = 0; c <= 8; ++c) EXPECT_EQ(ValueCategoryOf(c), expected[c]) << c;
  EXPECT_EQ(FatalText([] { ValueCategoryOf(9); }), "Unknown Cell Category. (9)");
  EXPECT_EQ(FatalText([] { ValueCategoryOf(-1); }), "Unknown Cell Category. (-1)");
}

}  // namespace
