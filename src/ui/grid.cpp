// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <numeric>

#include "ui/grid_accessible.h"

namespace {

// How near the pointer must be to a column's right edge to drag it.
constexpr int kSizingMargin = 4;
constexpr int kMinDraggedWidth = 1;

}  // namespace

cuiGrid::cuiGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  // Every pixel is the owner's drawing or the background; no erase first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFrameShape(QFrame::NoFrame);
  InstallGridAccessible();
}

void cuiGrid::SetSize(int columns, int rows) {
  colWidths_.assign(static_cast<std::size_t>(std::max(columns, 0)), 0);
  rowHeights_.assign(static_cast<std::size_t>(std::max(rows, 0)), 0);
  col_ = ColCount() > 0 && RowCount() > 0 ? std::min(fixedCols_, ColCount() - 1) : -1;
  row_ = ColCount() > 0 && RowCount() > 0 ? std::min(fixedRows_, RowCount() - 1) : -1;
  leftCol_ = fixedCols_;
  topRow_ = fixedRows_;
  UpdateScrollBars();
  InvalidateGrid();
}

void cuiGrid::SetFixed(int columns, int rows) {
  fixedCols_ = std::clamp(columns, 0, std::max(ColCount() - 1, 0));
  fixedRows_ = std::clamp(rows, 0, std::max(RowCount() - 1, 0));
  leftCol_ = std::max(leftCol_, fixedCols_);
  topRow_ = std::max(topRow_, fixedRows_);
  UpdateScrollBars();
  InvalidateGrid();
}

void cuiGrid::SetColWidth(int column, int width, bool notify) {
  colWidths_.at(static_cast<std::size_t>(column)) = std::max(width, 0);
  UpdateScrollBars();
  InvalidateGrid();
  if (notify && callbacks_.colWidthsChanged) callbacks_.colWidthsChanged();
}

void cuiGrid::SetColWidths(const std::vector<int>& widths) {
  for (std::size_t c = 0; c < colWidths_.size() && c < widths.size(); ++c)
    colWidths_[c] = widths[c];
  UpdateScrollBars();
  InvalidateGrid();
}

void cuiGrid::SetRowHeights(const std::vector<int>& heights) {
  for (std::size_t r = 0; r < rowHeights_.size() && r < heights.size(); ++r)
    rowHeights_[r] = heights[r];
  UpdateScrollBars();
  InvalidateGrid();
}

int cuiGrid::TotalWidth() const { return std::accumulate(colWidths_.begin(), colWidths_.end(), 0); }
int cuiGrid::TotalHeight() const {
  return std::accumulate(rowHeights_.begin(), rowHeights_.end(), 0);
}

int cuiGrid::ClientWidth() const {
  const QScrollBar* bar = verticalScrollBar();
  return contentsRect().width() - (bar->isVisibleTo(this) ? bar->sizeHint().width() : 0);
}

int cuiGrid::ClientHeight() const {
  const QScrollBar* bar = horizontalScrollBar();
  return contentsRect().height() - (bar->isVisibleTo(this) ? bar->sizeHint().height() : 0);
}

void cuiGrid::SetBackground(const QColor& colour) {
  background_ = colour;
  InvalidateGrid();
}

int cuiGrid::FixedWidth() const {
  return std::accumulate(colWidths_.begin(), colWidths_.begin() + fixedCols_, 0);
}

int cuiGrid::FixedHeight() const {
  return std::accumulate(rowHeights_.begin(), rowHeights_.begin() + fixedRows_, 0);
}

int cuiGrid::MaxLeftCol() const {
  int room = viewport()->width() - FixedWidth();
  int c = ColCount();
  while (c > fixedCols_ && room >= colWidths_[static_cast<std::size_t>(c - 1)]) {
    room -= colWidths_[static_cast<std::size_t>(c - 1)];
    --c;
  }
  return std::clamp(c, fixedCols_, std::max(ColCount() - 1, fixedCols_));
}

