// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/page_diff.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "layout/installed_target.h"
#include "layout/laid_out_page.h"
#include "model/eeprom.h"
#include "radio/document.h"

namespace layout {

namespace {

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

}  // namespace

std::string AddressText(int address) { return Hex(static_cast<unsigned>(address), 4); }
std::string ByteText(std::uint8_t value) { return Hex(value, 2); }
namespace {

using Texts = std::vector<std::vector<std::string>>;
using Pages = std::vector<std::unique_ptr<LaidOutPage>>;

// The pages either side shows, A's first and in A's tree order.
std::vector<TreePage> Union(std::vector<TreePage> a, const std::vector<TreePage>& b) {
  for (const TreePage& node : b) {
    const bool known = std::any_of(a.begin(), a.end(),
                                   [&](const TreePage& n) { return n.sheetKey == node.sheetKey; });
    if (!known) a.push_back(node);
  }
  return a;
}

Pages LayOut(const std::vector<TreePage>& nodes, cmcDocument& document, bool usable) {
  PageContext context;
  context.image = &document.Working();
  context.modelType = document.ModelType();
  context.usableView = usable;
  Pages pages;
  for (const TreePage& node : nodes) pages.push_back(std::make_unique<LaidOutPage>(node, context));
  return pages;
}

std::vector<Texts> TextsOf(Pages& pages) {
  std::vector<Texts> texts;
  for (auto& page : pages) {
    Texts& rows = texts.emplace_back(static_cast<std::size_t>(page->Rows()));
    for (int r = 0; r < page->Rows(); ++r) {
      for (int c = 0; c < page->Columns(); ++c)
        rows[static_cast<std::size_t>(r)].push_back(page->Text(c, r));
    }
  }
  return texts;
}

std::string At(const Texts& texts, std::size_t r, std::size_t c) {
  return r < texts.size() && c < texts[r].size() ? texts[r][c] : std::string();
}

// Where a byte of the image can show: every data cell of the laid-out pages.
struct CellRef {
  std::size_t page;
  int column;
  int row;
};

// The addresses among differing whose new value changes no cell's text
// when it alone is put into image. A neighbouring byte usually shows in the
// same cell, so each search starts at the cell that showed the last one.
std::vector<ByteDifference> UnshownBytes(cmcEeprom& image, const cmcEeprom& other, Pages& pages,
                                         const std::vector<Texts>& texts) {
  std::vector<CellRef> cells;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (int r = 0; r < pages[p]->Rows(); ++r) {
      for (int c = 0; c < pages[p]->Columns(); ++c) cells.push_back({p, c, r});
    }
  }
  std::vector<ByteDifference> unshown;
  std::size_t start = 0;
  const int size = std::min(image.Size(), other.Size());
  for (int a = 0; a < size; ++a) {
    const std::uint8_t old = image.GetByte(a);
    if (old == other.GetByte(a)) continue;
    image.SetByte(a, other.GetByte(a));
    bool shown = false;
    for (std::size_t i = 0; i < cells.size() && !shown; ++i) {
      const CellRef& cell = cells[(start + i) % cells.size()];
      shown = pages[cell.page]->Text(cell.column, cell.row) !=
              At(texts[cell.page], static_cast<std::size_t>(cell.row),
                 static_cast<std::size_t>(cell.column));
      if (shown) start = (start + i) % cells.size();
    }
    image.SetByte(a, old);
    if (!shown) unshown.push_back({a, old, other.GetByte(a)});
  }
  return unshown;
}

}  // namespace

ImageDifferences DiffDocuments(const DiffSide& first, const DiffSide& second, bool usableView) {
  const std::vector<TreePage> nodes = Union(first.pages, second.pages);
  std::vector<Texts> newTexts;
  {
    const InstalledTarget installed(*second.document, usableView);
    Pages pages = LayOut(nodes, *second.document, usableView);
    newTexts = TextsOf(pages);
  }
  const InstalledTarget installed(*first.document, usableView);
  Pages pages = LayOut(nodes, *first.document, usableView);
  const std::vector<Texts> oldTexts = TextsOf(pages);

  ImageDifferences result;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const Texts& oldRows = oldTexts[p];
    const Texts& newRows = newTexts[p];
    for (std::size_t r = 0; r < std::max(oldRows.size(), newRows.size()); ++r) {
      const std::size_t columns = std::max(r < oldRows.size() ? oldRows[r].size() : 0,
                                           r < newRows.size() ? newRows[r].size() : 0);
      for (std::size_t c = 0; c < columns; ++c) {
        CellDifference cell;
        cell.before = At(oldRows, r, c);
        cell.after = At(newRows, r, c);
        if (cell.before == cell.after) continue;
        cell.reference = nodes[p].reference;
        cell.page = pages[p]->Title();
        cell.row = Trimmed(r < oldRows.size() ? At(oldRows, r, 0) : At(newRows, r, 0));
        cell.column = Trimmed(At(oldRows, 0, c).empty() ? At(newRows, 0, c) : At(oldRows, 0, c));
        cell.pageRow = static_cast<int>(r);
        cell.pageColumn = static_cast<int>(c);
        result.cells.push_back(std::move(cell));
      }
    }
  }
  result.bytes =
      UnshownBytes(first.document->Working(), second.document->Working(), pages, oldTexts);
  return result;
}

}  // namespace layout
