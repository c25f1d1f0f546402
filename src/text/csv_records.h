// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads RFC 4180 CSV as `export` writes it and as spreadsheets save it in
// any of the radio's markets: fields separated by `,`, `;` or tab (the
// first of them that stands outside quotes in the first record that is not
// blank; `,` when it has none), records ending in CRLF, LF or the CR of old
// Mac files, a quoted field holding separators, line breaks and doubled
// quotes. The text is UTF-8, with or without the byte-order mark a
// spreadsheet's "CSV UTF-8" writes; a file that is not UTF-8 is read as
// Windows-1252, the "Western" encoding spreadsheets write by default there,
// so that its accented letters reach the checks of the cells as the
// letters they are. Spreadsheets pad every row to the width of the sheet,
// so trailing empty fields are dropped: a blank line is a record without
// fields.

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

// What a CSV text was found to be, for messages that tell the user how the
// file was read.
struct CsvFormat {
  enum class Encoding { kUtf8, kUtf8WithMark, kWindows1252 };
  enum class LineEnds { kNone, kCrLf, kLf, kCr, kMixed };
  char separator = ',';
  bool separatorFound = false;  // false: the first record has none, `,` assumed
  Encoding encoding = Encoding::kUtf8;
  LineEnds lineEnds = LineEnds::kNone;
};

// "';'-separated, Windows-1252, CR line ends" and the like.
std::string Described(const CsvFormat& format);

// The records of text; false with error set (naming the line) when a
// quoted field is left open, a quote stands inside an unquoted field (the
// message names the separator the file was read with), a field holds a NUL
// (which would end the value early for every reader that takes it as C
// text), a file with the UTF-8 byte-order mark is no UTF-8, or a file read
// as Windows-1252 holds one of the bytes it leaves undefined. format, when
// given, is set to what was found, also when the text is refused.
bool ReadCsv(const std::string& text, std::vector<CsvRecord>& records, std::string& error,
             CsvFormat* format = nullptr);

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
