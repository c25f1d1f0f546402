// SPDX-License-Identifier: GPL-3.0-or-later
// The sheet's in-place editor, its cell popup menu, focus and mouse.
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "base/evman.h"
#include "layout/typed_value.h"
#include "model/evaluator.h"
#include "model/value_rule.h"
#include "platform/qt/qt_font.h"
#include "text/csv_records.h"
#include "ui/cell_editor.h"
#include "ui/grid.h"
#include "ui/menu.h"
#include "ui/sheet.h"

namespace {

constexpr int kEdgeMargin = 4;
constexpr int kActionDoubleClick = 256;

}  // namespace

void cuiSheet::ConnectInteraction() {
  popup_ = new QMenu(grid_);
  cuiGrid::Callbacks& events = grid_->Events();
  events.selectCell = [this](int c, int r) { return OnSelectCell(c, r); };
  events.cursorMoved = [this] { RefreshCellMenu(false); };
  events.keyPressed = [this](QKeyEvent* event) { return OnGridKey(event); };
  events.focusGained = [this] { OnGridFocusGained(); };
  events.focusLost = [this] { OnGridFocusLost(); };
  events.mousePressed = [this](QMouseEvent* event) { OnMousePress(event); };
  events.mouseReleased = [this](QMouseEvent* event) { OnMouseRelease(event); };
  events.mouseMoved = [this](QMouseEvent* event) { OnMouseMove(event); };
  events.doubleClicked = [this](QMouseEvent* event) { OnDoubleClick(event); };
  events.contextMenuKey = [this] { OpenMenuAtCursor(); };
  events.toolTip = [this](int c, int r) { return CellToolTip(c, r); };
}

void cuiSheet::OpenMenuAtCursor() {
  // Some window systems send both the key and a context-menu event for it.
  if (popup_->isVisible()) return;
  RefreshCellMenu(false);
  const QRect cell = grid_->CellRect(grid_->Col(), grid_->Row());
  if (!popup_->isEmpty())
    popup_->popup(grid_->viewport()->mapToGlobal(cell.isEmpty() ? QPoint() : cell.bottomLeft()));
}

bool cuiSheet::EditorShowing() const { return editor_ && editor_->isVisible(); }

void cuiSheet::OpenEditor(int column, int row, const std::string& text, int cursor, int selection) {
  EndMultiSelection();
  grid_->SetCursor(column, row);
  if (grid_->CellRect(column, row).width() < 1 || grid_->CellRect(column, row).height() <= 1)
    return;
  if (!editor_) {
    editor_ = new cuiCellEditor(grid_->parentWidget());
    editor_->keyPressed = [this](QKeyEvent* event) { return OnEditorKey(event); };
    editor_->focusLost = [this] {
      if (!editorDetached_) CommitEditor();
    };
  }
  const cmcCellObj& cell = page_->CellAt(column, row).cell;
  const platform::FontValue* font = cell.Font() ? cell.Font() : page_->BasicCell().Font();
  editor_->setFont(font ? platform::ToQFont(*font, QApplication::font()) : QApplication::font());
  editorCol_ = column;
  editorRow_ = row;
  PlaceEditor();
  editor_->SetContent(QString::fromStdString(text), cursor, selection);
  editorDetached_ = false;
  editor_->show();
  editor_->raise();
  editor_->setFocus();
  grid_->InvalidateCell(column, row);
}

bool cuiSheet::PlaceEditor() {
  QRect rect = grid_->CellRect(editorCol_, editorRow_);
  if (rect.width() < 1 || rect.height() <= 1) return false;
  QWidget* host = editor_->parentWidget();
  rect.moveTopLeft(grid_->viewport()->mapTo(host, rect.topLeft()));
  rect.setHeight(rect.height() - 1);
  const int textHeight = QFontMetrics(editor_->font()).height() + 2;
  if (textHeight < rect.height()) {
    // A line of text placed as the cell places its own.
    switch (page_->CellAt(editorCol_, editorRow_).cell.VerticalAlign()) {
      case 1: rect.setTop(rect.top() + (rect.height() - textHeight) / 2); break;
      case 2: rect.setTop(rect.bottom() - textHeight); break;
      default: break;
    }
    rect.setHeight(textHeight);
  }
  editor_->setGeometry(rect);
  return true;
}

