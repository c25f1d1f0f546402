// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Row commands of the channel sheets' popup menu: copy, paste, carry up,
// carry down, clear, delete and insert, on the current row or a selected
// range. Which rows a category admits, and which commands, is the row table.

#include "model/capsule.h"

class UserQuestions;
class cmcClipCh;
class CommandTarget;
class cmcEeprom;
class datCh;

struct RowRange {
  int first = 0;
  int last = 0;
  bool clear = false;
  bool carry = false;
  bool remove = false;  // delete
  bool insert = false;
};

// The row table of a value category (0..6): copy and paste admit every row
// of the category's channel list (plans 0..417, weather 0..9, free 0..69;
// row 0 only for anything else), and no category admits the commands that
// move, clear, delete or insert rows.
RowRange RowTableOf(int valueCategory);

// Runs the capsule's popup command (CL_PMenu_Copy .. CL_PMenu_Insert) on
// the rows first .. last of the view's category, then reloads the view.
// table is the category's row table (tests open it to reach every command).
// Status texts and redraws go to the views through target.
void RowCommand(cmcCellCapsule& capsule, datCh& view, int first, int last, cmcEeprom& image,
                cmcClipCh& clip, const RowRange& table, CommandTarget& target);
