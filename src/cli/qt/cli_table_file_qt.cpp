// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_table_file.h"
#include "spreadsheet/table_file.h"

namespace cli {

layout::TableRead ReadTable(const std::string& path, std::vector<text::CsvRecord>& records) {
  return spreadsheet::ReadTableFile(path, records);
}

bool WriteTable(const std::string& path, cmcDocument& document,
                const std::vector<layout::TreePage>& pages, bool usableView, std::string& why) {
  why.clear();
  return spreadsheet::WriteTableFile(path, document, pages, usableView);
}

}  // namespace cli
