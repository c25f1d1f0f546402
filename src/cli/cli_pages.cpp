// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli pages`: the pages of a clone data file as tables of the
// texts their cells show, laid out by the same page layer as the window.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/document_pages.h"
#include "cli/page_table.h"
#include "layout/page_layout.h"
#include "layout/page_text.h"
#include "text/gtex.h"

namespace cli {
namespace {

PageTable TableOf(const layout::TreePage& node, const layout::PageContext& context) {
  layout::PageLayout page(*gGTex, node.sheetKey, context);
  page.SetPageReference(node.reference);
  page.Layout();
  layout::PageText text(page);
  PageTable table{node.sheetKey, page.Title().empty() ? node.caption : page.Title(), {}};
  table.rows.resize(static_cast<std::size_t>(page.RowCount()));
  for (int r = 0; r < page.RowCount(); ++r) {
    for (int c = 0; c < page.ColumnCount(); ++c) {
      table.rows[static_cast<std::size_t>(r)].push_back(
          {text.Show(c, r).text, page.CellAt(c, r).cell.HorizontalAlign()});
    }
  }
  return table;
}

}  // namespace

int RunPages(const Options& options) {
  DocumentPages opened;
  if (const int status = opened.Open(options); status != kExitOk) return status;
  const std::vector<layout::TreePage>& pages = opened.Pages();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const PageTable table = TableOf(pages[i], opened.Context());
    std::string out = options.format == PageFormat::Csv ? CsvTable(table) : TextTable(table);
    if (options.format == PageFormat::Text && i + 1 < pages.size()) out += "\n";
    // A full disk or a closed pipe ends the listing; main reports it.
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) break;
  }
  return kExitOk;
}

}  // namespace cli