// The editor stays on its cell while the page scrolls or a column changes
// its width: Enter must write where the user sees the typed text. Once the
// cell leaves the view the value is taken, as leaving the cell by a click
// would, rather than kept in an editor nobody can see.
void cuiSheet::FollowEditor() {
  if (!EditorShowing()) return;
  if (!PlaceEditor()) CloseEditor(true);
}

void cuiSheet::HideEditor() {
  editorDetached_ = true;
  editor_->hide();
  editorDetached_ = false;
  grid_->InvalidateCell(editorCol_, editorRow_);
}

void cuiSheet::CommitEditor() {
  if (!EditorShowing()) return;
  const std::string text = editor_->toPlainText().toStdString();
  const int column = editorCol_;
  const int row = editorRow_;
  const std::string before = text_->Show(column, row).text;
  // Hidden first: the evaluation may move the cursor, which closes the
  // editor again.
  HideEditor();
  SendKey(column, row, 13, 0, &text);
  NoteTypedValue(column, row, text, before);
}

void cuiSheet::NoteTypedValue(int column, int row, const std::string& typed,
                              const std::string& before) {
  // An evaluation that opened the editor again has not taken anything yet.
  if (EditorShowing()) return;
  const std::string after = text_->Show(column, row).text;
  if (layout::ShowsTyped(after, typed)) return;
  const std::string note = layout::TypedValueNote(CellName(column, row), typed, before, after,
                                                  CellValueRule(page_->CellAt(column, row).cell));
  // A refusal in the colours of the other refusals; a changed value as news.
  const bool refused = after == before;
  bus_.Send(ev::StatusText{refused ? kRestrictedTextColor : kStatusTextColor,
                           refused ? kRestrictedBackColor : kStatusBackColor, note});
}

std::string cuiSheet::CellName(int column, int row) {
  const auto shown = [this](int c, int r) { return text::Trimmed(text_->Show(c, r).text); };
  const int fixedCols = std::min(page_->Style().fixedCols, column);
  const int fixedRows = page_->Style().fixedRows;
  // The header over a column, or the one it is joined to on its left.
  const auto header = [&](int c) {
    if (fixedRows < 1 || row < fixedRows) return std::string();
    for (; c >= 0; --c) {
      std::string text = shown(c, fixedRows - 1);
      if (!text.empty() || !page_->CellAt(c, fixedRows - 1).cell.JoinLeft()) return text;
    }
    return std::string();
  };
  std::string name;
  for (int c = 0; c < fixedCols && name.empty(); ++c) {
    name = shown(c, row);
    // A bare number ("1") is a channel: its column says of what ("No. 1").
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos) {
      const std::string head = header(c);
      if (!head.empty()) name = head + " " + name;
    }
  }
  const std::string head = column >= page_->Style().fixedCols ? header(column) : std::string();
  if (!head.empty()) name += (name.empty() ? "" : ", ") + head;
  return name;
}

QString cuiSheet::CellToolTip(int column, int row) const {
  if (!page_ || printing_ || listMode_ || !Selectable(column, row)) return {};
  const std::string rule = CellValueRule(page_->CellAt(column, row).cell);
  // Rich text, so that the tip wraps its sentences.
  return rule.empty() ? QString() : "<p>" + QString::fromStdString(rule).toHtmlEscaped() + "</p>";
}

void cuiSheet::CloseEditor(bool focusBack) {
  if (!EditorShowing()) return;
  CommitEditor();
  if (focusBack && grid_->isVisible()) grid_->setFocus();
}

