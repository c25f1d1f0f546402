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

#include <QAccessibleInterface>
#include <QPointer>
#include <QString>
#include <functional>

#include "ui/grid.h"

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

// One grid cell as a leaf of the grid's interface: its name is the text the
// source gives, its place the cell's on screen. A cell outside the grid
// (after the grid shrank) is no longer valid. The page's table cells and
// the drop-down list's entries add their role and state.
class cuiGridCellLeaf : public QAccessibleInterface {
 public:
  cuiGridCellLeaf(cuiGrid* grid, int column, int row) : grid_(grid), column_(column), row_(row) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;

  int GridColumn() const { return column_; }
  int GridRow() const { return row_; }

 protected:
  QPointer<cuiGrid> grid_;
  int column_;
  int row_;
};

// Makes Qt build the table interface for every cuiGrid. Only the first call
// installs the factory.
void InstallGridAccessible();

// The grid's cursor moved: tells listeners which cell is now selected and,
// while the grid has the focus, focused.
void NotifyGridCursor(cuiGrid& grid);
