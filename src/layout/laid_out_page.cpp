// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/laid_out_page.h"

#include "text/gtex.h"

namespace layout {

namespace {

layout::PageLayout& LaidOut(layout::PageLayout& page, const std::string& reference) {
  page.SetPageReference(reference);
  page.Layout();
  return page;
}

}  // namespace

LaidOutPage::LaidOutPage(const layout::TreePage& node, const layout::PageContext& context)
    : key_(node.sheetKey),
      page_(*gGTex, node.sheetKey, context),
      text_(LaidOut(page_, node.reference)) {
  title_ = page_.Title().empty() ? node.caption : page_.Title();
}

PageTable LaidOutPage::Table() {
  PageTable table{key_, title_, {}};
  table.rows.resize(static_cast<std::size_t>(Rows()));
  for (int r = 0; r < Rows(); ++r) {
    for (int c = 0; c < Columns(); ++c) {
      table.rows[static_cast<std::size_t>(r)].push_back(
          {Text(c, r), page_.CellAt(c, r).cell.HorizontalAlign()});
    }
  }
  return table;
}

}  // namespace layout
