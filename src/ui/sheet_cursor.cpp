// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor, the multi-selection and the keys of a sheet, and SendKey, the
// way every key, command and typed text reaches the cell evaluator.
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QThread>
#include <algorithm>
#include <cstdlib>

#include "base/evman.h"
#include "model/evaluator.h"
#include "ui/grid.h"
#include "ui/sheet.h"

namespace {

// The repeat loop's first wait and how much shorter each further one is.
constexpr int kFirstRepeatWaitMs = 30;
constexpr int kRepeatWaitStepMs = 6;
constexpr int kPageStep = 10;

// Virtual key code × 256, as the cells know the function keys.
constexpr int kActionF1 = 0x7000;
constexpr int kActionLeftEdge = 0x2500;
constexpr int kActionRightEdge = 0x2700;
constexpr int kActionDoubleClick = 256;

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

void cuiSheet::ClearStatus() {
  if (!keepStatus_) bus_.Send(ev::StatusText{kStatusTextColor, kStatusBackColor, ""});
}

bool cuiSheet::Selectable(int column, int row) const {
  return page_ && column >= 0 && row >= 0 && column < page_->ColumnCount() &&
         row < page_->RowCount() && page_->CellAt(column, row).cell.Selectable();
}

bool cuiSheet::SlotMarked(int column, int row) const {
  const clsSheetCellId& slot = page_->CellAt(column, row);
  return slot.inMultiSelectableRow && (slot.selected || slot.lineHighlighted);
}

std::optional<QPoint> cuiSheet::StraightStep(QPoint from, int dx, int dy, bool wrap) const {
  const bool horizontal = dx != 0;
  const int count = horizontal ? page_->ColumnCount() : page_->RowCount();
  const int start = horizontal ? from.x() : from.y();
  const int dir = horizontal ? Sign(dx) : Sign(dy);
  int pos = start;
  for (;;) {
    pos += dir;
    if (wrap) {
      pos = (pos + count) % count;
      if (pos == start) return std::nullopt;
    } else if (pos < 0 || pos >= count) {
      return std::nullopt;
    }
    const QPoint at = horizontal ? QPoint(pos, from.y()) : QPoint(from.x(), pos);
    if (Selectable(at.x(), at.y())) return at;
  }
}

std::optional<QPoint> cuiSheet::FallbackStep(QPoint from, int dx, int dy) const {
  // Nothing straight ahead: the nearest selectable cell of the next column
  // (row) that has one, nearest to where the cursor was last put.
  const bool horizontal = dx != 0;
  const int dir = horizontal ? Sign(dx) : Sign(dy);
  const int lines = horizontal ? page_->ColumnCount() : page_->RowCount();
  const int across = horizontal ? page_->RowCount() : page_->ColumnCount();
  const int wanted = horizontal ? rememberedRow_ : rememberedCol_;
  for (int line = (horizontal ? from.x() : from.y()) + dir; line >= 0 && line < lines;
       line += dir) {
    int best = -1;
    for (int i = 0; i < across; ++i) {
      const bool ok = horizontal ? Selectable(line, i) : Selectable(i, line);
      if (ok && (best < 0 || std::abs(i - wanted) < std::abs(best - wanted))) best = i;
    }
    if (best >= 0) return horizontal ? QPoint(line, best) : QPoint(best, line);
  }
  return std::nullopt;
}

void cuiSheet::MoveCursor(int dx, int dy) {
  if (!grid_ || !page_ || !grid_->isEnabled() || (dx == 0 && dy == 0)) return;
  if (dx != 0) dy = 0;
  const int steps = std::abs(dx != 0 ? dx : dy);
  const bool scrollBars =
      grid_->verticalScrollBar()->maximum() > grid_->verticalScrollBar()->minimum() ||
      grid_->horizontalScrollBar()->maximum() > grid_->horizontalScrollBar()->minimum();
  const bool wrap = listMode_ && !scrollBars && steps <= 1;
  QPoint at(grid_->Col(), grid_->Row());
  for (int i = 0; i < steps; ++i) {
    std::optional<QPoint> next = StraightStep(at, Sign(dx), Sign(dy), wrap);
    if (!next && !listMode_) next = FallbackStep(at, Sign(dx), Sign(dy));
    if (!next) break;
    at = *next;
    rememberedCol_ = at.x();
    rememberedRow_ = at.y();
  }
  grid_->SetCursor(at.x(), at.y());
  // Headers left of or above the first selectable cell stay in view.
  if (page_->FirstSelectableColumn() >= grid_->Col())
    grid_->SetTopLeft(grid_->FixedCols(), grid_->TopRow());
  if (page_->FirstSelectableRow() >= grid_->Row())
    grid_->SetTopLeft(grid_->LeftCol(), grid_->FixedRows());
}

bool cuiSheet::OnSelectCell(int column, int row) {
  ClearStatus();
  if (!Selectable(column, row)) return false;
  if (multiActive_ && !page_->CellAt(column, row).inMultiSelectableRow) return false;
  const int oldCol = grid_->Col();
  const int oldRow = grid_->Row();
  // Shift with an arrow key or a click, or a drag, extends the selection.
  const bool extend = shiftHeld_ || mouseHeld_ || (grid_->PressModifiers() & Qt::ShiftModifier);
  if (row != oldRow && !listMode_) {
    // The line tint follows the cursor row.
    for (int c = grid_->FixedCols(); c < page_->ColumnCount(); ++c) {
      grid_->InvalidateCell(c, oldRow);
      grid_->InvalidateCell(c, row);
    }
  }
  UpdateSelection(oldCol, oldRow, column, row, extend);
  CloseEditor(true);
  return true;
}

void cuiSheet::SetSelected(int column, int row, bool on) {
  clsSheetCellId& slot = page_->CellAt(column, row);
  if (on && !slot.cell.Selectable()) return;
  if (slot.selected == on) return;
  slot.selected = on;
  grid_->InvalidateCell(column, row);
}

void cuiSheet::UpdateSelection(int oldCol, int oldRow, int newCol, int newRow, bool extend) {
  const bool hasOld = oldCol >= 0 && oldRow >= 0;
  const bool changes = !hasOld || oldCol != newCol || oldRow != newRow;
  const bool bothMulti = hasOld && page_->CellAt(oldCol, oldRow).inMultiSelectableRow &&
                         page_->CellAt(newCol, newRow).inMultiSelectableRow;
  const bool allowed = ((page_->Style().multiSelect != 0 && changes) || multiActive_) && bothMulti;
  if (!(allowed && extend) || anchorCol_ < 0) {
    anchorCol_ = newCol;
    anchorRow_ = newRow;
  }
  if (allowed && extend) {
    const int left = std::min({anchorCol_, oldCol, newCol});
    const int right = std::max({anchorCol_, oldCol, newCol});
    const int top = std::min({anchorRow_, oldRow, newRow});
    const int bottom = std::max({anchorRow_, oldRow, newRow});
    const auto between = [](int v, int a, int b) {
      return v >= std::min(a, b) && v <= std::max(a, b);
    };
    for (int r = top; r <= bottom; ++r) {
      for (int c = left; c <= right; ++c) {
        SetSelected(c, r, between(c, anchorCol_, newCol) && between(r, anchorRow_, newRow));
      }
    }
    multiActive_ = true;
  } else if (multiActive_) {
    EndMultiSelection();
  } else if (hasOld) {
    SetSelected(oldCol, oldRow, false);
    clsSheetCellId& slot = page_->CellAt(oldCol, oldRow);
    if (slot.lineHighlighted) {
      slot.lineHighlighted = false;
      grid_->InvalidateCell(oldCol, oldRow);
    }
  }
  SetSelected(newCol, newRow, true);
  RecomputeLineHighlights();
}

void cuiSheet::RecomputeLineHighlights() {
  const bool lines = page_->Style().multiSelect == layout::PageStyle::kSelectLine && multiActive_;
  const int fixed = page_->Style().fixedCols;
  for (int r = 0; r < page_->RowCount(); ++r) {
    bool any = false;
    for (int c = 0; lines && c < page_->ColumnCount() && !any; ++c)
      any = page_->CellAt(c, r).selected;
    for (int c = 0; c < page_->ColumnCount(); ++c) {
      clsSheetCellId& slot = page_->CellAt(c, r);
      const bool on = any && c >= fixed;
      if (slot.lineHighlighted != on) {
        slot.lineHighlighted = on;
        grid_->InvalidateCell(c, r);
      }
    }
  }
}

void cuiSheet::EndMultiSelection() {
  if (!page_) return;
  for (int r = 0; r < page_->RowCount(); ++r)
    for (int c = 0; c < page_->ColumnCount(); ++c) SetSelected(c, r, false);
  multiActive_ = false;
  RecomputeLineHighlights();
}

void cuiSheet::PrepareCapsule(cmcCellCapsule& capsule, int column, int row) {
  capsule.Reset();
  const QRect rect = grid_->CellRect(column, row);
  capsuleRect_ = {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
  capsule.owner = grid_;
  capsule.grid = grid_;
  capsule.cell = &page_->CellAt(column, row).cell;
  capsule.rect = &capsuleRect_;
  capsule.imageList = const_cast<cuiImageList*>(images_);
  capsule.related = owner_.get();
  capsule.changeCallback = [this](cmcCellCapsule& c, int flags) { OnCapsuleChange(c, flags); };
  capsule.editorCallback = [this](cmcCellCapsule& c, int flag) { OnEditorReopen(c, flag); };
  if (column == grid_->Col() && row == grid_->Row())
    capsule.stateFlags |= cmcCellCapsule::kCursorCell;
  if (printing_) capsule.stateFlags |= cmcCellCapsule::kPrinting;
  capsule.sheet = this;
  if (multiActive_ && anchorRow_ >= 0) {
    // The range the evaluator acts on: the channels of the anchor row and
    // the cursor row, read in the first scrolling column.
    const int c = std::min(page_->Style().fixedCols, page_->ColumnCount() - 1);
    const int a = page_->CellAt(c, anchorRow_).cell.Number();
    const int b = page_->CellAt(c, grid_->Row()).cell.Number();
    capsule.rowFlags |= cmcCellCapsule::kRowRangeSelected;
    capsule.firstRow = std::min(a, b);
    capsule.lastRow = std::max(a, b);
  }
}

EvalResult cuiSheet::Run(cmcCellCapsule& capsule) {
  const auto evaluate = evaluate_ ? evaluate_ : &Evaluate;
  return evaluate(capsule, true);
}

void cuiSheet::Reposition(const cmcCellCapsule& capsule) {
  const CellKey wanted{capsule.category, static_cast<std::uint32_t>(capsule.cellId),
                       capsule.number};
  std::optional<QPoint> target;
  for (int r = 0; r < page_->RowCount(); ++r) {
    for (int c = 0; c < page_->ColumnCount(); ++c) {
      const cmcCellObj& cell = page_->CellAt(c, r).cell;
      if (cell.Selectable() && cell.Key() == wanted) {
        target = QPoint(c, r);
        break;
      }
    }
  }
  if (target) grid_->SetCursor(target->x(), target->y());
}

void cuiSheet::SendKey(int column, int row, int action, int popupCommand, const std::string* text) {
  if (!grid_ || !page_) return;
  cmcCellCapsule capsule;
  PrepareCapsule(capsule, column, row);
  capsule.action = action;
  capsule.popupCommand = popupCommand;
  if (text) {
    capsule.inputMode = cmcCellCapsule::kInputText;
    capsule.action = 0;
    capsule.inputText = *text;
  }
  if (listMode_) {
    if (action == 13 || action == kActionDoubleClick) {
      cmcCellCapsule pick = owner_ ? *owner_ : cmcCellCapsule();
      pick.related = &capsule;
      pick.inputMode = cmcCellCapsule::kInputChoice;
      Run(pick);
      parent_->hide();
    }
    bus_.Send(ev::RefreshMenus{});
    return;
  }
  EvalResult result = Run(capsule);
  for (int wait = kFirstRepeatWaitMs;;) {
    if (capsule.reposition) Reposition(capsule);
    if (result == EvalResult::kChooserOpened) EndMultiSelection();
    if (result == EvalResult::kOpenEditor) {
      OpenEditor(column, row, capsule.outputText, capsule.cursorPosition, capsule.selectionLength);
    }
    if (capsule.repeatAction == 0) break;
    if (wait > 0) {
      grid_->viewport()->repaint();
      QThread::msleep(static_cast<unsigned long>(wait));
      wait -= kRepeatWaitStepMs;
    }
    const int repeat = capsule.repeatAction;
    PrepareCapsule(capsule, column, row);
    capsule.action = repeat;
    result = Run(capsule);
  }
  RebuildSelection(column, row, capsule);
  bus_.Send(ev::RefreshMenus{});
}

void cuiSheet::RebuildSelection(int column, int row, const cmcCellCapsule& capsule) {
  if (page_->Style().multiSelect == 0 || !(capsule.rowFlags & cmcCellCapsule::kRowsChanged)) {
    EndMultiSelection();
    anchorCol_ = grid_->Col();
    anchorRow_ = grid_->Row();
    return;
  }
  // The evaluator names the rows its command left selected (a paste, a
  // move): they become the selection, anchored at the end away from the key.
  const cmcCellObj& key = page_->CellAt(column, row).cell;
  EndMultiSelection();
  anchorCol_ = column;
  const int farEnd = key.Number() == capsule.firstRow ? capsule.lastRow : capsule.firstRow;
  for (int r = 0; r < page_->RowCount(); ++r) {
    for (int c = 0; c < page_->ColumnCount(); ++c) {
      const cmcCellObj& cell = page_->CellAt(c, r).cell;
      if (cell.Cell() != key.Cell()) continue;
      if (cell.Number() >= capsule.firstRow && cell.Number() <= capsule.lastRow)
        SetSelected(c, r, true);
      if (cell.Number() == farEnd) anchorRow_ = r;
    }
  }
  multiActive_ = true;
  RecomputeLineHighlights();
}

bool cuiSheet::OnGridKey(QKeyEvent* event) {
  CloseEditor(true);
  ClearStatus();
  shiftHeld_ = event->modifiers() & Qt::ShiftModifier;
  const auto move = [&](int dx, int dy) {
    MoveCursor(dx, dy);
    shiftHeld_ = false;
  };
  const int key = event->key();
  switch (key) {
    case Qt::Key_PageUp: move(0, -kPageStep); return true;
    case Qt::Key_PageDown: move(0, kPageStep); return true;
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    // The context-menu key reaches the grid as a key where the window
    // system makes no context-menu event of it.
    case Qt::Key_Menu: OpenMenuAtCursor(); return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      const QPoint before(grid_->Col(), grid_->Row());
      move(key == Qt::Key_Left ? -1 : 1, 0);
      if (QPoint(grid_->Col(), grid_->Row()) == before && grid_->isEnabled()) {
        SendKey(before.x(), before.y(), key == Qt::Key_Left ? kActionLeftEdge : kActionRightEdge,
                0);
      }
      return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
      if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        move(0, key == Qt::Key_Up ? -1 : 1);
      shiftHeld_ = false;
      return true;
    default: break;
  }
  shiftHeld_ = false;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
    SendKey(grid_->Col(), grid_->Row(), kActionF1 + (key - Qt::Key_F1) * 0x100, 0);
    return true;
  }
  const QString text = event->text();
  if (text.size() != 1 || !grid_->isEnabled()) return false;
  const char16_t unicode = text.at(0).unicode();
  if (unicode > 0xFF) return false;
  // Characters reach the cells as signed bytes, as the radio's cells know them.
  SendKey(grid_->Col(), grid_->Row(), static_cast<signed char>(unicode), 0);
  return true;
}
