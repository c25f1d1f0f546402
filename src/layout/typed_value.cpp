// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/typed_value.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "text/csv_records.h"

namespace layout {
namespace {

using text::Trimmed;

// A number and what follows it ("100 msec"), or none.
std::optional<std::pair<double, std::string>> Number(const std::string& text) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end == trimmed.c_str()) return std::nullopt;
  return std::make_pair(value, Trimmed(end));
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

bool ShowsTyped(const std::string& shown, const std::string& typed) {
  if (Trimmed(shown) == Trimmed(typed)) return true;
  const auto s = Number(shown);
  const auto w = Number(typed);
  return s && w && std::fabs(s->first - w->first) < 1e-9 &&
         (w->second.empty() || w->second == s->second);
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
