// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid a sheet shows its cells on: fixed rows and columns that stay in
// place, per-column widths and per-row heights, scrolling by whole cells,
// and owner drawing of every cell through a callback. It knows nothing of
// cells or values; the sheet that owns it decides what a cell looks like and
// which cells may take the cursor.
//
// Coordinates are the viewport's. The grid draws no lines of its own: the
// rules of the cell definitions are the only lines on a page.

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

class cuiGrid : public QAbstractScrollArea {
 public:
  struct Callbacks {
    // Around the cells of one paint, so that the owner can keep one drawing
    // surface for all of them.
    std::function<void(QPainter& painter)> paintBegin;
    std::function<void(int column, int row, const QRect& rect)> drawCell;
    std::function<void()> paintEnd;
    // May the cursor go to (column, row)? None allows every cell.
    std::function<bool(int column, int row)> selectCell;
    // After the cursor has moved to another cell.
    std::function<void()> cursorMoved;
    // After the grid has applied a change of column widths (a drag in a
    // header row, or SetColWidth with notify).
    std::function<void()> colWidthsChanged;
    // Called before the grid's own handling of the focus change.
    std::function<void()> focusGained;
    std::function<void()> focusLost;
    // A key the owner consumes returns true; the grid then does nothing.
    std::function<bool(QKeyEvent* event)> keyPressed;
    std::function<void(QMouseEvent* event)> doubleClicked;
    // After the grid has moved its cursor to the cell pressed on.
    std::function<void(QMouseEvent* event)> mousePressed;
    std::function<void(QMouseEvent* event)> mouseReleased;
    std::function<void(QMouseEvent* event)> mouseMoved;
    // The keyboard's context-menu key (a right click comes as a press).
    std::function<void()> contextMenuKey;
    std::function<void()> topLeftChanged;
    // The tool tip of a cell; an empty text shows none.
    std::function<QString(int column, int row)> toolTip;
  };

  explicit cuiGrid(QWidget* parent = nullptr);

  Callbacks& Events() { return callbacks_; }

  void SetSize(int columns, int rows);
  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  int RowCount() const { return static_cast<int>(rowHeights_.size()); }
  void SetFixed(int columns, int rows);
  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }

  int ColWidth(int column) const { return colWidths_.at(static_cast<std::size_t>(column)); }
  int RowHeight(int row) const { return rowHeights_.at(static_cast<std::size_t>(row)); }
  // notify raises colWidthsChanged afterwards.
  void SetColWidth(int column, int width, bool notify = false);
  void SetColWidths(const std::vector<int>& widths);
  void SetRowHeights(const std::vector<int>& heights);
  int TotalWidth() const;
  // The room for cells: the grid's size less its frame and the scroll bars
  // it shows. Unlike the viewport's size it is right before the first show.
  int ClientWidth() const;
  int ClientHeight() const;
  int TotalHeight() const;

  // Users may drag the right edge of a column in the header rows.
  void SetColumnSizing(bool on) { columnSizing_ = on; }
  void SetBackground(const QColor& colour);
  QColor Background() const { return background_; }

  // The first scrolled column and row shown after the fixed ones.
  int LeftCol() const { return leftCol_; }
  int TopRow() const { return topRow_; }
  void SetTopLeft(int leftCol, int topRow);
  // Whole non-fixed columns and rows that fit in the viewport from the
  // current left column and top row.
  int VisibleColCount() const;
  int VisibleRowCount() const;

  // The cursor cell; -1 while the grid has no cells.
  int Col() const { return col_; }
  int Row() const { return row_; }
  // Moves the cursor when selectCell allows it, scrolling it into view;
  // false when refused.
  bool SetCursor(int column, int row);
  void ScrollIntoView(int column, int row);

  // The keyboard modifiers of the mouse press being handled, so that the
  // cursor move it makes can tell a Shift+click; none outside a press.
  Qt::KeyboardModifiers PressModifiers() const { return pressModifiers_; }

  // Where a cell lies in the viewport; empty when it is not shown.
  QRect CellRect(int column, int row) const;
  // The cell under a viewport point, (-1, -1) when none.
  QPoint CellAt(const QPoint& point) const;
  void InvalidateCell(int column, int row);
  void InvalidateGrid();
  // True while drawCell runs for a paint whose region covers rect: the cell
  // is painted anyway, so invalidating it would only paint it again.
  bool PaintingCovers(const QRect& rect) const;

 protected:
  bool viewportEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Left edge of a column in the viewport, or of a row; -1 when scrolled away.
  int ColumnLeft(int column) const;
  int RowTop(int row) const;
  int FixedWidth() const;
  int FixedHeight() const;
  // The largest left column (top row) that still fills the viewport.
  int MaxLeftCol() const;
  int MaxTopRow() const;
  void UpdateScrollBars();
  // The column whose right edge lies within a few pixels of x in a header
  // row, -1 when none.
  int SizingColumnAt(const QPoint& point) const;
  // The focus went to the menu bar (Alt alone, or F10): the owner hears of
  // a focus loss only once the focus lands outside the menus and the grid.
  void FollowFocusFromMenuBar();

  Callbacks callbacks_;
  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
  int fixedCols_ = 0;
  int fixedRows_ = 0;
  int leftCol_ = 0;
  int topRow_ = 0;
  int col_ = -1;
  int row_ = -1;
  bool columnSizing_ = false;
  int sizingColumn_ = -1;
  int sizingStartX_ = 0;
  int sizingStartWidth_ = 0;
  bool settingScroll_ = false;
  QColor background_ = Qt::white;
  const QRegion* painting_ = nullptr;
  Qt::KeyboardModifiers pressModifiers_ = Qt::NoModifier;
  QMetaObject::Connection menuBarFocus_;
};
