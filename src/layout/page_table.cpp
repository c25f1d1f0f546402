// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/page_table.h"

#include <algorithm>

#include "text/csv_records.h"

namespace layout {
namespace {

// Characters, not bytes, so that UTF-8 texts line up too.
std::size_t Width(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// A line of the table holds one line of each cell.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  return text;
}

std::string Pad(const std::string& text, std::size_t width, int align) {
  const std::size_t gap = width - std::min(width, Width(text));
  const std::size_t before = align == 2 ? gap : align == 1 ? gap / 2 : 0;
  return std::string(before, ' ') + text + std::string(gap - before, ' ');
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// A cell of the CSV. Captions lose the padding that lines them up on
// screen, which a script would otherwise have to strip. A cell a
// spreadsheet would run as a formula is quoted with its guard, the form
// spreadsheets read as text.
std::string CsvCell(const std::string& text, bool caption) {
  const std::string value = caption ? text::Trimmed(text) : text;
  const std::string cell = text::SpreadsheetText(value);
  return cell == value ? CsvField(cell) : Quoted(cell);
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  return Quoted(text);
}

std::string TextTable(const PageTable& table) {
  std::vector<std::vector<std::string>> lines;
  std::vector<std::size_t> widths;
  for (const auto& row : table.rows) {
    auto& line = lines.emplace_back();
    for (std::size_t c = 0; c < row.size(); ++c) {
      line.push_back(OneLine(row[c].text));
      if (widths.size() <= c) widths.resize(c + 1, 0);
      widths[c] = std::max(widths[c], Width(line.back()));
    }
  }
  std::string out = OneLine(table.title) + " [" + table.key + "]\n";
  for (std::size_t r = 0; r < lines.size(); ++r) {
    std::string text;
    for (std::size_t c = 0; c < lines[r].size(); ++c) {
      if (c > 0) text += "  ";
      text += Pad(lines[r][c], widths[c], table.rows[r][c].align);
    }
    text.erase(text.find_last_not_of(' ') + 1);
    out += text + "\n";
  }
  return out;
}

std::string CsvTable(const PageTable& table) {
  std::string out = "Page," + CsvField(table.key) + "," + CsvCell(table.title, false) + "\r\n";
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    const auto& row = table.rows[r];
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) out += ',';
      // Row 0 holds the column captions, column 0 the row captions.
      out += CsvCell(row[c].text, r == 0 || c == 0);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace layout
