// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads RFC 4180 CSV as `export` writes it and as spreadsheets save it:
// records end in CRLF or LF, a quoted field may hold commas, line breaks
// and doubled quotes, and the file may begin with the UTF-8 byte-order
// mark a spreadsheet's "CSV UTF-8" writes.

#include <cstddef>
#include <string>
#include <vector>

namespace text {

struct CsvRecord {
  int line = 0;  // the line the record starts on, from 1
  std::vector<std::string> fields;
};

// The most a CSV input may hold. The largest real export is a small part of
// it; the limit keeps a wrong name (a device, a huge file) from exhausting
// memory.
inline constexpr std::size_t kCsvLimit = std::size_t{16} * 1024 * 1024;

// The records of text; false with error set (naming the line) when a
// quoted field is left open, a quote stands inside an unquoted field or a
// field holds a NUL (which would end the value early for every reader
// that takes it as C text).
bool ReadCsv(const std::string& text, std::vector<CsvRecord>& records, std::string& error);

// text without the blanks around it.
std::string Trimmed(const std::string& text);

// The whole file at path as it stands; false when it is not a regular file,
// cannot be read or holds more than kCsvLimit bytes. why, when given, says
// which ("is not a regular file").
bool ReadWhole(const std::string& path, std::string& text, std::string* why = nullptr);

// A value as a message repeats it: cut after 60 characters with "…", so
// that a huge refused field does not flood the screen.
std::string Echoed(const std::string& value);

// A cell as spreadsheets take it for text: a value that begins with
// = + - or @ would be run as a formula when the CSV is opened, so it gets
// a leading ' (which spreadsheets show as nothing). Values of dashes alone
// ("-", "---") are no formula and stay as they are.
std::string SpreadsheetText(const std::string& value);
// The value of a cell SpreadsheetText wrote (or a spreadsheet saved).
std::string FromSpreadsheetText(const std::string& cell);

}  // namespace text
