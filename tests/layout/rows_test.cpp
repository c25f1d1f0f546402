// SPDX-License-Identifier: GPL-3.0-or-later
// Rows of a page: loops, skipped lines, empty lines and the pages that
// cannot be laid out.
#include <numeric>

#include "platform/fatal.h"
#include "support/layout_support.h"

namespace layouttest {
namespace {

using Rows = PageTest;

TEST_F(Rows, LoopCountsBelowTwoRepeatNothing) {
  for (const char* key : {"GI_Page_LoopOne", "GI_Page_LoopZero", "GI_Page_LoopNegative"}) {
    Page(key);
    EXPECT_EQ(Captions(0), (std::vector<std::string>{"Head", "", "Tail"})) << key;
    EXPECT_EQ(page->CellAt(0, 1).cell.Number(), 3) << key;
  }
}

TEST_F(Rows, SingleLineLoopCopiesTheRowAboveWithRisingNumbersAndItsHeight) {
  Page("GI_Page_LoopSixteen");
  ASSERT_EQ(page->RowCount(), 18);
  ASSERT_EQ(page->ColumnCount(), 2);
  std::vector<int> expected(16);
  std::iota(expected.begin(), expected.end(), 3);
  for (int column : {0, 1}) {
    std::vector<int> body = Numbers(column);
    EXPECT_EQ(std::vector<int>(body.begin() + 1, body.end() - 1), expected) << column;
  }
  EXPECT_EQ(page->CellAt(1, 16).cell.Cell(), CL_Fch_ChName);
  EXPECT_EQ(page->CellAt(0, 16).cell.Caption(), "A\nB");
  // Two caption lines of 13 pixels and the padding of 2, on every copy.
  for (int r = 1; r <= 16; ++r) EXPECT_EQ(page->RowHeights()[static_cast<std::size_t>(r)], 28) << r;
  EXPECT_EQ(page->RowHeights()[17], layout::PageLayout::kInitialSize);
  EXPECT_EQ(page->CellAt(0, 17).cell.Caption(), "Tail");
}

TEST_F(Rows, TwoLineLoopOfSixteenMakesThirtyTwoRowsNumberedThroughTheCounter) {
  Page("GI_Page_LoopPair");
  ASSERT_EQ(page->RowCount(), 33);
  std::vector<int> numbers = Numbers(0);
  std::vector<int> expected(32);
  std::iota(expected.begin(), expected.end(), 0);
  EXPECT_EQ(std::vector<int>(numbers.begin() + 1, numbers.end()), expected);
  // The head row lies under SelectOFF; the loop rows and their copies under
  // SelectON.
  EXPECT_FALSE(page->CellAt(0, 0).inMultiSelectableRow);
  for (int r = 1; r < 33; ++r) EXPECT_TRUE(page->CellAt(1, r).inMultiSelectableRow) << r;
}

TEST_F(Rows, LoopToWithoutLoopFromLeavesTheNextLoopWhole) {
  Page("GI_Page_StrayLoopTo");
  EXPECT_EQ(Numbers(0), (std::vector<int>{0, 1, 2}));
}

TEST_F(Rows, SkippedLinesNeverBecomeRows) {
  Page("GI_Page_Skip");
  EXPECT_EQ(Captions(0), (std::vector<std::string>{"A", "C"}));
  // The skipped SelectOFF did not take effect either.
  EXPECT_TRUE(page->CellAt(0, 1).inMultiSelectableRow);

  image.SetByte(memmap::kFlags972, 0x01);
  Page("GI_Page_Skip");
  EXPECT_EQ(Captions(0), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_FALSE(page->CellAt(0, 2).inMultiSelectableRow);
}

TEST_F(Rows, LoopCopiesRepeatOnlyTheRowsTheLoopMade) {
  Page("GI_Page_SkipInLoop");
  EXPECT_EQ(Captions(0), (std::vector<std::string>{"B", "B", "B"}));
  EXPECT_EQ(Numbers(0), (std::vector<int>{0, 1, 2}));

  image.SetByte(memmap::kFlags972, 0x01);
  Page("GI_Page_SkipInLoop");
  EXPECT_EQ(Captions(0), (std::vector<std::string>{"Usa", "B", "Usa", "B", "Usa", "B"}));
}

TEST_F(Rows, EmptyRowLineGivesDefaultCells) {
  Page("GI_Page_EmptyRow");
  ASSERT_EQ(page->RowCount(), 3);
  ASSERT_EQ(page->ColumnCount(), 2);
  for (int c : {0, 1}) {
    const cmcCellObj& cell = page->CellAt(c, 1).cell;
    EXPECT_FALSE(cell.HasCaption());
    EXPECT_FALSE(cell.Selectable());
    EXPECT_EQ(cell.Cell(), CL_NoCell);
  }
  // A short row leaves its trailing slots default too.
  EXPECT_TRUE(page->CellAt(0, 2).cell.Selectable());
  EXPECT_FALSE(page->CellAt(1, 2).cell.Selectable());
}

TEST_F(Rows, PagesWithoutRowsOrOutsideCellsStopTheProgram) {
  for (const char* key : {"GI_Page_NoRows", "GI_Page_AllSkipped"}) {
    layout::PageLayout empty(table, key, context);
    try {
      empty.Layout();
      ADD_FAILURE() << key;
    } catch (const platform::FatalStop& stop) {
      EXPECT_STREQ(stop.what(), "Illegal Cell assign") << key;
    }
  }

  layout::PageLayout unbuilt(table, "GI_Page_EmptyRow", context);
  EXPECT_THROW(unbuilt.CellAt(0, 0), platform::FatalStop);
  Page("GI_Page_EmptyRow");
  for (auto [c, r] : std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {2, 0}, {0, 3}}) {
    try {
      page->CellAt(c, r);
      ADD_FAILURE() << c << "," << r;
    } catch (const platform::FatalStop& stop) {
      EXPECT_STREQ(stop.what(), "Illegal Cell selection");
    }
  }
  EXPECT_NO_THROW(page->CellAt(1, 2));
}

}  // namespace
}  // namespace layouttest
