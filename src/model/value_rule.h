// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a cell that takes a typed value accepts, in the user's words. The
// cells keep a value only as the radio can hold it (a frequency on its
// channel raster and in its band, a name in its display's characters, a
// timer in its range), so a typed value may be taken changed or not at all;
// the window names this rule whenever that happens, and in the cell's tool
// tip.

#include <string>

class cmcCellObj;

// One or two sentences; empty for a cell that takes no typed value.
std::string CellValueRule(const cmcCellObj& cell);
