// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Was a typed value taken as typed? A cell shows what it holds, which may
// differ from what was typed in form only ("156.8" shows "156.80000", a
// unit may follow) or in value (the radio could not hold it). The window's
// in-place editor and the CSV import ask the same question.

#include <string>

namespace layout {

// The cell shows what was typed: the same text, or the same number written
// with other digits ("6" for "06", "1E5" for "100000", "156,8" with a
// decimal comma for "156.80000"), its unit left off or not.
bool ShowsTyped(const std::string& shown, const std::string& typed);

// text with its decimal comma turned into a point ("156,8" -> "156.8"),
// or "" when text is no number written with a decimal comma. What the
// radio's markets type and their spreadsheets write for a number.
std::string WithDecimalPoint(const std::string& text);

// text has the form a spreadsheet gives a value it took for a time or a
// date ("12:30:00" from "12:30", "03/04/2026" from "3/4"): a cell may take
// it, but it is seldom what the user meant.
bool LooksLikeSpreadsheetDate(const std::string& text);

// The status-bar message for a typed value not taken as typed: the cell's
// name, what was typed, what the cell now shows (or that it kept its value)
// and the rule, when there is one.
std::string TypedValueNote(const std::string& cellName, const std::string& typed,
                           const std::string& before, const std::string& after,
                           const std::string& rule);

}  // namespace layout