int cuiGrid::MaxTopRow() const {
  int room = viewport()->height() - FixedHeight();
  int r = RowCount();
  while (r > fixedRows_ && room >= rowHeights_[static_cast<std::size_t>(r - 1)]) {
    room -= rowHeights_[static_cast<std::size_t>(r - 1)];
    --r;
  }
  return std::clamp(r, fixedRows_, std::max(RowCount() - 1, fixedRows_));
}

void cuiGrid::UpdateScrollBars() {
  settingScroll_ = true;
  const int maxLeft = MaxLeftCol();
  const int maxTop = MaxTopRow();
  leftCol_ = std::clamp(leftCol_, fixedCols_, maxLeft);
  topRow_ = std::clamp(topRow_, fixedRows_, maxTop);
  horizontalScrollBar()->setRange(fixedCols_, maxLeft);
  horizontalScrollBar()->setPageStep(std::max(VisibleColCount(), 1));
  horizontalScrollBar()->setValue(leftCol_);
  verticalScrollBar()->setRange(fixedRows_, maxTop);
  verticalScrollBar()->setPageStep(std::max(VisibleRowCount(), 1));
  verticalScrollBar()->setValue(topRow_);
  settingScroll_ = false;
}

void cuiGrid::SetTopLeft(int leftCol, int topRow) {
  const int left = std::clamp(leftCol, fixedCols_, MaxLeftCol());
  const int top = std::clamp(topRow, fixedRows_, MaxTopRow());
  if (left == leftCol_ && top == topRow_) return;
  leftCol_ = left;
  topRow_ = top;
  UpdateScrollBars();
  InvalidateGrid();
  if (callbacks_.topLeftChanged) callbacks_.topLeftChanged();
}

void cuiGrid::scrollContentsBy(int, int) {
  if (settingScroll_) return;
  SetTopLeft(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

int cuiGrid::VisibleColCount() const {
  int room = viewport()->width() - FixedWidth();
  int n = 0;
  for (int c = leftCol_; c < ColCount() && room >= colWidths_[static_cast<std::size_t>(c)];
       ++c, ++n)
    room -= colWidths_[static_cast<std::size_t>(c)];
  return n;
}

int cuiGrid::VisibleRowCount() const {
  int room = viewport()->height() - FixedHeight();
  int n = 0;
  for (int r = topRow_; r < RowCount() && room >= rowHeights_[static_cast<std::size_t>(r)];
       ++r, ++n)
    room -= rowHeights_[static_cast<std::size_t>(r)];
  return n;
}

int cuiGrid::ColumnLeft(int column) const {
  if (column < fixedCols_) {
    return std::accumulate(colWidths_.begin(), colWidths_.begin() + column, 0);
  }
  if (column < leftCol_) return -1;
  return FixedWidth() +
         std::accumulate(colWidths_.begin() + leftCol_, colWidths_.begin() + column, 0);
}

int cuiGrid::RowTop(int row) const {
  if (row < fixedRows_) {
    return std::accumulate(rowHeights_.begin(), rowHeights_.begin() + row, 0);
  }
  if (row < topRow_) return -1;
  return FixedHeight() +
         std::accumulate(rowHeights_.begin() + topRow_, rowHeights_.begin() + row, 0);
}

QRect cuiGrid::CellRect(int column, int row) const {
  if (column < 0 || row < 0 || column >= ColCount() || row >= RowCount()) return {};
  const int x = ColumnLeft(column);
  const int y = RowTop(row);
  if (x < 0 || y < 0 || x >= viewport()->width() || y >= viewport()->height()) return {};
  return QRect(x, y, ColWidth(column), RowHeight(row));
}

QPoint cuiGrid::CellAt(const QPoint& point) const {
  auto find = [](int pos, int fixed, int first, const std::vector<int>& sizes) {
    int edge = 0;
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
      if (i == fixed) i = std::max(first, fixed);
      if (i >= static_cast<int>(sizes.size())) break;
      if (pos >= edge && pos < edge + sizes[static_cast<std::size_t>(i)]) return i;
      edge += sizes[static_cast<std::size_t>(i)];
    }
    return -1;
  };
  const int c = find(point.x(), fixedCols_, leftCol_, colWidths_);
  const int r = find(point.y(), fixedRows_, topRow_, rowHeights_);
  if (c < 0 || r < 0) return {-1, -1};
  return {c, r};
}

void cuiGrid::InvalidateCell(int column, int row) {
  const QRect rect = CellRect(column, row);
  if (!rect.isEmpty() && !PaintingCovers(rect)) viewport()->update(rect);
}

void cuiGrid::InvalidateGrid() { viewport()->update(); }

bool cuiGrid::PaintingCovers(const QRect& rect) const {
  return painting_ && painting_->contains(rect);
}

bool cuiGrid::SetCursor(int column, int row) {
  if (column < 0 || row < 0 || column >= ColCount() || row >= RowCount()) return false;
  if (callbacks_.selectCell && !callbacks_.selectCell(column, row)) return false;
  const int oldCol = col_;
  const int oldRow = row_;
  col_ = column;
  row_ = row;
  InvalidateCell(oldCol, oldRow);
  ScrollIntoView(column, row);
  InvalidateCell(column, row);
  NotifyGridCursor(*this);
  if (callbacks_.cursorMoved && (oldCol != col_ || oldRow != row_)) callbacks_.cursorMoved();
  return true;
}

void cuiGrid::ScrollIntoView(int column, int row) {
  // Sum of sizes first..last inclusive.
  const auto span = [](const std::vector<int>& sizes, int first, int last) {
    return std::accumulate(sizes.begin() + first, sizes.begin() + last + 1, 0);
  };
  int left = leftCol_;
  int top = topRow_;
  if (column >= fixedCols_) {
    if (column < left) left = column;
    while (left < column && FixedWidth() + span(colWidths_, left, column) > viewport()->width())
      ++left;
  }
  if (row >= fixedRows_) {
    if (row < top) top = row;
    while (top < row && FixedHeight() + span(rowHeights_, top, row) > viewport()->height()) ++top;
  }
  SetTopLeft(left, top);
}

bool cuiGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QPoint cell = CellAt(help->pos());
    const QString tip =
        callbacks_.toolTip && cell.x() >= 0 ? callbacks_.toolTip(cell.x(), cell.y()) : QString();
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, viewport(), CellRect(cell.x(), cell.y()));
    }
    return true;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

void cuiGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), background_);
  const QRegion& region = event->region();
  painting_ = &region;
  if (callbacks_.paintBegin) callbacks_.paintBegin(painter);
  const int width = viewport()->width();
  const int height = viewport()->height();
  // Fixed rows and columns first stand where they are; the others follow
  // from the left column and top row.
  auto columns = [&](auto&& each) {
    int x = 0;
    for (int c = 0; c < ColCount() && x < width; ++c) {
      if (c == fixedCols_) c = std::max(leftCol_, fixedCols_);
      if (c >= ColCount()) break;
      each(c, x);
      x += colWidths_[static_cast<std::size_t>(c)];
    }
  };
  int y = 0;
  for (int r = 0; r < RowCount() && y < height; ++r) {
    if (r == fixedRows_) r = std::max(topRow_, fixedRows_);
    if (r >= RowCount()) break;
    const int h = rowHeights_[static_cast<std::size_t>(r)];
    if (h > 0 && region.intersects(QRect(0, y, width, h))) {
      columns([&](int c, int x) {
        const QRect rect(x, y, colWidths_[static_cast<std::size_t>(c)], h);
        if (rect.width() < 1 || !region.intersects(rect)) return;
        // A cell draws inside its own rectangle: joined texts that start in
        // a column to the left show only their own part here.
        painter.save();
        painter.setClipRect(rect);
        if (callbacks_.drawCell) callbacks_.drawCell(c, r, rect);
        painter.restore();
      });
    }
    y += h;
  }
  if (callbacks_.paintEnd) callbacks_.paintEnd();
  painting_ = nullptr;
}

void cuiGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

