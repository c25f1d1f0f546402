// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/typed_value.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <regex>
#include <utility>

#include "text/csv_records.h"

namespace layout {
namespace {

using text::Trimmed;

// A number and the unit that follows it ("100 msec"), or none.
std::optional<std::pair<double, std::string>> Number(const std::string& text) {
  std::string trimmed = Trimmed(text);
  if (std::string point = WithDecimalPoint(trimmed); !point.empty()) trimmed = point;
  if (trimmed.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end == trimmed.c_str()) return std::nullopt;
  // A unit stands apart ("100 msec"); "16A" is a channel, not 16 with a unit.
  if (*end != '\0' && *end != ' ' && *end != '\t') return std::nullopt;
  return std::make_pair(value, Trimmed(end));
}

// Longer than any number, time or date a spreadsheet writes.
constexpr std::size_t kLongest = 64;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

bool ShowsTyped(const std::string& shown, const std::string& typed) {
  if (Trimmed(shown) == Trimmed(typed)) return true;
  const auto s = Number(shown);
  const auto w = Number(typed);
  return s && w && std::fabs(s->first - w->first) < 1e-9 &&
         (w->second.empty() || w->second == s->second);
}

std::string WithDecimalPoint(const std::string& text) {
  // One comma between digits and nothing else but a sign: "1,000,000" or
  // "A,B" are no decimal numbers.
  static const std::regex form(R"(^\s*([+-]?[0-9]+),([0-9]+)\s*$)");
  // The regex engine recurses per character: a huge field must not reach
  // it, and no number the radio holds is that long.
  if (text.size() > kLongest) return {};
  std::smatch match;
  if (!std::regex_match(text, match, form)) return {};
  return match.str(1) + "." + match.str(2);
}

bool LooksLikeSpreadsheetDate(const std::string& text) {
  // Times with seconds or AM/PM, and dates of the day-month-year orders
  // with / . or - between; "12:30" alone is what a user types.
  static const std::regex time(
      R"(^\d{1,2}:\d{2}(:\d{2}(\.\d+)?|\s*[AaPp][Mm]|:\d{2}\s*[AaPp][Mm])$)");
  static const std::regex date(
      R"(^(\d{1,4}[/.-]\d{1,2}[/.-]\d{1,4})(\s+\d{1,2}:\d{2}(:\d{2})?)?\.?$)");
  const std::string trimmed = Trimmed(text);
  if (trimmed.size() > kLongest) return false;
  return std::regex_match(trimmed, time) || std::regex_match(trimmed, date);
}

std::string TypedValueNote(const std::string& cellName, const std::string& typed,
                           const std::string& before, const std::string& after,
                           const std::string& rule) {
  std::string note = cellName.empty() ? std::string() : cellName + ": ";
  // A name keeps its leading spaces: " A" is what the radio shows.
  if (after == before) {
    note += Quoted(typed) + " was not taken; the cell keeps " + Quoted(before) + ".";
  } else {
    note += Quoted(typed) + " was taken as " + Quoted(after) + ".";
  }
  if (!rule.empty()) note += " " + rule;
  return note;
}

}  // namespace layout
