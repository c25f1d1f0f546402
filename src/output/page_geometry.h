// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of a printed page, without a printer: where the margins put
// the frame, where the frame leaves room for the cells, and how a sheet's
// columns and rows are cut into pages. Sizes are device pixels of the
// printer (or of the preview, which draws the printer's pages scaled).

#include <functional>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

namespace output {

// Millimetres, as GI_Sys_Printer_Margins gives them: left, top, right, bottom.
struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Four comma-separated whole numbers; a missing or unreadable field reads as
// 0 and a negative one as 0, so that a broken line never pushes the frame
// off the paper.
Margins ParseMargins(std::string_view line);

// The rectangle inside the margins of a page of width × height pixels at
// dpi (the vertical resolution serves both directions). Fractions of a pixel
// are cut off.
platform::Rect MarginRect(const Margins& margins, int dpi, int width, int height);

// Where the page frame draws, for a frame font whose height is a pixels.
struct FrameLayout {
  int fontHeight = 0;  // a
  int bar = 0;         // b: the bars' thickness, a tenth of a plus one
  platform::Rect page;
  int topBarTop = 0;     // the bar under the title line
  int bottomBarTop = 0;  // the bar over the maker line
  int makerTop = 0;      // top of the maker line
  platform::Rect content;
};
FrameLayout LayoutFrame(const platform::Rect& page, int fontHeight);

// A page of a sheet: the columns and rows it shows besides the fixed ones.
struct PageSpan {
  int firstColumn = 0;
  int columnCount = 0;
  int firstRow = 0;
  int rowCount = 0;
};

// The column chunks of a sheet for a content width: whole columns, the fixed
// columns repeated on every page. A column whose header cell is joined to
// its left neighbour (joinedLeft(column) true) never starts a chunk, even
// when that makes the chunk overflow; a single column wider than the page
// still forms a chunk of its own.
std::vector<int> ColumnChunks(const std::vector<int>& widths, int fixedColumns, int width,
                              const std::function<bool(int column)>& joinedLeft);
// The row chunks for a content height, the fixed rows repeated; at least
// one row per chunk.
std::vector<int> RowChunks(const std::vector<int>& heights, int fixedRows, int height);
// The pages in print order: row chunk by row chunk, and within one column
// chunk by column chunk. A sheet without columns or rows besides the fixed
// ones gives one page of its fixed cells.
std::vector<PageSpan> Paginate(const std::vector<int>& columnChunks, int fixedColumns,
                               const std::vector<int>& rowChunks, int fixedRows);

// The width and height a page's cells take: the fixed columns and rows and
// those of the page.
platform::Size PageExtent(const std::vector<int>& widths, int fixedColumns,
                          const std::vector<int>& heights, int fixedRows, const PageSpan& span);

// The font height for the next measuring pass when extent does not fit in
// content: the height times the smaller of the two ratios, cut toward zero
// (heights are negative character heights, so this shrinks the font). The
// height unchanged when the extent fits; never 0, which would mean the
// definition's full size.
int ShrunkFontHeight(int fontHeight, platform::Size extent, const platform::Rect& content);
bool Fits(platform::Size extent, const platform::Rect& content);

}  // namespace output
