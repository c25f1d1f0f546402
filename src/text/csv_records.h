// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads RFC 4180 CSV as `export` writes it and as spreadsheets save it:
// records end in CRLF or LF, a quoted field may hold commas, line breaks
// and doubled quotes.

#include <string>
#include <vector>

namespace text {

struct CsvRecord {
  int line = 0;  // the line the record starts on, from 1
  std::vector<std::string> fields;
};

// The records of text; false with error set (naming the line) when a
// quoted field is left open or a quote stands inside an unquoted field.
bool ReadCsv(const std::string& text, std::vector<CsvRecord>& records, std::string& error);

// text without the blanks around it.
std::string Trimmed(const std::string& text);

// The whole file at path as it stands; false when it cannot be opened.
bool ReadWhole(const std::string& path, std::string& text);

}  // namespace text
