// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One page laid out for the document whose command target is installed,
// with the texts its cells show: what the command-line tool's `pages`,
// `export`, `diff` and `import` and the window's compare and CSV read.
// Row 0 holds the column captions and column 0 the row captions, as on
// screen.

#include <string>

#include "layout/page_context.h"
#include "layout/page_layout.h"
#include "layout/page_table.h"
#include "layout/page_text.h"
#include "layout/tree_pages.h"
#include "text/csv_records.h"

namespace layout {

class LaidOutPage {
 public:
  LaidOutPage(const layout::TreePage& node, const layout::PageContext& context);
  LaidOutPage(const LaidOutPage&) = delete;
  LaidOutPage& operator=(const LaidOutPage&) = delete;

  const std::string& Key() const { return key_; }
  const std::string& Title() const { return title_; }
  int Rows() const { return page_.RowCount(); }
  int Columns() const { return page_.ColumnCount(); }
  layout::PageLayout& Layout() { return page_; }

  // What the cell shows now, evaluated afresh each call.
  std::string Text(int column, int row) { return text_.Show(column, row).text; }
  PageTable Table();

 private:
  std::string key_;
  std::string title_;
  layout::PageLayout page_;
  layout::PageText text_;
};

// Captions are padded for the screen, and a spreadsheet may drop that
// padding: they are compared trimmed.
using text::Trimmed;

}  // namespace layout