bool cuiSheet::OnEditorKey(QKeyEvent* event) {
  bus_.Send(ev::StatusText{kStatusTextColor, kStatusBackColor, ""});
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      CloseEditor(true);
      keepStatus_ = true;
      if (event->key() == Qt::Key_Up) MoveCursor(0, -1);
      if (event->key() == Qt::Key_Down) MoveCursor(0, 1);
      keepStatus_ = false;
      return true;
    }
    case Qt::Key_Escape:
      HideEditor();
      if (grid_->isVisible()) grid_->setFocus();
      return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      CloseEditor(true);
      keepStatus_ = true;
      OnGridKey(event);
      keepStatus_ = false;
      return true;
    default: return false;
  }
}

void cuiSheet::OnEditorReopen(cmcCellCapsule& capsule, int flag) {
  if (flag || !capsule.cell || !grid_) return;
  if (capsule.cell != &page_->CellAt(grid_->Col(), grid_->Row()).cell) return;
  OpenEditor(grid_->Col(), grid_->Row(), capsule.outputText, capsule.cursorPosition,
             capsule.selectionLength);
}

void cuiSheet::RefreshCellMenu(bool forced) {
  const auto done = [this] { bus_.Send(ev::RefreshMenus{}); };
  if (printing_ || !grid_ || !grid_->hasFocus() || grid_->Col() < 0) return done();
  const int c = grid_->Col();
  const int r = grid_->Row();
  if (!forced && c == lastMenuCol_ && r == lastMenuRow_) return done();
  lastMenuCol_ = c;
  lastMenuRow_ = r;
  const std::string name = page_->CellAt(c, r).cell.PopupMenu();
  // A cell without a menu of its own keeps the one shown, so that the main
  // menu's mirror does not flicker while the cursor passes over it.
  if (!forced && (name.empty() || name == lastMenuName_)) return done();
  if (cellMenu_) {
    cellMenu_.reset();
    bus_.Send(ev::ClearCellMenu{kEvCellMenuItem});
  }
  lastMenuName_ = name;
  if (!name.empty()) {
    cellMenu_ = std::make_unique<cuiMenu>(bus_, this, popup_, table_, name, [this](QAction* item) {
      const cmcCellObj* definition = cuiMenu::CellOf(item);
      if (!definition) return;
      // Run after the menu has finished with its item: the command may move
      // the focus, and a focus change rebuilds this very menu.
      const int command = static_cast<int>(definition->Cell());
      QMetaObject::invokeMethod(
          grid_, [this, command] { SendKey(grid_->Col(), grid_->Row(), 0, command); },
          Qt::QueuedConnection);
    });
    cellMenu_->SetImages(images_);
    cellMenu_->Build();
    bus_.Send(ev::FillCellMenu{cellMenu_.get(), kEvCellMenuItem, name});
  }
  done();
}

void cuiSheet::OnGridFocusGained() { RefreshCellMenu(true); }

void cuiSheet::OnGridFocusLost() {
  if (cellMenu_) {
    cellMenu_.reset();
    bus_.Send(ev::ClearCellMenu{kEvCellMenuItem});
    bus_.Send(ev::RefreshMenus{});
  }
  // The next focus builds the menu again.
  lastMenuName_.clear();
  lastMenuCol_ = lastMenuRow_ = -1;
  if (!grid_ || !page_) return;
  // Highlights turn to the inactive tint.
  for (int r = 0; r < page_->RowCount(); ++r)
    for (int c = 0; c < page_->ColumnCount(); ++c)
      if (SlotMarked(c, r)) grid_->InvalidateCell(c, r);
  grid_->InvalidateCell(grid_->Col(), grid_->Row());
}

