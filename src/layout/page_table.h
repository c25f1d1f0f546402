// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A laid-out page as printed by `seaclone-cli pages`: the texts of its
// cells, row by row, in two forms. Text lines the columns up for reading
// (each column as wide as its widest text, aligned as the cell is on
// screen, a title line first); CSV is for scripts (RFC 4180: CRLF record
// ends, a field with a comma, quote or line break quoted and its quotes
// doubled, a "Page" record naming the page first).

#include <string>
#include <string_view>
#include <vector>

namespace layout {

struct TableCell {
  std::string text;
  int align = 0;  // 0 left, 1 centre, 2 right
};

struct PageTable {
  std::string key;    // the sheet key, e.g. GI_Sheet_IntCh
  std::string title;  // the page's title, or the tree's caption for it
  std::vector<std::vector<TableCell>> rows;
};

std::string TextTable(const PageTable& table);
std::string CsvTable(const PageTable& table);

// One CSV field, quoted when it must be.
std::string CsvField(std::string_view text);

}  // namespace layout
