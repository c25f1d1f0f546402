// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli export` and `import`: the pages as CSV, and a CSV put back
// into an image cell by cell through the same editors as typing in the
// window, so that every value meets the window's checks.

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
  if (std::string why;
      !WriteTable(options.csv, opened.Document(), opened.Pages(), options.usable, why)) {
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

  const std::vector<layout::CsvProblem> problems =
      layout::ImportCsv(opened.Document(), records, options.usable);
  for (const layout::CsvProblem& problem : problems) {
    const std::string line = "line " + std::to_string(problem.line);
    if (problem.column.empty()) {
      Fail(line + ": " + problem.reason);
    } else {
      Fail(line + ", " + problem.page + ", row '" + problem.row + "', column '" + problem.column +
           "': '" + problem.value + "': " + problem.reason);
    }
  }
  if (!problems.empty()) return kExitDataError;
  return ExitStatus(opened.Document().SaveTo(options.output));
}

}  // namespace cli
