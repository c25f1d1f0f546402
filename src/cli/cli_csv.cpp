// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli export` and `import`: the pages as CSV, and a CSV put back
// into an image cell by cell through the same editors as typing in the
// window, so that every value meets the window's checks. An import ends
// with the list of what it changed and what it kept, which --dry-run
// prints without writing anything.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/cli_table_file.h"
#include "cli/document_pages.h"
#include "cli/exit_status.h"
#include "layout/csv_transfer.h"
#include "text/input_file.h"

namespace cli {
namespace {

void Fail(const std::string& text) { StandardError().Message("seaclone-cli: " + text); }

std::string Cell(const std::string& page, const std::string& row, const std::string& column) {
  return page + " | " + row + " | " + column;
}

// One line per changed cell and per kept value, as diff says a cell, then
// a line with the counts.
void PrintList(const layout::CsvImportResult& result, bool dryRun) {
  for (const layout::CsvChange& change : result.changes) {
    std::string line = "changed: " + Cell(change.page, change.row, change.column) + ": " +
                       change.before + " \u2192 " + change.after;
    line += change.line != 0 ? " (line " + std::to_string(change.line) + ")"
                             : std::string(" (through another value)");
    if (!change.warning.empty()) line += " warning: " + change.warning;
    std::printf("%s\n", line.c_str());
  }
  for (const layout::CsvKept& kept : result.kept) {
    std::printf("kept: %s: '%s' (line %d: the spreadsheet rewrote '%s' as '%s')\n",
                Cell(kept.page, kept.row, kept.column).c_str(), kept.image.c_str(), kept.line,
                kept.image.c_str(), kept.file.c_str());
  }
  const std::string changed = std::to_string(result.changes.size());
  const std::string kept = std::to_string(result.kept.size());
  if (dryRun) {
    std::printf("%s values would change, %s kept; nothing was written (--dry-run).\n",
                changed.c_str(), kept.c_str());
  } else {
    std::printf("%s values changed, %s kept.\n", changed.c_str(), kept.c_str());
  }
}

}  // namespace

int RunExport(const Options& options) {
  // Refused before anything is laid out: a device node or FIFO given as
  // OUT.csv must not be replaced by a file.
  if (!text::IsFileTarget(options.csv)) {
    Fail("cannot write " + options.csv + ": it is not a regular file");
    return ExitStatus(CloneFileCode::kFileOpen);
  }
  DocumentPages opened;
  if (const int status = opened.Open(options); status != kExitOk) return status;
  // A page asked for by name is written, whatever it is.
  const std::vector<layout::TreePage> pages =
      options.page.empty() ? layout::SpreadsheetPages(opened.Pages()) : opened.Pages();
  if (std::string why; !WriteTable(options.csv, opened.Document(), pages, options.usable, why)) {
    Fail("cannot write " + options.csv + (why.empty() ? "" : ": it " + why));
    return ExitStatus(why.empty() ? CloneFileCode::kFileAccess : CloneFileCode::kFileOpen);
  }
  return kExitOk;
}

int RunImport(const Options& options) {
  std::vector<text::CsvRecord> records;
  if (const layout::TableRead read = ReadTable(options.csv, records);
      read.status != layout::TableRead::Status::kRead) {
    if (read.status == layout::TableRead::Status::kUnreadable) {
      Fail("cannot read " + options.csv + ": it " + read.why);
      return ExitStatus(CloneFileCode::kFileOpen);
    }
    Fail(options.csv + ", " + read.why);
    return kExitDataError;
  }
  DocumentPages opened;
  Options open = options;
  open.page.clear();
  if (const int status = opened.Open(open); status != kExitOk) return status;

  const layout::CsvImportResult result =
      layout::ImportCsvListed(opened.Document(), records, options.usable);
  for (const layout::CsvProblem& problem : result.problems) {
    const std::string line = "line " + std::to_string(problem.line);
    if (problem.column.empty()) {
      Fail(line + ": " + problem.reason);
    } else {
      Fail(line + ", " + problem.page + ", row '" + problem.row + "', column '" + problem.column +
           "': '" + problem.value + "': " + problem.reason);
    }
  }
  if (!result.problems.empty()) return kExitDataError;
  if (!options.dryRun) {
    if (const int status = ExitStatus(opened.Document().SaveTo(options.output)); status != kExitOk)
      return status;
  }
  PrintList(result, options.dryRun);
  if (!FlushStandardOutput()) return kExitOutput;
  return kExitOk;
}

}  // namespace cli
