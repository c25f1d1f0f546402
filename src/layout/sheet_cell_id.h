// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One grid cell slot of a page: its cell definition and the three flags the
// grid keeps per slot.

#include "model/cell.h"

class clsSheetCellId {
 public:
  cmcCellObj cell;
  // Part of a row that takes part in multi-selection.
  bool inMultiSelectableRow = true;
  bool selected = false;
  bool lineHighlighted = false;

  // Drawn highlighted: a selected or line-highlighted slot of a
  // multi-selectable row, or the cursor cell.
  bool Highlighted(bool isCursorCell) const {
    return isCursorCell || (inMultiSelectableRow && (selected || lineHighlighted));
  }
};
