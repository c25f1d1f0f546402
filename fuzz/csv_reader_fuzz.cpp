// SPDX-License-Identifier: GPL-3.0-or-later
// CSV text from anywhere (a spreadsheet, an editor, a damaged file): the
// reader either refuses it with a line named or gives records that, written
// back as export writes fields, read again to the same records. No field
// holds a NUL; the guard against formulas and the cut of echoed values
// give back what they were given.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "layout/page_table.h"
#include "text/csv_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<text::CsvRecord> records;
  std::string error;
  if (!text::ReadCsv(text, records, error)) {
    if (error.rfind("line ", 0) != 0) fuzz::Finding("a refusal names no line");
    return 0;
  }
  // The reader skips one byte-order mark; a field that begins with one must
  // survive, so the text written back carries one in front.
  std::string again = "\xEF\xBB\xBF";
  int line = 0;
  for (const text::CsvRecord& record : records) {
    if (record.line <= line) fuzz::Finding("record lines do not increase");
    line = record.line;
    if (record.fields.empty()) fuzz::Finding("a record without fields");
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      const std::string& field = record.fields[i];
      if (field.find('\0') != std::string::npos) fuzz::Finding("a NUL passed");
      if (text::FromSpreadsheetText(text::SpreadsheetText(field)) != field)
        fuzz::Finding("the formula guard does not come back");
      const std::string echoed = text::Echoed(field);
      if (echoed.size() > 60 * 4 + 3 || (echoed != field && field.size() <= 60))
        fuzz::Finding("an echoed value is not cut as promised");
      again += (i ? "," : "") + layout::CsvField(field);
    }
    again += "\r\n";
  }
  std::vector<text::CsvRecord> reread;
  if (!text::ReadCsv(again, reread, error)) fuzz::Finding("written records do not read again");
  if (reread.size() != records.size()) fuzz::Finding("written records read as another count");
  for (std::size_t r = 0; r < records.size() && r < reread.size(); ++r) {
    if (reread[r].fields != records[r].fields) fuzz::Finding("written records read differently");
  }
  return 0;
}
