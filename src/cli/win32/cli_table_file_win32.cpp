// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_table_file.h"

namespace cli {
namespace {

const char kCsvOnly[] =
    "is an OpenDocument spreadsheet (.ods), which this build of seaclone-cli does not read or "
    "write; use a CSV file";

}  // namespace

layout::TableRead ReadTable(const std::string& path, std::vector<text::CsvRecord>& records) {
  if (layout::FormatOfPath(path) == layout::TableFormat::kOds)
    return {layout::TableRead::Status::kUnreadable, kCsvOnly};
  return layout::ReadCsvFile(path, records);
}

bool WriteTable(const std::string& path, cmcDocument& document,
                const std::vector<layout::TreePage>& pages, bool usableView, std::string& why) {
  why.clear();
  if (layout::FormatOfPath(path) == layout::TableFormat::kOds) {
    why = kCsvOnly;
    return false;
  }
  return layout::WriteCsvFile(path, document, pages, usableView);
}

}  // namespace cli
