// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The request and result record of one cell evaluation. Sheets, menus, the
// tool bar, the tree and printing fill one, hand it to Evaluate
// (model/evaluator.h) and read the answer back from it. A plain record:
// copies are field by field, and a reset one is all zero.

#include <cstdint>
#include <functional>
#include <string>

class cmcCellObj;
struct cmcCellCapsule;

namespace platform {
class Canvas;
struct Rect;
}  // namespace platform

struct cmcCellCapsule {
  // Cell state flags.
  static constexpr std::uint8_t kCursorCell = 0x01;
  static constexpr std::uint8_t kPrinting = 0x02;
  static constexpr std::uint8_t kWarningMark = 0x04;
  static constexpr std::uint8_t kErrorMark = 0x08;
  // Row flags.
  static constexpr std::uint8_t kRowRangeSelected = 0x01;
  static constexpr std::uint8_t kRowsChanged = 0x02;
  // Input modes.
  static constexpr int kInputNone = 0;
  static constexpr int kInputText = 1;
  static constexpr int kInputChoice = 2;

  // Popup menu item: the capsule of the cell the menu was opened on. Popup
  // choice: the capsule of the chosen item (a Flex0 cell numbered with the
  // chosen value).
  cmcCellCapsule* related = nullptr;
  void* owner = nullptr;  // the component that evaluates (sheet, menu)
  // Set by sheets; while set the action code is a key.
  void* grid = nullptr;
  cmcCellObj* cell = nullptr;
  platform::Canvas* canvas = nullptr;
  platform::Rect* rect = nullptr;
  std::int32_t cursorPosition = 0;
  std::int32_t selectionLength = 0;
  // 0 show; 13 Enter or execute; 32 next; 8 previous; 0x7100 Enter for the
  // editors; 256 becomes 13; other 1..126 a typed character.
  std::int32_t action = 0;
  std::int32_t popupCommand = 0;  // 0 or CL_PMenu_Edit .. CL_PMenu_Help
  std::string inputText;
  std::string outputText;
  void* imageList = nullptr;
  std::uint8_t stateFlags = 0;
  std::int32_t markPosition = 0;
  std::int32_t inputMode = kInputNone;
  std::int32_t reposition = 0;
  // Echo of the evaluated cell key (row commands may move the number).
  std::int32_t category = 0;
  std::int32_t cellId = 0;
  std::int32_t number = 0;
  std::int32_t repeatAction = 0;
  void* sheet = nullptr;
  std::uint8_t rowFlags = 0;
  std::int32_t firstRow = 0;
  std::int32_t lastRow = 0;
  // Called after an evaluation with notify set, with the notification flags.
  std::function<void(cmcCellCapsule& capsule, int flags)> changeCallback;
  // Used by a sheet to reopen its in-place editor.
  std::function<void(cmcCellCapsule& capsule, int flag)> editorCallback;

  void Reset() { *this = cmcCellCapsule(); }
  bool ErrorMark() const { return stateFlags & kErrorMark; }
  bool WarningMark() const { return stateFlags & kWarningMark; }
};
