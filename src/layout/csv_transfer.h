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

// A cell the import changed: where, what it showed before and after, and
// a warning when the new text is seldom what the user meant (a spreadsheet
// turned the value into a time or a date).
struct CsvChange {
  int line = 0;  // 0: no value of the CSV names the cell; another one changed it
  std::string page;
  std::string row;
  std::string column;
  std::string before;
  std::string after;
  std::string warning;
};

// A value of the CSV written otherwise than the cell shows it but meaning
// the same number ("6" for "06", "171234567" for "0171234567"), as
// spreadsheets rewrite what looks like a number. The cell keeps its text.
struct CsvKept {
  int line = 0;
  std::string page;
  std::string row;
  std::string column;
  std::string image;  // what the cell shows, and goes on showing
  std::string file;   // what the CSV has
};

struct CsvImportResult {
  std::vector<CsvProblem> problems;  // any: nothing was changed
  std::vector<CsvChange> changes;    // in page, row and column order
  std::vector<CsvKept> kept;         // in the CSV's order
};

// Puts records into document's working image. Planning stops at the first
// record the pages cannot read; every refused value is named. A value the
// cell showed before the import is not typed again, nor is one that is the
// same number as the cell's (it is listed as kept). Trailing empty fields
// are what spreadsheets pad rows with: a row with fewer fields than its
// captions ends in empty values, one with more non-empty fields is
// refused. A number may have a decimal comma. Two values on different
// lines that set the same bits differently are refused, and at the end
// every value of the CSV must show in its cell: an import never ends with
// a cell that differs from its CSV. With any problem the working image is
// as it was on return; else every cell of the CSV's pages whose text
// changed is listed. A value is named as text::Echoed cuts it.
CsvImportResult ImportCsvListed(cmcDocument& document, const std::vector<text::CsvRecord>& records,
                                bool usableView);

// ImportCsvListed's problems alone.
std::vector<CsvProblem> ImportCsv(cmcDocument& document,
                                  const std::vector<text::CsvRecord>& records, bool usableView);

// The pages export writes to a spreadsheet: those of pages but the memory
// view, whose hexadecimal captions and addresses (" +0 ", "010", "1E0")
// spreadsheets rewrite as numbers that no longer tell them apart ("1E0"
// and "001" both become "1"), and whose bytes would set every edited
// setting back. Import still takes a memory view whose captions match.
std::vector<TreePage> SpreadsheetPages(const std::vector<TreePage>& pages);

}  // namespace layout
