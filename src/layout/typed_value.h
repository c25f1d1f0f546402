// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Was a typed value taken as typed? A cell shows what it holds, which may
// differ from what was typed in form only ("156.8" shows "156.80000", a
// unit may follow) or in value (the radio could not hold it). The window's
// in-place editor and the CSV import ask the same question.

#include <string>

namespace layout {

// The cell shows what was typed: the same text, or the same number written
// with other digits, its unit left off or not.
bool ShowsTyped(const std::string& shown, const std::string& typed);

// The status-bar message for a typed value not taken as typed: the cell's
// name, what was typed, what the cell now shows (or that it kept its value)
// and the rule, when there is one.
std::string TypedValueNote(const std::string& cellName, const std::string& typed,
                           const std::string& before, const std::string& after,
                           const std::string& rule);

}  // namespace layout
