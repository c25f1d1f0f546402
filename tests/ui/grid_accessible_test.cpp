// SPDX-License-Identifier: GPL-3.0-or-later
// What the grid tells assistive technology, on a fixture page and on the
// program's own international channel list.
#include <QAccessible>
#include <QTest>

#include "ui/grid_access_support.h"
#include "ui/sheet_support.h"

namespace uitest {
namespace {

TEST_F(SheetTest, GridReadsAsATable) {
  // GI_Ui_Cursor: a header row "Head" | "Name", a static row "static" |
  // "first" (only "first" selectable), then channels 0..2 in a loop.
  Make("GI_Ui_Cursor");
  const auto texts = ShareTexts(*sheet, &FakeEvaluate);
  cuiGrid* grid = sheet->Grid();
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid);
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::Table);
  QAccessibleTableInterface* table = iface->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), 4);
  EXPECT_EQ(table->columnCount(), 2);
  EXPECT_EQ(table->columnDescription(0), "Head");
  EXPECT_EQ(table->columnDescription(1), "Name");

  struct Case {
    int row, column;
    const char* text;
    bool selectable, editable;
  };
  const Case cases[] = {
      {0, 0, "static", false, false}, {0, 1, "first", true, false}, {1, 0, "v0", true, true},
      {1, 1, "v0", true, true},       {3, 1, "v2", true, true},
  };
  for (const Case& c : cases) {
    const std::string name = std::to_string(c.row) + "," + std::to_string(c.column);
    QAccessibleInterface* cell = table->cellAt(c.row, c.column);
    ASSERT_NE(cell, nullptr) << name;
    EXPECT_EQ(cell->role(), QAccessible::Cell) << name;
    EXPECT_EQ(cell->text(QAccessible::Name), c.text) << name;
    EXPECT_EQ(cell->state().selectable, c.selectable) << name;
    EXPECT_EQ(cell->state().editable, c.editable) << name;
    QAccessibleTableCellInterface* place = cell->tableCellInterface();
    ASSERT_NE(place, nullptr) << name;
    EXPECT_EQ(place->rowIndex(), c.row) << name;
    EXPECT_EQ(place->columnIndex(), c.column) << name;
    const QList<QAccessibleInterface*> headers = place->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1) << name;
    EXPECT_EQ(headers.front()->role(), QAccessible::ColumnHeader) << name;
    EXPECT_EQ(headers.front()->text(QAccessible::Name), c.column == 0 ? "Head" : "Name") << name;
    // The same cell, whichever way it is reached.
    EXPECT_EQ(iface->child(iface->indexOfChild(cell)), cell) << name;
    EXPECT_EQ(cell->parent(), iface) << name;
  }
  EXPECT_EQ(iface->childCount(), 10);
  EXPECT_EQ(table->cellAt(4, 0), nullptr);
  EXPECT_EQ(table->cellAt(-1, 0), nullptr);

  // The cursor starts on "first", the selected cell.
  ASSERT_EQ(table->selectedCellCount(), 1);
  EXPECT_EQ(table->selectedCells().front(), table->cellAt(0, 1));
  EXPECT_TRUE(table->cellAt(0, 1)->state().selected);
  EXPECT_FALSE(table->cellAt(1, 1)->state().selected);

  // A grid that shrinks leaves no cell standing outside it.
  QAccessibleInterface* last = table->cellAt(3, 1);
  grid->SetSize(2, 3);
  EXPECT_FALSE(last->isValid());
  EXPECT_EQ(table->rowCount(), 2);
}

// The focus event itself goes nowhere offscreen (no platform has assistive
// technology listening there); what a reader asks for after it is checked.
TEST_F(SheetTest, CursorMoveFocusesTheNewCell) {
  Make("GI_Ui_Cursor");
  const auto texts = ShareTexts(*sheet, &FakeEvaluate);
  cuiGrid* grid = sheet->Grid();
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(grid);
  QAccessibleTableInterface* table = iface->tableInterface();
  // Without the focus the cursor cell is selected but not focused.
  EXPECT_EQ(iface->focusChild(), nullptr);
  EXPECT_FALSE(table->cellAt(0, 1)->state().focused);

  host.show();
  host.activateWindow();
  grid->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
  ASSERT_TRUE(grid->hasFocus());
  ASSERT_TRUE(grid->SetCursor(1, 3));
  EXPECT_FALSE(grid->SetCursor(0, 1));  // the static cell keeps no cursor

  QAccessibleInterface* cell = table->cellAt(2, 1);
  EXPECT_EQ(cell->text(QAccessible::Name), "v1");
  EXPECT_EQ(iface->focusChild(), cell);
  EXPECT_TRUE(cell->state().focused);
  EXPECT_TRUE(cell->state().selected);
  EXPECT_FALSE(table->cellAt(0, 1)->state().selected);
  EXPECT_EQ(table->selectedCells(), QList<QAccessibleInterface*>{cell});
  // Where the cell is drawn is where a reader finds it.
  ASSERT_FALSE(cell->rect().isEmpty());
  EXPECT_EQ(iface->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
}

}  // namespace
}  // namespace uitest
