// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <unordered_map>

#include "ui/grid.h"

namespace {

// The source lives in a child of the grid, so that it goes with the grid and
// the grid's own class needs no field for it.
class SourceHolder : public QObject {
 public:
  static constexpr const char* kName = "cuiGridAccessSource";
  SourceHolder(cuiGrid& grid, cuiGridAccessSource source)
      : QObject(&grid), source_(std::move(source)) {
    setObjectName(kName);
  }
  cuiGridAccessSource source_;
};

const cuiGridAccessSource* SourceOf(const cuiGrid& grid) {
  const auto* holder = dynamic_cast<const SourceHolder*>(
      grid.findChild<QObject*>(SourceHolder::kName, Qt::FindDirectChildrenOnly));
  return holder ? &holder->source_ : nullptr;
}

QString CellText(const cuiGrid& grid, int column, int row) {
  const cuiGridAccessSource* source = SourceOf(grid);
  return source && source->cellText ? source->cellText(column, row) : QString();
}

bool IsHeader(const cuiGrid& grid, int row) { return row < grid.FixedRows(); }

class GridTable;

// One grid cell of the page's table.
class GridCell : public cuiGridCellLeaf, public QAccessibleTableCellInterface {
 public:
  using cuiGridCellLeaf::cuiGridCellLeaf;

  QAccessible::Role role() const override {
    return isValid() && IsHeader(*grid_, row_) ? QAccessible::ColumnHeader : QAccessible::Cell;
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    if (grid_->CellRect(column_, row_).isEmpty()) s.offscreen = true;
    if (IsHeader(*grid_, row_)) return s;
    const cuiGridAccessSource* source = SourceOf(*grid_);
    s.editable = source && source->cellEditable && source->cellEditable(column_, row_);
    // The grid's own selectCell is no question: the owner acts on the move
    // it allows (closing the editor, changing the selection).
    const bool cursorMayGo = !source || !source->cursorMayGo || source->cursorMayGo(column_, row_);
    s.focusable = cursorMayGo;
    s.selectable = cursorMayGo;
    s.selected = isSelected();
    s.focused = s.selected && grid_->hasFocus();
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface && isValid() && !IsHeader(*grid_, row_)) {
      return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
  }

