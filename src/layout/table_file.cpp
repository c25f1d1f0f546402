// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/table_file.h"

#include <cctype>

#include "layout/csv_transfer.h"

namespace layout {

TableFormat FormatOfPath(const std::string& path) {
  constexpr std::string_view kOds = ".ods";
  if (path.size() < kOds.size()) return TableFormat::kCsv;
  for (std::size_t i = 0; i < kOds.size(); ++i) {
    const char c = path[path.size() - kOds.size() + i];
    if (std::tolower(static_cast<unsigned char>(c)) != kOds[i]) return TableFormat::kCsv;
  }
  return TableFormat::kOds;
}

TableRead ReadCsvFile(const std::string& path, std::vector<text::CsvRecord>& records) {
  std::string text;
  if (std::string why; !text::ReadWhole(path, text, &why))
    return {TableRead::Status::kUnreadable, why};
  if (std::string error; !text::ReadCsv(text, records, error))
    return {TableRead::Status::kRefused, error};
  return {};
}

bool WriteCsvFile(const std::string& path, cmcDocument& document,
                  const std::vector<TreePage>& pages, bool usableView) {
  return WriteWholeFile(path, ExportCsv(document, pages, usableView));
}

}  // namespace layout
