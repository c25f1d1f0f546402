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
// smaller one), as clone files are written. false when that failed, or
// when path names something other than a regular file (a folder, a FIFO, a
// device), which is left as it is.
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
// record the pages cannot read; every refused value is named. A value the
// cell showed before the import is not typed again. Two values on
// different lines that set the same bits differently are refused, and at
// the end every value of the CSV must show in its cell: an import never
// ends with a cell that differs from its CSV. With any problem the working
// image is as it was on return. A value is named as text::Echoed cuts it.
std::vector<CsvProblem> ImportCsv(cmcDocument& document,
                                  const std::vector<text::CsvRecord>& records, bool usableView);

}  // namespace layout
