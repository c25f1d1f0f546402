// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli pages`: the pages of a clone data file as tables of the
// texts their cells show, laid out by the same page layer as the window.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/document_pages.h"
#include "layout/laid_out_page.h"
#include "layout/page_table.h"

namespace cli {

int RunPages(const Options& options) {
  DocumentPages opened;
  if (const int status = opened.Open(options); status != kExitOk) return status;
  const std::vector<layout::TreePage>& pages = opened.Pages();
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const layout::PageTable table = layout::LaidOutPage(pages[i], opened.Context()).Table();
    std::string out =
        options.format == PageFormat::Csv ? layout::CsvTable(table) : layout::TextTable(table);
    if (options.format == PageFormat::Text && i + 1 < pages.size()) out += "\n";
    // A full disk or a closed pipe ends the listing; main reports it.
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) break;
  }
  return kExitOk;
}

}  // namespace cli