// A popup menu of the grid's own takes and returns the focus around a
// choice; the owner must not rebuild that menu meanwhile. The menu bar does
// the same when Alt alone or F10 puts it in keyboard mode: its Edit menu
// shows the cell commands, which must still be there when it opens.
void cuiGrid::focusInEvent(QFocusEvent* event) {
  const Qt::FocusReason reason = event->reason();
  const bool fromMenuBar = reason == Qt::MenuBarFocusReason && menuBarFocus_;
  if (menuBarFocus_) QObject::disconnect(menuBarFocus_);
  if (callbacks_.focusGained && reason != Qt::PopupFocusReason && !fromMenuBar)
    callbacks_.focusGained();
  QAbstractScrollArea::focusInEvent(event);
  InvalidateCell(col_, row_);
}

void cuiGrid::focusOutEvent(QFocusEvent* event) {
  const Qt::FocusReason reason = event->reason();
  if (reason == Qt::MenuBarFocusReason) {
    FollowFocusFromMenuBar();
  } else if (callbacks_.focusLost && reason != Qt::PopupFocusReason) {
    callbacks_.focusLost();
  }
  QAbstractScrollArea::focusOutEvent(event);
  InvalidateCell(col_, row_);
}

void cuiGrid::FollowFocusFromMenuBar() {
  if (menuBarFocus_) QObject::disconnect(menuBarFocus_);
  menuBarFocus_ =
      QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now == this) return;  // focusInEvent ends the watch
        if (!now || qobject_cast<QMenuBar*>(now) || qobject_cast<QMenu*>(now)) return;
        QObject::disconnect(menuBarFocus_);
        if (callbacks_.focusLost) callbacks_.focusLost();
      });
}

void cuiGrid::keyPressEvent(QKeyEvent* event) {
  if (callbacks_.keyPressed && callbacks_.keyPressed(event)) {
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

int cuiGrid::SizingColumnAt(const QPoint& point) const {
  if (!columnSizing_) return -1;
  const QPoint cell = CellAt(point);
  if (cell.y() < 0 || cell.y() >= fixedRows_) return -1;
  const int probe = cell.x() >= 0 ? cell.x() : ColCount() - 1;
  for (int c = std::max(probe - 1, 0); c <= probe && c < ColCount(); ++c) {
    if (c < fixedCols_) continue;
    const int left = ColumnLeft(c);
    if (left < 0) continue;
    const int right = left + ColWidth(c);
    if (std::abs(point.x() - right) <= kSizingMargin) return c;
  }
  return -1;
}

void cuiGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    sizingColumn_ = SizingColumnAt(pos);
    if (sizingColumn_ >= 0) {
      sizingStartX_ = pos.x();
      sizingStartWidth_ = ColWidth(sizingColumn_);
      return;
    }
  }
  const QPoint cell = CellAt(pos);
  // The right button opens a menu on the cell; the owner decides where
  // the cursor goes.
  if (event->button() != Qt::RightButton && cell.x() >= fixedCols_ && cell.y() >= fixedRows_) {
    pressModifiers_ = event->modifiers();
    SetCursor(cell.x(), cell.y());
    pressModifiers_ = Qt::NoModifier;
  }
  if (callbacks_.mousePressed) callbacks_.mousePressed(event);
  QAbstractScrollArea::mousePressEvent(event);
}

void cuiGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (sizingColumn_ >= 0) {
    colWidths_[static_cast<std::size_t>(sizingColumn_)] =
        std::max(sizingStartWidth_ + pos.x() - sizingStartX_, kMinDraggedWidth);
    InvalidateGrid();
    return;
  }
  viewport()->setCursor(SizingColumnAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
  if (callbacks_.mouseMoved) callbacks_.mouseMoved(event);
  QAbstractScrollArea::mouseMoveEvent(event);
}

void cuiGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (sizingColumn_ >= 0) {
    sizingColumn_ = -1;
    UpdateScrollBars();
    if (callbacks_.colWidthsChanged) callbacks_.colWidthsChanged();
    return;
  }
  if (callbacks_.mouseReleased) callbacks_.mouseReleased(event);
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void cuiGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (callbacks_.doubleClicked) callbacks_.doubleClicked(event);
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void cuiGrid::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Keyboard && callbacks_.contextMenuKey) {
    callbacks_.contextMenuKey();
    event->accept();
    return;
  }
  QAbstractScrollArea::contextMenuEvent(event);
}
