// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table file of the pages: CSV, or an OpenDocument spreadsheet (.ods),
// told by the file name's extension. The CSV side lives here, in the core;
// the OpenDocument side needs a zip library and XML and lives in
// spreadsheet/, which builds on this.

#include <string>
#include <vector>

#include "layout/tree_pages.h"
#include "text/csv_records.h"

class cmcDocument;

namespace layout {

enum class TableFormat { kCsv, kOds };

// .ods in any letter case is OpenDocument, anything else CSV.
TableFormat FormatOfPath(const std::string& path);

// How reading a table file went. kUnreadable: the file itself could not be
// had (missing, not a regular file, too large); kRefused: its content is
// no table this program reads. why completes "cannot read PATH: it …" for
// the first and names the place and the reason for the second.
struct TableRead {
  enum class Status { kRead, kUnreadable, kRefused };
  Status status = Status::kRead;
  std::string why;
};

// The records of the CSV file at path.
TableRead ReadCsvFile(const std::string& path, std::vector<text::CsvRecord>& records);

// The pages as CSV into path, whole or not at all (see WriteWholeFile).
bool WriteCsvFile(const std::string& path, cmcDocument& document,
                  const std::vector<TreePage>& pages, bool usableView);

}  // namespace layout
