// SPDX-License-Identifier: GPL-3.0-or-later
// CSV text from anywhere (a spreadsheet in any settings, an editor, a
// damaged file): the reader either refuses it with a line named or gives
// records that, written back quoted and with the separator it found, read
// again to the same records and the same separator. No field holds a NUL
// or ends a record empty, every field is UTF-8 whatever the file's
// encoding; the guard against formulas and the cut of echoed values give
// back what they were given.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "text/csv_records.h"
#include "text/text_encoding.h"

namespace {

// A field quoted whatever it holds, so that no separator in it splits it.
std::string Quoted(const std::string& field) {
  std::string out = "\"";
  for (const char c : field) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<text::CsvRecord> records;
  std::string error;
  text::CsvFormat format;
  if (!text::ReadCsv(text, records, error, &format)) {
    if (error.rfind("line ", 0) != 0) fuzz::Finding("a refusal names no line");
    return 0;
  }
  // The reader skips one byte-order mark; a field that begins with one must
  // survive, so the text written back carries one in front. Each record
  // ends in a separator (an empty field the reader drops), so that even a
  // record of one field tells the separator when it is the first.
  std::string again = "\xEF\xBB\xBF";
  const std::string separator(1, format.separator);
  int line = 0;
  for (const text::CsvRecord& record : records) {
    if (record.line <= line) fuzz::Finding("record lines do not increase");
    line = record.line;
    if (!record.fields.empty() && record.fields.back().empty())
      fuzz::Finding("a record ends in an empty field");
    for (const std::string& field : record.fields) {
      if (field.find('\0') != std::string::npos) fuzz::Finding("a NUL passed");
      if (text::Utf8Fault(field) != std::string::npos) fuzz::Finding("a field is no UTF-8");
      if (text::FromSpreadsheetText(text::SpreadsheetText(field)) != field)
        fuzz::Finding("the formula guard does not come back");
      const std::string echoed = text::Echoed(field);
      if (echoed.size() > 60 * 4 + 3 || (echoed != field && field.size() <= 60))
        fuzz::Finding("an echoed value is not cut as promised");
      again += Quoted(field) + separator;
    }
    again += record.fields.empty() ? "\r\n" : separator + "\r\n";
  }
  std::vector<text::CsvRecord> reread;
  text::CsvFormat rereadFormat;
  if (!text::ReadCsv(again, reread, error, &rereadFormat))
    fuzz::Finding("written records do not read again");
  if (reread.size() != records.size()) fuzz::Finding("written records read as another count");
  for (std::size_t r = 0; r < records.size() && r < reread.size(); ++r) {
    if (reread[r].fields != records[r].fields) fuzz::Finding("written records read differently");
  }
  if (!records.empty() && rereadFormat.separator != format.separator && rereadFormat.separatorFound)
    fuzz::Finding("written records read with another separator");
  return 0;
}
