// SPDX-License-Identifier: GPL-3.0-or-later
// The grid in the main window as its users meet it: typed values that the
// radio cannot hold as typed are named in the status bar, the menu bar
// reached with Alt keeps the Edit menu's cell commands, and a page opens
// from the tree as a screen reader selects its node.
#include <QAccessible>
#include <QMenuBar>
#include <QTest>

#include "shell/main_window_support.h"

namespace {

using shelltest::MainWindow;

TEST_F(MainWindow, ATypedValueTakenOtherwiseIsNamedInTheStatusBar) {
  Start();
  cuiGrid& grid = OpenFreePage();
  struct Case {
    int column;
    const char* typed;
    const char* shown;
    const char* note;  // a part of the status text; "" for none
  };
  const Case cases[] = {
      {1, "MARINA", " A",
       "No. 1, Name: \"MARINA\" was taken as \" A\". Three characters the radio's display can "
       "show"},
      {2, "123.456", "123.45625",
       "No. 1, Receive (MHz): \"123.456\" was taken as \"123.45625\". A frequency in MHz"},
      {2, "156.8", "156.80000", ""},
      {2, "156.8001", "156.80000", "\"156.8001\" was not taken; the cell keeps \"156.80000\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    grid.SetCursor(c.column, 1);
    Type(c.typed, Qt::Key_Return);
    EXPECT_EQ(Shown(c.column, 1), c.shown);
    if (*c.note == 0) {
      EXPECT_EQ(Main().Status().Text(), "");
    } else {
      EXPECT_NE(Main().Status().Text().find(c.note), std::string::npos) << Main().Status().Text();
    }
  }
}

TEST_F(MainWindow, AltAloneKeepsTheEditMenusCellCommands) {
  Start();
  cuiGrid& grid = OpenFreePage();
  ASSERT_TRUE(WaitUntil([&] { return grid.hasFocus(); }));
  // The count as a focus coming back to the grid leaves it (the very first
  // filling of the menu at start differs by one line).
  Main().Navigation().Tree()->Widget()->setFocus(Qt::MouseFocusReason);
  grid.setFocus(Qt::MouseFocusReason);
  const int commands = Main().Navigation().EditMenuItemCount();
  ASSERT_GT(commands, 0);
  QMenuBar& bar = *form->menuBar();
  // Alt alone puts the menu bar in keyboard mode; Escape leaves it.
  QTest::keyPress(&grid, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(&grid, Qt::Key_Alt);
  ASSERT_TRUE(bar.hasFocus()) << "the style has no Alt navigation";
  EXPECT_EQ(Main().Navigation().EditMenuItemCount(), commands);
  QTest::keyClick(&bar, Qt::Key_Escape);
  EXPECT_TRUE(grid.hasFocus());
  EXPECT_EQ(Main().Navigation().EditMenuItemCount(), commands);
  // From the menu bar to the tree is leaving the grid all the same.
  QTest::keyPress(&grid, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(&grid, Qt::Key_Alt);
  ASSERT_TRUE(bar.hasFocus());
  Main().Navigation().Tree()->Widget()->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(Main().Navigation().EditMenuItemCount(), 0);
  grid.setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(Main().Navigation().EditMenuItemCount(), commands);
}

TEST_F(MainWindow, APageOpensWhenAScreenReaderSelectsItsNode) {
  Start();
  QTreeWidget& tree = *Main().Navigation().Tree()->Widget();
  tree.expandAll();
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&tree);
  ASSERT_NE(access, nullptr);
  QAccessibleTableInterface* table = access->tableInterface();
  ASSERT_NE(table, nullptr);
  for (const char* page : {"GI_Sheet_FreeCh", "GI_Sheet_WxCh"}) {
    SCOPED_TRACE(page);
    const QString name = Main().Navigation().Tree()->FindNode(page)->text(0);
    int row = -1;
    for (int r = 0; r < table->rowCount() && row < 0; ++r)
      if (QAccessibleInterface* cell = table->cellAt(r, 0);
          cell && cell->text(QAccessible::Name) == name)
        row = r;
    ASSERT_GE(row, 0);
    ASSERT_TRUE(table->selectRow(row));
    EXPECT_TRUE(WaitUntil([&] {
      return Main().Navigation().Sheet() && Main().Navigation().Sheet()->PageReference() == page;
    })) << (Main().Navigation().Sheet() ? Main().Navigation().Sheet()->PageReference()
                                        : std::string("no page"));
  }
}

}  // namespace
