// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/page_geometry.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>

#include "text/syntax.h"

namespace output {
namespace {

constexpr double kInchesPerMillimetre = 0.03937007874015748;

int Pixels(int millimetres, int dpi) {
  return static_cast<int>(millimetres * dpi * kInchesPerMillimetre);
}

int Sum(const std::vector<int>& sizes, int first, int count) {
  return std::accumulate(sizes.begin() + first, sizes.begin() + first + count, 0);
}

}  // namespace

Margins ParseMargins(std::string_view line) {
  int values[4] = {};
  for (int k = 0; k < 4; ++k) {
    const std::optional<std::string> field = Field(line, ',', k);
    if (field) values[k] = std::max(ReadNumber(*field), 0);
  }
  return {values[0], values[1], values[2], values[3]};
}

platform::Rect MarginRect(const Margins& margins, int dpi, int width, int height) {
  return {Pixels(margins.left, dpi), Pixels(margins.top, dpi), width - Pixels(margins.right, dpi),
          height - Pixels(margins.bottom, dpi)};
}

FrameLayout LayoutFrame(const platform::Rect& page, int fontHeight) {
  FrameLayout frame;
  const int a = fontHeight;
  const int b = static_cast<int>(a * 0.1 + 1);
  frame.fontHeight = a;
  frame.bar = b;
  frame.page = page;
  frame.topBarTop = page.top + a + b;
  frame.bottomBarTop = page.bottom - a - 2 * b;
  frame.makerTop = page.bottom - a - 1;
  frame.content = {page.left, page.top + a + 6 * b, page.right, page.bottom - a - 6 * b};
  return frame;
}

std::vector<int> ColumnChunks(const std::vector<int>& widths, int fixedColumns, int width,
                              const std::function<bool(int column)>& joinedLeft) {
  const int columns = static_cast<int>(widths.size());
  const int fixedWidth = Sum(widths, 0, std::min(fixedColumns, columns));
  std::vector<int> chunks;
  for (int c = fixedColumns; c < columns;) {
    int total = fixedWidth;
    int chunk = columns - c;
    int lastBreak = 0;
    for (int i = 0; c + i < columns; ++i) {
      total += widths[static_cast<std::size_t>(c + i)];
      if (!joinedLeft(c + i)) lastBreak = i;
      if (lastBreak > 0 && total > width) {
        chunk = lastBreak;
        break;
      }
    }
    chunk = std::max(chunk, 1);
    chunks.push_back(chunk);
    c += chunk;
  }
  return chunks;
}

std::vector<int> RowChunks(const std::vector<int>& heights, int fixedRows, int height) {
  const int rows = static_cast<int>(heights.size());
  const int fixedHeight = Sum(heights, 0, std::min(fixedRows, rows));
  std::vector<int> chunks;
  for (int r = fixedRows; r < rows;) {
    int total = fixedHeight;
    int count = 0;
    while (r + count < rows) {
      total += heights[static_cast<std::size_t>(r + count)];
      if (count > 0 && total > height) break;
      ++count;
    }
    count = std::max(count, 1);
    chunks.push_back(count);
    r += count;
  }
  return chunks;
}

std::vector<PageSpan> Paginate(const std::vector<int>& columnChunks, int fixedColumns,
                               const std::vector<int>& rowChunks, int fixedRows) {
  // A sheet made only of fixed columns (or rows) still prints them once.
  const std::vector<int> noChunk{0};
  const std::vector<int>& columnList = columnChunks.empty() ? noChunk : columnChunks;
  const std::vector<int>& rowList = rowChunks.empty() ? noChunk : rowChunks;
  std::vector<PageSpan> pages;
  int row = fixedRows;
  for (int rows : rowList) {
    int column = fixedColumns;
    for (int columns : columnList) {
      pages.push_back({column, columns, row, rows});
      column += columns;
    }
    row += rows;
  }
  return pages;
}

platform::Size PageExtent(const std::vector<int>& widths, int fixedColumns,
                          const std::vector<int>& heights, int fixedRows, const PageSpan& span) {
  return {Sum(widths, 0, fixedColumns) + Sum(widths, span.firstColumn, span.columnCount),
          Sum(heights, 0, fixedRows) + Sum(heights, span.firstRow, span.rowCount)};
}

bool Fits(platform::Size extent, const platform::Rect& content) {
  return extent.width <= content.Width() && extent.height <= content.Height();
}

int ShrunkFontHeight(int fontHeight, platform::Size extent, const platform::Rect& content) {
  if (Fits(extent, content)) return fontHeight;
  const double ratio = std::min(static_cast<double>(content.Height()) / std::max(extent.height, 1),
                                static_cast<double>(content.Width()) / std::max(extent.width, 1));
  const int shrunk = static_cast<int>(fontHeight * std::max(ratio, 0.0));
  // A height of 0 means "the definition's own size", which would undo the
  // shrinking altogether.
  if (shrunk == 0 && fontHeight != 0) return fontHeight < 0 ? -1 : 1;
  return shrunk;
}

}  // namespace output
