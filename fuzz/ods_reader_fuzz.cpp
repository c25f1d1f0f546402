// SPDX-License-Identifier: GPL-3.0-or-later
// An OpenDocument spreadsheet's content.xml from anywhere (Calc, Excel, a
// damaged or hostile file), or with a leading "PK" a whole .ods file: the
// reader either refuses it with a reason and no records, or gives records
// within the limits, each with a row number, the first naming a page.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "spreadsheet/ods_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<text::CsvRecord> records;
  std::string error;
  const bool read = bytes.rfind("PK", 0) == 0 ? spreadsheet::ReadOds(bytes, records, error)
                                              : spreadsheet::ReadOdsContent(bytes, records, error);
  if (!read) {
    if (error.empty()) fuzz::Finding("a refusal without a reason");
    if (!records.empty()) fuzz::Finding("a refusal hands out records");
    return 0;
  }
  if (!records.empty() && (records[0].fields.size() < 2 || records[0].fields[0] != "Page"))
    fuzz::Finding("the first record names no page");
  std::size_t cells = 0;
  std::size_t bytesOut = 0;
  for (const text::CsvRecord& record : records) {
    if (record.line < 1) fuzz::Finding("a record without a row number");
    if (record.fields.empty()) fuzz::Finding("a record without fields");
    cells += record.fields.size();
    for (const std::string& field : record.fields) bytesOut += field.size();
  }
  // A synthetic page record per sheet comes on top of the cells counted.
  if (cells > spreadsheet::kMostCells + 2 * records.size())
    fuzz::Finding("more cells than the limit");
  if (bytesOut > text::kCsvLimit + (std::size_t{64} << 20))
    fuzz::Finding("more text than the limit");
  return 0;
}
