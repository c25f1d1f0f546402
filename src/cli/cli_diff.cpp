// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli diff`: what differs between two images, said as the pages
// say it (page, row, column, old and new text), then the differing bytes
// that no page shows.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/document_pages.h"
#include "cli/laid_out_page.h"
#include "model/eeprom.h"

namespace cli {
namespace {

using Texts = std::vector<std::vector<std::string>>;

// The pages either side shows, A's first and in A's tree order.
std::vector<layout::TreePage> Union(std::vector<layout::TreePage> a,
                                    const std::vector<layout::TreePage>& b) {
  for (const layout::TreePage& node : b) {
    const bool known = std::any_of(
        a.begin(), a.end(), [&](const layout::TreePage& n) { return n.sheetKey == node.sheetKey; });
    if (!known) a.push_back(node);
  }
  return a;
}

std::vector<Texts> TextsOf(std::vector<std::unique_ptr<LaidOutPage>>& pages) {
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
std::vector<int> UnshownBytes(cmcEeprom& image, const cmcEeprom& other,
                              std::vector<std::unique_ptr<LaidOutPage>>& pages,
                              const std::vector<Texts>& texts) {
  std::vector<CellRef> cells;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (int r = 0; r < pages[p]->Rows(); ++r) {
      for (int c = 0; c < pages[p]->Columns(); ++c) cells.push_back({p, c, r});
    }
  }
  std::vector<int> unshown;
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
    if (!shown) unshown.push_back(a);
  }
  return unshown;
}

std::string Hex(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

}  // namespace

int RunDiff(const Options& options) {
  DocumentPages a;
  if (const int status = a.Open(options); status != kExitOk) return status;

  std::vector<layout::TreePage> nodes;
  std::vector<Texts> newTexts;
  cmcEeprom newImage;
  {
    // B's cells evaluate while its target is installed; A's returns after.
    DocumentPages b;
    Options second = options;
    second.file = options.other;
    const int status = options.other.empty() ? b.OpenRadio(second) : b.Open(second);
    if (status != kExitOk) return status;
    nodes = Union(a.Pages(), b.Pages());
    std::vector<std::unique_ptr<LaidOutPage>> pages;
    for (const layout::TreePage& node : nodes)
      pages.push_back(std::make_unique<LaidOutPage>(node, b.Context()));
    newTexts = TextsOf(pages);
    newImage = b.Document().Working();
  }
  std::vector<std::unique_ptr<LaidOutPage>> pages;
  for (const layout::TreePage& node : nodes)
    pages.push_back(std::make_unique<LaidOutPage>(node, a.Context()));
  const std::vector<Texts> oldTexts = TextsOf(pages);

  bool differs = false;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const Texts& oldRows = oldTexts[p];
    const Texts& newRows = newTexts[p];
    for (std::size_t r = 0; r < std::max(oldRows.size(), newRows.size()); ++r) {
      const std::size_t columns = std::max(r < oldRows.size() ? oldRows[r].size() : 0,
                                           r < newRows.size() ? newRows[r].size() : 0);
      for (std::size_t c = 0; c < columns; ++c) {
        const std::string before = At(oldRows, r, c);
        const std::string after = At(newRows, r, c);
        if (before == after) continue;
        differs = true;
        const std::string row = Trimmed(r < oldRows.size() ? At(oldRows, r, 0) : At(newRows, r, 0));
        const std::string column =
            Trimmed(At(oldRows, 0, c).empty() ? At(newRows, 0, c) : At(oldRows, 0, c));
        std::printf("%s | %s | %s: %s \u2192 %s\n", pages[p]->Title().c_str(), row.c_str(),
                    column.c_str(), before.c_str(), after.c_str());
      }
    }
  }

  cmcEeprom& image = a.Document().Working();
  const std::vector<int> unshown = UnshownBytes(image, newImage, pages, oldTexts);
  if (!unshown.empty()) {
    differs = true;
    std::printf("Bytes no page shows:\n");
    for (const int address : unshown) {
      std::printf("  %s: %s \u2192 %s\n", Hex(address, 4).c_str(),
                  Hex(image.GetByte(address), 2).c_str(),
                  Hex(newImage.GetByte(address), 2).c_str());
    }
  }
  return differs ? 1 : kExitOk;
}

}  // namespace cli
