// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/csv_records.h"

#include "text/input_file.h"
#include "text/text_encoding.h"

namespace text {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// How messages name a separator.
std::string SeparatorName(char separator) {
  return separator == '\t' ? std::string("tab") : std::string("'") + separator + "'";
}

std::string Hex(char byte) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  const auto b = static_cast<unsigned char>(byte);
  return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0xF];
}

// The line offset falls on, from 1, counting CRLF, LF and CR as one end.
int LineAt(const std::string& text, std::size_t offset) {
  int line = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
      ++line;
  }
  return line;
}

// The first of , ; and tab outside quotes in the first record that is not
// blank; false (and separator left as it is) when that record has none.
bool FindSeparator(const std::string& text, char& separator) {
  bool quoted = false;
  bool content = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;
      content = true;
    } else if (quoted) {
      continue;
    } else if (c == ',' || c == ';' || c == '\t') {
      separator = c;
      return true;
    } else if (c == '\r' || c == '\n') {
      if (content) return false;
    } else {
      content = true;
    }
  }
  return false;
}

bool FormulaStart(char c) { return c == '=' || c == '+' || c == '-' || c == '@'; }

// Quotes and then a formula character: the form a guarded cell takes.
bool Guarded(const std::string& value, std::size_t quotes) {
  if (quotes >= value.size() || !FormulaStart(value[quotes])) return false;
  if (value[quotes] == '-' && value.find_first_not_of('-', quotes) == std::string::npos)
    return quotes > 0;
  return true;
}

}  // namespace

std::string Described(const CsvFormat& format) {
  std::string out = SeparatorName(format.separator) + "-separated";
  switch (format.encoding) {
    case CsvFormat::Encoding::kUtf8: out += ", UTF-8"; break;
    case CsvFormat::Encoding::kUtf8WithMark: out += ", UTF-8 with byte-order mark"; break;
    case CsvFormat::Encoding::kWindows1252: out += ", Windows-1252"; break;
  }
  switch (format.lineEnds) {
    case CsvFormat::LineEnds::kNone: break;
    case CsvFormat::LineEnds::kCrLf: out += ", CRLF line ends"; break;
    case CsvFormat::LineEnds::kLf: out += ", LF line ends"; break;
    case CsvFormat::LineEnds::kCr: out += ", CR line ends"; break;
    case CsvFormat::LineEnds::kMixed: out += ", mixed line ends"; break;
  }
  return out;
}

bool ReadCsv(const std::string& text, std::vector<CsvRecord>& records, std::string& error,
             CsvFormat* format) {
  records.clear();
  CsvFormat found;
  const auto refuse = [&](int line, const std::string& what) {
    error = "line " + std::to_string(line) + ": " + what;
    if (format) *format = found;
    return false;
  };

  std::string decoded;
  const std::string* body = &text;
  if (text.compare(0, 3, kByteOrderMark) == 0) {
    found.encoding = CsvFormat::Encoding::kUtf8WithMark;
    // The mark promises UTF-8: reading on as another encoding would turn
    // every real UTF-8 letter of the file into two wrong ones.
    if (const std::size_t bad = Utf8Fault(text); bad != std::string::npos)
      return refuse(LineAt(text, bad), "byte " + Hex(text[bad]) +
                                           " is not UTF-8, which the file's byte-order mark "
                                           "promises");
    decoded = text.substr(3);
    body = &decoded;
  } else if (Utf8Fault(text) != std::string::npos) {
    found.encoding = CsvFormat::Encoding::kWindows1252;
    if (std::size_t bad = 0; !FromWindows1252(text, decoded, bad))
      return refuse(LineAt(text, bad),
                    "byte " + Hex(text[bad]) + " is neither UTF-8 nor Windows-1252");
    body = &decoded;
  }
  const std::string& in = *body;
  found.separatorFound = FindSeparator(in, found.separator);
  const char separator = found.separator;

  int line = 1;
  CsvRecord record{line, {}};
  std::string field;
  bool quoted = false;
  bool wasQuoted = false;
  auto endField = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
    wasQuoted = false;
  };
  auto endRecord = [&] {
    endField();
    while (!record.fields.empty() && record.fields.back().empty()) record.fields.pop_back();
    records.push_back(std::move(record));
  };
  auto sawLineEnd = [&](CsvFormat::LineEnds ends) {
    if (found.lineEnds == CsvFormat::LineEnds::kNone)
      found.lineEnds = ends;
    else if (found.lineEnds != ends)
      found.lineEnds = CsvFormat::LineEnds::kMixed;
  };
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (c == '\0') return refuse(line, "a NUL character inside a field");
    // CRLF, a lone LF and a lone CR each end one line.
    const bool crlf = c == '\r' && i + 1 < in.size() && in[i + 1] == '\n';
    const bool lineEnd = c == '\n' || c == '\r';
    if (quoted) {
      if (c == '"' && i + 1 < in.size() && in[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (lineEnd && !crlf) ++line;
        field += c;
      }
    } else if (c == '"') {
      if (!field.empty() || wasQuoted) {
        return refuse(line, "a quote inside a field that is not quoted (the file was read as " +
                                SeparatorName(separator) + "-separated, " +
                                (found.separatorFound ? "as its first record is"
                                                      : "as its first record has no separator") +
                                ")");
      }
      quoted = wasQuoted = true;
    } else if (c == separator) {
      endField();
    } else if (lineEnd) {
      if (crlf) ++i;
      sawLineEnd(crlf ? CsvFormat::LineEnds::kCrLf
                      : (c == '\n' ? CsvFormat::LineEnds::kLf : CsvFormat::LineEnds::kCr));
      endRecord();
      record = CsvRecord{++line, {}};
    } else {
      field += c;
    }
  }
  if (quoted) return refuse(record.line, "a quoted field is not closed");
  // The last record may lack its line end.
  if (!field.empty() || wasQuoted || !record.fields.empty()) endRecord();
  if (format) *format = found;
  return true;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool ReadWhole(const std::string& path, std::string& text, std::string* why) {
  const FileRead result = ReadRegularFile(path, kCsvLimit, text);
  if (why) *why = FileReadReason(result, kCsvLimit);
  return result == FileRead::kOk;
}

std::string Echoed(const std::string& value) {
  constexpr std::size_t kShown = 60;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    // Counted by characters so that a cut never splits one of UTF-8.
    if ((static_cast<unsigned char>(value[i]) & 0xC0) == 0x80) continue;
    if (++characters > kShown) return value.substr(0, i) + "\u2026";
  }
  return value;
}

std::string SpreadsheetText(const std::string& value) {
  const std::size_t quotes = value.find_first_not_of('\'');
  // A value that already looks guarded gets one more quote, so that import
  // gives back exactly this value.
  return Guarded(value, quotes == std::string::npos ? value.size() : quotes) ? "'" + value : value;
}

std::string FromSpreadsheetText(const std::string& cell) {
  const std::size_t quotes = cell.find_first_not_of('\'');
  if (quotes == 0 || quotes == std::string::npos || !Guarded(cell, quotes)) return cell;
  return cell.substr(1);
}

}  // namespace text