  bool isSelected() const override {
    return isValid() && grid_->Col() == column_ && grid_->Row() == row_;
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override;
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return grid_ ? row_ - grid_->FixedRows() : -1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }
};

class GridTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit GridTable(cuiGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
  ~GridTable() override {
    for (const auto& [index, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  }

  cuiGrid* Grid() const { return static_cast<cuiGrid*>(widget()); }

  // Grid cells, headers included, row by row.
  QAccessibleInterface* GridCellAt(int column, int row) const {
    const cuiGrid* grid = Grid();
    if (column < 0 || row < 0 || column >= grid->ColCount() || row >= grid->RowCount())
      return nullptr;
    const int index = row * grid->ColCount() + column;
    if (const auto found = cells_.find(index); found != cells_.end()) {
      if (QAccessibleInterface* cell = QAccessible::accessibleInterface(found->second)) {
        auto* gridCell = static_cast<GridCell*>(cell);
        if (gridCell->GridColumn() == column && gridCell->GridRow() == row) return cell;
      }
      // The grid changed shape since: the cached cell stands elsewhere now.
      QAccessible::deleteAccessibleInterface(found->second);
      cells_.erase(found);
    }
    auto* cell = new GridCell(Grid(), column, row);
    cells_[index] = QAccessible::registerAccessibleInterface(cell);
    return cell;
  }

  QAccessibleInterface* CursorCell() const { return GridCellAt(Grid()->Col(), Grid()->Row()); }

  // --- QAccessibleInterface
  int childCount() const override { return Grid()->ColCount() * Grid()->RowCount(); }
  QAccessibleInterface* child(int index) const override {
    const int columns = Grid()->ColCount();
    return columns > 0 && index >= 0 ? GridCellAt(index % columns, index / columns) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* cell = dynamic_cast<const GridCell*>(child);
    if (!cell || cell->parent() != this) return -1;
    return cell->GridRow() * Grid()->ColCount() + cell->GridColumn();
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint at = Grid()->CellAt(Grid()->viewport()->mapFromGlobal(QPoint(x, y)));
    return GridCellAt(at.x(), at.y());
  }
  QAccessibleInterface* focusChild() const override {
    return Grid()->hasFocus() ? CursorCell() : nullptr;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // --- QAccessibleTableInterface
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return row < 0 ? nullptr : GridCellAt(column, row + Grid()->FixedRows());
  }
  int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    // The headers never take the cursor.
    if (Grid()->Row() < Grid()->FixedRows()) return {};
    QAccessibleInterface* cell = CursorCell();
    return cell ? QList<QAccessibleInterface*>{cell} : QList<QAccessibleInterface*>{};
  }
  QString columnDescription(int column) const override {
    QStringList headers;
    for (int r = 0; r < Grid()->FixedRows(); ++r) {
      const QString text = CellText(*Grid(), column, r);
      if (!text.isEmpty()) headers << text;
    }
    return headers.join(QLatin1Char(' '));
  }
  QString rowDescription(int row) const override {
    QStringList headers;
    for (int c = 0; c < Grid()->FixedCols(); ++c) {
      const QString text = CellText(*Grid(), c, row + Grid()->FixedRows());
      if (!text.isEmpty()) headers << text;
    }
    return headers.join(QLatin1Char(' '));
  }
  int columnCount() const override { return Grid()->ColCount(); }
  int rowCount() const override { return std::max(Grid()->RowCount() - Grid()->FixedRows(), 0); }
  // The grid selects single cells, never whole rows or columns.
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  // Interface ids by child index; Qt owns the cells once registered.
  mutable std::unordered_map<int, QAccessible::Id> cells_;
};

GridTable* TableOf(const cuiGrid* grid) {
  return dynamic_cast<GridTable*>(
      QAccessible::queryAccessibleInterface(const_cast<cuiGrid*>(grid)));
}

QList<QAccessibleInterface*> GridCell::columnHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  if (GridTable* table = isValid() ? TableOf(grid_) : nullptr) {
    for (int r = 0; r < grid_->FixedRows(); ++r) headers << table->GridCellAt(column_, r);
  }
  return headers;
}

QList<QAccessibleInterface*> GridCell::rowHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  if (GridTable* table = isValid() ? TableOf(grid_) : nullptr) {
    for (int c = 0; c < grid_->FixedCols(); ++c) {
      if (c != column_) headers << table->GridCellAt(c, row_);
    }
  }
  return headers;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* grid = dynamic_cast<cuiGrid*>(object);
  return grid ? new GridTable(grid) : nullptr;
}

}  // namespace

void SetGridAccessSource(cuiGrid& grid, cuiGridAccessSource source) {
  delete grid.findChild<QObject*>(SourceHolder::kName, Qt::FindDirectChildrenOnly);
  new SourceHolder(grid, std::move(source));
}

QString GridCellText(const cuiGrid& grid, int column, int row) {
  return CellText(grid, column, row);
}

bool cuiGridCellLeaf::isValid() const {
  return grid_ && column_ < grid_->ColCount() && row_ < grid_->RowCount();
}

QWindow* cuiGridCellLeaf::window() const {
  return grid_ ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* cuiGridCellLeaf::parent() const {
  return QAccessible::queryAccessibleInterface(grid_.data());
}

QString cuiGridCellLeaf::text(QAccessible::Text t) const {
  return t == QAccessible::Name && isValid() ? CellText(*grid_, column_, row_) : QString();
}

QRect cuiGridCellLeaf::rect() const {
  if (!isValid()) return {};
  const QRect cell = grid_->CellRect(column_, row_);
  if (cell.isEmpty()) return {};
  return QRect(grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
}

void InstallGridAccessible() {
  static const bool installed = [] {
    QAccessible::installFactory(&Factory);
    return true;
  }();
  (void)installed;
}

void NotifyGridCursor(cuiGrid& grid) {
  if (!QAccessible::isActive()) return;
  GridTable* table = TableOf(&grid);
  QAccessibleInterface* cell = table ? table->CursorCell() : nullptr;
  if (!cell) return;
  const int index = table->indexOfChild(cell);
  QAccessibleEvent selection(&grid, QAccessible::Selection);
  selection.setChild(index);
  QAccessible::updateAccessibility(&selection);
  if (grid.hasFocus()) {
    QAccessibleEvent focus(&grid, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
  }
}
