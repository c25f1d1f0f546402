// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/csv_records.h"

#include <fstream>
#include <iterator>

namespace text {

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
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
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

bool ReadWhole(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace text
