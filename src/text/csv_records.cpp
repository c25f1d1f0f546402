// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/csv_records.h"

#include "text/input_file.h"

namespace text {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool FormulaStart(char c) { return c == '=' || c == '+' || c == '-' || c == '@'; }

// Quotes and then a formula character: the form a guarded cell takes.
bool Guarded(const std::string& value, std::size_t quotes) {
  if (quotes >= value.size() || !FormulaStart(value[quotes])) return false;
  if (value[quotes] == '-' && value.find_first_not_of('-', quotes) == std::string::npos)
    return quotes > 0;
  return true;
}

}  // namespace

bool ReadCsv(const std::string& text, std::vector<CsvRecord>& records, std::string& error) {
  records.clear();
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
  const std::size_t start = text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\0') {
      error = "line " + std::to_string(line) + ": a NUL character inside a field";
      return false;
    }
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
    } else if (c == '"') {
      if (!field.empty() || wasQuoted) {
        error = "line " + std::to_string(line) + ": a quote inside a field that is not quoted";
        return false;
      }
      quoted = wasQuoted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      if (c == '\r') ++i;
      endField();
      records.push_back(std::move(record));
      record = CsvRecord{++line, {}};
    } else {
      field += c;
    }
  }
  if (quoted) {
    error = "line " + std::to_string(record.line) + ": a quoted field is not closed";
    return false;
  }
  // The last record may lack its line end.
  if (!field.empty() || wasQuoted || !record.fields.empty()) {
    endField();
    records.push_back(std::move(record));
  }
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
