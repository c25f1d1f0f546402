// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chooser_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <unordered_map>
#include <vector>

#include "ui/flector.h"
#include "ui/grid.h"
#include "ui/grid_accessible.h"

namespace {

bool InChooser(const cuiGrid& grid) { return dynamic_cast<const cuiFlector*>(grid.window()); }

// The cells the cursor may go to, row by row: the list's entries.
std::vector<QPoint> Entries(cuiGrid& grid) {
  std::vector<QPoint> entries;
  const auto& selectCell = grid.Events().selectCell;
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColCount(); ++c) {
      if (!selectCell || selectCell(c, r)) entries.emplace_back(c, r);
    }
  }
  return entries;
}

class ChooserItem : public cuiGridCellLeaf {
 public:
  ChooserItem(cuiGrid* grid, QPoint cell) : cuiGridCellLeaf(grid, cell.x(), cell.y()) {}

  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    s.selectable = true;
    s.focusable = true;
    s.selected = grid_->Col() == column_ && grid_->Row() == row_;
    s.focused = s.selected && grid_->hasFocus();
    s.offscreen = grid_->CellRect(column_, row_).isEmpty();
    return s;
  }
  QPoint Cell() const { return {column_, row_}; }
};

class ChooserList : public QAccessibleWidget {
 public:
  explicit ChooserList(cuiGrid* grid) : QAccessibleWidget(grid, QAccessible::List) {}
  ~ChooserList() override {
    for (const auto& [key, id] : items_) QAccessible::deleteAccessibleInterface(id);
  }

  cuiGrid* Grid() const { return static_cast<cuiGrid*>(widget()); }

  QAccessibleInterface* Item(QPoint cell) const {
    const int key = cell.y() * Grid()->ColCount() + cell.x();
    if (const auto found = items_.find(key); found != items_.end()) {
      auto* item = static_cast<ChooserItem*>(QAccessible::accessibleInterface(found->second));
      if (item && item->Cell() == cell) return item;
      QAccessible::deleteAccessibleInterface(found->second);
      items_.erase(found);
    }
    auto* item = new ChooserItem(Grid(), cell);
    items_[key] = QAccessible::registerAccessibleInterface(item);
    return item;
  }
  // The cursor's index among the entries, -1 when it is on none.
  int CursorIndex() const {
    const std::vector<QPoint> entries = Entries(*Grid());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == QPoint(Grid()->Col(), Grid()->Row())) return static_cast<int>(i);
    }
    return -1;
  }

  int childCount() const override { return static_cast<int>(Entries(*Grid()).size()); }
  QAccessibleInterface* child(int index) const override {
    const std::vector<QPoint> entries = Entries(*Grid());
    if (index < 0 || index >= static_cast<int>(entries.size())) return nullptr;
    return Item(entries[static_cast<std::size_t>(index)]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* item = dynamic_cast<const ChooserItem*>(child);
    if (!item) return -1;
    const std::vector<QPoint> entries = Entries(*Grid());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == item->Cell()) return static_cast<int>(i);
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint at = Grid()->CellAt(Grid()->viewport()->mapFromGlobal(QPoint(x, y)));
    const std::vector<QPoint> entries = Entries(*Grid());
    return std::find(entries.begin(), entries.end(), at) != entries.end() ? Item(at) : nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const int index = CursorIndex();
    return Grid()->hasFocus() && index >= 0 ? child(index) : nullptr;
  }

 private:
  mutable std::unordered_map<int, QAccessible::Id> items_;
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* grid = dynamic_cast<cuiGrid*>(object);
  return grid && InChooser(*grid) ? new ChooserList(grid) : nullptr;
}

}  // namespace

void InstallChooserAccessible() {
  static const bool installed = [] {
    InstallGridAccessible();
    QAccessible::installFactory(&Factory);
    return true;
  }();
  (void)installed;
}

void NotifyChooserCursor(cuiGrid& grid) {
  if (!QAccessible::isActive()) return;
  auto* list = dynamic_cast<ChooserList*>(QAccessible::queryAccessibleInterface(&grid));
  const int index = list ? list->CursorIndex() : -1;
  if (index < 0) return;
  QAccessibleEvent selection(&grid, QAccessible::Selection);
  selection.setChild(index);
  QAccessible::updateAccessibility(&selection);
  if (grid.hasFocus()) {
    QAccessibleEvent focus(&grid, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
  }
}
