// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cell evaluator: the one function that gives every bound cell its
// behaviour. Sheets, menus, the tool bar, the tree and printing fill a
// capsule (model/capsule.h) and call Evaluate; it shows values, applies keys,
// typed texts and popup choices to the working image, runs commands through
// the installed CommandTarget (model/command_target.h), and reports colours,
// marks and flags back through the capsule and the cell.

#include <cstdint>
#include <string>

#include "model/capsule.h"
#include "model/editor_common.h"
#include "platform/font_value.h"

class cmcCellObj;

// Colours the evaluator puts on the canvas.
inline constexpr std::uint32_t kOliveText = 0x008080;   // fixed and read-only values
inline constexpr std::uint32_t kSilverText = 0xC0C0C0;  // settings without effect
inline constexpr std::uint32_t kDrawingGrey = 0x808080;
// Status bar colours.
inline constexpr std::uint32_t kStatusTextColor = platform::kWindowTextColor;
inline constexpr std::uint32_t kStatusBackColor = 0x8000000F;    // clBtnFace
inline constexpr std::uint32_t kRestrictedTextColor = 0x00FFFF;  // yellow
inline constexpr std::uint32_t kRestrictedBackColor = 0x000080;  // maroon

// Notification flags handed to the change callback.
inline constexpr int kNotifyCell = 0x01;      // this cell
inline constexpr int kNotifyChannel = 0x08;   // a channel was loaded: its row
inline constexpr int kNotifyAllCells = 0x20;  // every data cell

// The single entry point. With notify set the capsule's change callback receives the notification
// flags. A CommandTarget must be installed.
EvalResult Evaluate(cmcCellCapsule& capsule, bool notify);

// A reset capsule for the cell with the action, evaluated without
// notification: its output text, and Evaluate's result.
std::string CellText(cmcCellObj& cell, int action);
EvalResult CellCommand(cmcCellObj& cell, int action);

struct CellMarkBits {
  bool error = false;
  bool warning = false;
};
// The marks of a temporary cell with that key, shown with action 0.
CellMarkBits CellMarks(int category, std::uint32_t cell, int number);
