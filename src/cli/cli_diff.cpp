// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli diff`: what differs between two images, said as the pages
// say it (page, row, column, old and new text), then the differing bytes
// that no page shows.

#include <cstdio>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/document_pages.h"
#include "layout/page_diff.h"

namespace cli {

int RunDiff(const Options& options) {
  DocumentPages a;
  if (const int status = a.Open(options); status != kExitOk) return status;
  DocumentPages b;
  Options second = options;
  second.file = options.other;
  const int status = options.other.empty() ? b.OpenRadio(second) : b.Open(second);
  if (status != kExitOk) return status;

  const layout::ImageDifferences differences =
      layout::DiffDocuments({&a.Document(), a.Pages()}, {&b.Document(), b.Pages()}, options.usable);
  for (const layout::CellDifference& cell : differences.cells) {
    std::printf("%s | %s | %s: %s \u2192 %s\n", cell.page.c_str(), cell.row.c_str(),
                cell.column.c_str(), cell.before.c_str(), cell.after.c_str());
  }
  if (!differences.bytes.empty()) {
    std::printf("Bytes no page shows:\n");
    for (const layout::ByteDifference& byte : differences.bytes) {
      std::printf("  %s: %s \u2192 %s\n", layout::AddressText(byte.address).c_str(),
                  layout::ByteText(byte.before).c_str(), layout::ByteText(byte.after).c_str());
    }
  }
  // "They differ" is only true when the list reached its reader.
  if (!FlushStandardOutput()) return kExitOutput;
  return differences.Empty() ? kExitOk : 1;
}

}  // namespace cli
