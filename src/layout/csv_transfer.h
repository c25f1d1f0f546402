// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages as CSV and back. Export writes each page as its table (a
// "Page,KEY,title" record, the column captions, a record per row); import
// puts such a CSV into a document cell by cell through the same editors as
// typing in the window, so every value meets the window's checks.
// seaclone-cli export/import and the window's File menu both use these.

#include <string>
#include <vector>

#include "layout/tree_pages.h"
#include "text/csv_records.h"

class cmcDocument;

namespace layout {

// The pages of document as one CSV text, its cells evaluating against a
// target of its own.
std::string ExportCsv(cmcDocument& document, const std::vector<TreePage>& pages, bool usableView);

// Writes text to path whole or not at all (a half CSV would import as a
// smaller one), as clone files are written. false when that failed.
bool WriteWholeFile(const std::string& path, const std::string& text);

// Why a record of the CSV was refused. A refused value names its page,
// row and column; a CSV the pages cannot read names only its line, and the
// reason says the rest.
struct CsvProblem {
  int line = 0;
  std::string page;
  std::string row;
  std::string column;  // empty when the record as a whole was refused
  std::string value;
  std::string reason;
};

// Puts records into document's working image. Planning stops at the first
// record the pages cannot read; every refused value is named. With any
// problem the working image is as it was on return.
std::vector<CsvProblem> ImportCsv(cmcDocument& document,
                                  const std::vector<text::CsvRecord>& records, bool usableView);

}  // namespace layout
