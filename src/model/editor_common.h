// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every value editor takes and gives back. An editor works on one
// integer (or frequency) value: it applies a typed text or a key to it and
// produces the text the cell shows. Editors know nothing of the image or of
// cells; the cell rules read the value from the image, run an editor, and
// write the value back only when the editor reports a change.

#include <string>

// What an evaluation asks of its caller next.
enum class EvalResult : int {
  kDone = 0,
  kChooserOpened = 1,  // a chooser was opened below the cell
  kOpenEditor = 2,     // open the in-place editor on the text
};

namespace editor {

// Action codes that mean something to every editor.
constexpr int kActEnter = 13;
constexpr int kActBackspace = 8;
constexpr int kActSpace = 32;
constexpr int kActAltEnter = 0x7100;  // F2 from the grid: Enter for the editors

struct Input {
  int action = 0;     // key code; only read while keys is set
  bool keys = false;  // a grid asked: the action code is a key
  int inputMode = 0;  // 1: apply text, 2: apply a chooser's pick
  std::string text;   // what was typed into the in-place editor
  int choice = 0;     // inputMode 2: the value picked in a chooser
};

struct Output {
  std::string text;      // what the cell shows, or the in-place editor's text
  bool changed = false;  // the value was changed and must be written back
  EvalResult result = EvalResult::kDone;
  int cursor = 0;     // caret position for the in-place editor
  int selection = 0;  // characters selected from the caret
};

inline bool IsEnter(int action) { return action == kActEnter || action == kActAltEnter; }
inline bool IsTyped(int action) { return action >= 1 && action <= 126; }
inline bool IsDigit(int action) { return action >= '0' && action <= '9'; }
inline bool KeyPresent(const Input& in) { return in.keys && in.action != 0; }

// Opens the in-place editor on text with the whole text selected, so that
// typing replaces it and the arrows keep it.
inline void StartEditSelected(Output& out, const std::string& text) {
  out.text = text;
  out.result = EvalResult::kOpenEditor;
  out.cursor = 0;
  out.selection = static_cast<int>(text.size());
}

// Opens the in-place editor with one typed character in place of the value.
inline void StartEditWith(Output& out, char typed) {
  out.text = std::string(1, typed);
  out.result = EvalResult::kOpenEditor;
  out.cursor = 1;
  out.selection = 0;
}

// Keeps only the bytes of text that are in allowed, then cuts to at most max.
std::string Filter(const std::string& text, const char* allowed, std::size_t max);

// Reads a decimal number from the start of text; false when the text
// does not begin with one (no digit before the first character that cannot
// belong to the number).
bool ReadNumber(const std::string& text, double* value);

// round(x) with halves away from zero; the plain "add 0.5 and cut" rule
// would round -2.5 to -2.
long long RoundHalfAway(double x);

// Rounds v to the nearest multiple of step, halves away from zero.
long long RoundToStep(long long v, long long step);

}  // namespace editor
