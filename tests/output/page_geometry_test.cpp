// SPDX-License-Identifier: GPL-3.0-or-later
// Margins, the page frame and the cutting of a sheet into pages, against
// sizes worked out by hand.
#include <gtest/gtest.h>

#include <set>

#include "output/page_geometry.h"

namespace output {
namespace {

TEST(PageGeometry, MarginsInMillimetresAtThePrinterResolution) {
  struct Case {
    const char* line;
    int dpi;
    platform::Rect expected;
  };
  // A4 at 600 dpi is 4960 × 7016 pixels.
  const Case cases[] = {
      {"10,10,10,10", 600, {236, 236, 4960 - 236, 7016 - 236}},
      {" 10 ,\t20, 0 ,5 ", 600, {236, 472, 4960, 7016 - 118}},
      {"25,25,25,25", 300, {295, 295, 4960 - 295, 7016 - 295}},
      // Missing and negative fields leave no margin rather than a frame off the paper.
      {"10", 600, {236, 0, 4960, 7016}},
      {"-10,x,10,10", 600, {0, 0, 4960 - 236, 7016 - 236}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(MarginRect(ParseMargins(c.line), c.dpi, 4960, 7016), c.expected);
  }
}

TEST(PageGeometry, FrameLeavesRoomForTitleMakerAndBars) {
  // a = 66 (8 points at 600 dpi), b = 66 × 0.1 + 1 = 7.
  const FrameLayout frame = LayoutFrame({236, 236, 4724, 6780}, 66);
  EXPECT_EQ(frame.bar, 7);
  EXPECT_EQ(frame.topBarTop, 236 + 66 + 7);
  EXPECT_EQ(frame.content.top, 236 + 66 + 42);
  EXPECT_EQ(frame.makerTop, 6780 - 67);
  EXPECT_EQ(frame.bottomBarTop + frame.bar, 6780 - 66 - 7);
  EXPECT_EQ(frame.content.bottom, 6780 - 66 - 42);
  EXPECT_EQ(frame.content.left, 236);
  EXPECT_EQ(frame.content.right, 4724);
}

TEST(PageGeometry, ColumnChunks) {
  struct Case {
    const char* name;
    std::vector<int> widths;
    int fixed;
    int width;
    std::set<int> joined;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"all fit", {50, 100, 100, 100}, 1, 400, {}, {3}},
      {"split at the overflow", {50, 100, 100, 100, 100}, 1, 300, {}, {2, 2}},
      {"fixed width counts on every page", {200, 100, 100, 100}, 1, 350, {}, {1, 1, 1}},
      {"over-wide column alone", {50, 900, 100}, 1, 300, {}, {1, 1}},
      {"over-wide first and only", {1000}, 0, 300, {}, {1}},
      // Column 3 is joined to column 2: both go to the next page.
      {"joined pair moves together", {50, 100, 100, 100, 100}, 1, 300, {3}, {1, 2, 1}},
      // A joined run wider than the page stays whole on an overflowing page.
      {"joined run overflows", {0, 200, 200, 200}, 1, 300, {2, 3}, {3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto joined = [&](int column) { return c.joined.count(column) > 0; };
    const std::vector<int> chunks = ColumnChunks(c.widths, c.fixed, c.width, joined);
    EXPECT_EQ(chunks, c.expected);
    // No chunk begins with a joined column.
    int column = c.fixed;
    for (int chunk : chunks) {
      EXPECT_FALSE(joined(column)) << c.name << " column " << column;
      column += chunk;
    }
  }
}

TEST(PageGeometry, RowChunksRepeatTheFixedRows) {
  struct Case {
    const char* name;
    std::vector<int> heights;
    int fixed;
    int height;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"all fit", {20, 10, 10, 10}, 1, 50, {3}},
      {"exactly full", {20, 10, 10, 10}, 1, 40, {2, 1}},
      {"header repeated", {20, 10, 10, 10, 10, 10}, 1, 45, {2, 2, 1}},
      {"over-tall row alone", {20, 10, 500, 10}, 1, 45, {1, 1, 1}},
      {"no fixed rows", {10, 10, 10}, 0, 25, {2, 1}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RowChunks(c.heights, c.fixed, c.height), c.expected) << c.name;
}

TEST(PageGeometry, PagesGoRowChunkByRowChunk) {
  const std::vector<PageSpan> pages = Paginate({2, 1}, 1, {3, 2}, 1);
  ASSERT_EQ(pages.size(), 4u);
  const PageSpan expected[] = {{1, 2, 1, 3}, {3, 1, 1, 3}, {1, 2, 4, 2}, {3, 1, 4, 2}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(pages[i].firstColumn, expected[i].firstColumn) << i;
    EXPECT_EQ(pages[i].columnCount, expected[i].columnCount) << i;
    EXPECT_EQ(pages[i].firstRow, expected[i].firstRow) << i;
    EXPECT_EQ(pages[i].rowCount, expected[i].rowCount) << i;
  }
  // Nothing but fixed cells: one page of them.
  const std::vector<PageSpan> fixedOnly = Paginate({}, 2, {}, 1);
  ASSERT_EQ(fixedOnly.size(), 1u);
  EXPECT_EQ(fixedOnly[0].columnCount, 0);
  EXPECT_EQ(PageExtent({30, 40}, 2, {15}, 1, fixedOnly[0]), (platform::Size{70, 15}));
}

TEST(PageGeometry, ShrinkingTheFont) {
  const platform::Rect content{0, 0, 1000, 2000};
  struct Case {
    int height;
    platform::Size extent;
    int expected;
  };
  const Case cases[] = {
      {-100, {1000, 2000}, -100},  // fits exactly
      {-100, {2000, 1000}, -50},   // too wide
      {-100, {500, 3000}, -66},    // too tall, cut toward zero
      {-100, {1000000, 10}, -1},   // never 0: that is the full size
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShrunkFontHeight(c.height, c.extent, content), c.expected)
        << c.extent.width << "x" << c.extent.height;
  }
}

}  // namespace
}  // namespace output
