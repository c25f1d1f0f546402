// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a cuiGrid tells assistive technology, so that a screen reader can read
// a page: a table of the grid's cells with the texts they show, the fixed
// rows as column headers, the cursor cell as the focused and selected cell,
// and which cells the user may change.
//
// The table's rows are the grid's rows below the fixed ones (table row 0 is
// the first grid row after the headers); its columns are all of the grid's.
// The header cells are children of the table too, ahead of the data cells.
// The grid knows no texts, so its owner hands them over as a source:
//
//   SetGridAccessSource(*grid, {[&](int c, int r) { return TextOf(c, r); },
//                               [&](int c, int r) { return CanEdit(c, r); }});

#include <QString>
#include <functional>

class cuiGrid;

struct cuiGridAccessSource {
  // The text a cell shows, the same the drawing shows; none leaves every
  // cell without text.
  std::function<QString(int column, int row)> cellText;
  // May the user change the cell's value? None: no cell is editable.
  std::function<bool(int column, int row)> cellEditable;
  // May the cursor go to the cell? A question only: asking must not move
  // the cursor or change the selection. None: every cell.
  std::function<bool(int column, int row)> cursorMayGo;
};

// Keeps source with the grid, in place of an earlier one.
void SetGridAccessSource(cuiGrid& grid, cuiGridAccessSource source);

// The text the source gives for a cell; empty without a source.
QString GridCellText(const cuiGrid& grid, int column, int row);

// Makes Qt build the table interface for every cuiGrid. Only the first call
// installs the factory.
void InstallGridAccessible();

// The grid's cursor moved: tells listeners which cell is now selected and,
// while the grid has the focus, focused.
void NotifyGridCursor(cuiGrid& grid);