std::optional<QPoint> cuiSheet::CursorCellFor(int column, int row) const {
  if (column < 0 || row < 0) return std::nullopt;
  for (int c = column; c >= 0; --c) {
    const cmcCellObj& cell = page_->CellAt(c, row).cell;
    if (cell.Selectable()) return QPoint(c, row);
    if (!cell.RowMarker()) break;
  }
  return std::nullopt;
}

void cuiSheet::OnMousePress(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) {
    mouseHeld_ = true;
    return;
  }
  const QPoint at = grid_->CellAt(event->position().toPoint());
  const std::optional<QPoint> cell = CursorCellFor(at.x(), at.y());
  if (!multiActive_ && !(cell && grid_->SetCursor(cell->x(), cell->y()))) return;
  RefreshCellMenu(false);
  if (!popup_->isEmpty()) popup_->popup(event->globalPosition().toPoint());
}

void cuiSheet::OnMouseRelease(QMouseEvent* event) {
  mouseHeld_ = false;
  if (listMode_ && event->button() == Qt::LeftButton) OnDoubleClick(event);
}

void cuiSheet::OnMouseMove(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (mouseHeld_ && (event->buttons() & Qt::LeftButton)) {
    // Dragging extends the selection; outside the grid it scrolls by
    // moving the cursor towards the pointer.
    const QRect inside = grid_->viewport()->rect();
    const int dx = (pos.x() > inside.right()) - (pos.x() < inside.left());
    const int dy = (pos.y() > inside.bottom()) - (pos.y() < inside.top());
    if (dx != 0 || dy != 0) {
      if (dx != 0) MoveCursor(dx, 0);
      if (dy != 0) MoveCursor(0, dy);
      return;
    }
    const QPoint at = grid_->CellAt(pos);
    if (at.x() >= grid_->FixedCols() && at.y() >= grid_->FixedRows())
      grid_->SetCursor(at.x(), at.y());
    return;
  }
  if (!listMode_ || EditorShowing()) return;
  const QPoint at = grid_->CellAt(pos);
  if (at.x() == lastMouseCol_ && at.y() == lastMouseRow_) return;
  lastMouseCol_ = at.x();
  lastMouseRow_ = at.y();
  if (at.x() >= 0) grid_->SetCursor(at.x(), at.y());
}

void cuiSheet::OnDoubleClick(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const QPoint at = grid_->CellAt(pos);
  const int fixedCols = grid_->FixedCols();
  if (page_->Style().colSizing) {
    if (at.x() >= fixedCols && at.y() >= 0 && at.y() < grid_->FixedRows()) {
      const QRect rect = grid_->CellRect(at.x(), at.y());
      if (pos.x() - rect.left() <= kEdgeMargin) {
        for (int c = at.x() - 1; c >= fixedCols; --c) {
          if (grid_->ColWidth(c) > 0) {
            FitColumn(c);
            break;
          }
        }
      } else if (rect.right() - pos.x() <= kEdgeMargin) {
        FitColumn(at.x());
      }
    } else if (at.x() < 0 && pos.y() >= 0) {
      for (int c = grid_->ColCount() - 1; c >= fixedCols; --c) {
        if (grid_->ColWidth(c) <= 0) continue;
        const QRect rect = grid_->CellRect(c, 0);
        // Just right of the header's last edge; below the last row the
        // pointer is on no cell either, and a click there sizes nothing.
        const int fixedRows = grid_->FixedRows();
        const int headerBottom = fixedRows > 0 ? grid_->CellRect(c, fixedRows - 1).bottom() : -1;
        const int beyond = pos.x() - (rect.right() + 1);
        if (!rect.isEmpty() && pos.y() <= headerBottom && beyond >= 0 && beyond <= kEdgeMargin)
          FitColumn(c);
        break;
      }
    }
  }
  const std::optional<QPoint> cell = CursorCellFor(at.x(), at.y());
  if (cell && cell->x() == grid_->Col() && cell->y() == grid_->Row())
    SendKey(cell->x(), cell->y(), kActionDoubleClick, 0);
}
