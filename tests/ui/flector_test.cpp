// SPDX-License-Identifier: GPL-3.0-or-later
// The drop-down choice window on the program's own pages: Enter on a cell
// that offers a list opens it under the cell, a pick changes the image
// through the real evaluator, and the ways it closes.
#include <QMenu>
#include <QScrollBar>
#include <functional>

#include "model/eeprom.h"
#include "platform/qt/screens_qt.h"
#include "ui/chooser_support.h"
#include "ui/grid.h"

namespace uitest {
namespace {

class Chooser : public ChooserPages {};

TEST_F(Chooser, EnterOpensTheListUnderTheCellAndAPickChangesTheImage) {
  struct Case {
    const char* page;
    int model;
    std::uint32_t cell;
    std::string list;
    int listRow;  // where the list's cursor starts: the current choice
    std::string before;
    std::string after;  // after Down and Enter
  };
  const Case cases[] = {
      // Display contrast 3 of 1..8: the list starts on 3 and Down picks 4.
      {"GI_Sheet_Common_Common", 0, CL_Comm_Cont, "GI_Sheet_Sel_UserSetCont", 2, "3", "4"},
      // An attribute list has no current item: it starts on P, Down picks C.
      {"GI_Sheet_IntCh", 1, CL_ChList_Atr, "GI_Sheet_Sel_ChATRAll", 0, "", "C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    iuiSheet& page = Show(c.page, c.model);
    const QPoint cell = CursorTo(c.cell);
    ASSERT_EQ(Shown(cell), c.before);
    const cmcEeprom image = target.image;
    Key(Qt::Key_Return);
    ASSERT_TRUE(navigation.opened);
    cuiFlector& window = *navigation.opened;
    EXPECT_EQ(window.ListKey(), c.list);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(List().ListMode());
    const QRect at = OnDesktop(*page.Grid(), cell);
    EXPECT_EQ(window.geometry().topLeft(), at.bottomLeft() + QPoint(8, 1));
    EXPECT_EQ(List().Grid()->Row(), c.listRow);
    EXPECT_FALSE(target.image.Differs(image));
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_FALSE(navigation.opened) << "released after the pick";
    EXPECT_EQ(Shown(cell), c.after);
    EXPECT_TRUE(target.image.Differs(image));
    EXPECT_EQ(page.Grid()->Col(), cell.x());
    EXPECT_EQ(page.Grid()->Row(), cell.y());
    sheet.reset();
  }
}

TEST_F(Chooser, EscapeLeavesTheImageAsItWas) {
  Show("GI_Sheet_Common_Common", 0);
  const QPoint cell = CursorTo(CL_Comm_Cont);
  const cmcEeprom image = target.image;
  Key(Qt::Key_Return);
  ASSERT_TRUE(navigation.opened);
  Key(Qt::Key_Down);
  Key(Qt::Key_Escape);
  EXPECT_FALSE(navigation.opened);
  EXPECT_FALSE(target.image.Differs(image));
  EXPECT_EQ(Shown(cell), "3");
}

TEST_F(Chooser, ListTallerThanTheWorkAreaScrolls) {
  // Huge type makes the eight contrast steps taller than any screen here.
  target.fontSize = 1200;
  Show("GI_Sheet_Common_Common", 0);
  CursorTo(CL_Comm_Cont);
  Key(Qt::Key_Return);
  ASSERT_TRUE(navigation.opened);
  cuiFlector& window = *navigation.opened;
  const QRect work = platform::WorkAreaOfRect(window.geometry());
  cuiGrid& grid = *List().Grid();
  ASSERT_GT(grid.TotalHeight(), work.height());
  EXPECT_EQ(window.height(), work.height());
  EXPECT_TRUE(work.contains(window.geometry()));
  EXPECT_TRUE(grid.verticalScrollBar()->isVisible());
  EXPECT_TRUE(grid.horizontalScrollBar()->isVisible());
  EXPECT_GT(grid.verticalScrollBar()->maximum(), 0);
  // Scrolled as far left and up as the current choice allows.
  EXPECT_FALSE(grid.CellRect(grid.Col(), grid.Row()).isEmpty());
  EXPECT_EQ(grid.LeftCol(), 0);
  EXPECT_LE(grid.TopRow(), grid.Row());
  // With scroll bars the list does not wrap.
  const int row = grid.Row();
  for (int i = 0; i < 8; ++i) Key(Qt::Key_Down);
  EXPECT_EQ(grid.Row(), grid.RowCount() - 1);
  EXPECT_NE(row, grid.RowCount() - 1);
}

TEST_F(Chooser, ClosesWhenItsCellGoesAwayOrTheDocumentIsSaved) {
  struct Case {
    const char* name;
    std::function<void()> act;
  };
  const QWidget otherGrid;
  const Case cases[] = {
      {"commit before saving", [this] { bus.Send(ev::CommitEditor{}); }},
      {"another grid goes away: stays",
       [this, &otherGrid] { bus.Send(ev::SheetDestroyed{&otherGrid}); }},
      {"its page goes away", [this] { sheet.reset(); }},
      {"a click elsewhere",
       [this] { QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, QPoint(2, 2)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show("GI_Sheet_Common_Common", 0);
    CursorTo(CL_Comm_Cont);
    const cmcEeprom image = target.image;
    Key(Qt::Key_Return);
    ASSERT_TRUE(navigation.opened);
    const bool stays = std::string(c.name).find("stays") != std::string::npos;
    c.act();
    Settle();
    EXPECT_EQ(static_cast<bool>(navigation.opened), stays);
    if (navigation.opened) delete navigation.opened.data();
    EXPECT_FALSE(target.image.Differs(image));
    sheet.reset();
  }
}

TEST_F(Chooser, HoverMovesTheCursorAndReleasePicks) {
  Show("GI_Sheet_Common_Common", 0);
  const QPoint cell = CursorTo(CL_Comm_Cont);
  Key(Qt::Key_Return);
  ASSERT_TRUE(navigation.opened);
  cuiGrid& grid = *List().Grid();
  ASSERT_EQ(grid.Row(), 2);
  QTest::mouseMove(grid.viewport(), grid.CellRect(0, 6).center());
  EXPECT_EQ(grid.Row(), 6);
  QTest::mouseMove(grid.viewport(), grid.CellRect(0, 5).center());
  EXPECT_EQ(grid.Row(), 5);
  EXPECT_TRUE(navigation.opened);
  QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(0, 5).center());
  Settle();
  EXPECT_FALSE(navigation.opened);
  EXPECT_EQ(Shown(cell), "6");
}

// The other window a key opens over a cell.
class MenuKey : public ChooserPages {};

TEST_F(MenuKey, OpensTheCellMenuBelowTheCursorCell) {
  iuiSheet& page = Show("GI_Sheet_IntCh", 1);
  page.Grid()->SetCursor(2, 5);
  QTest::keyClick(page.Grid(), Qt::Key_Menu);
  Settle();
  ASSERT_TRUE(page.PopupMenu()->isVisible());
  EXPECT_EQ(page.LastMenuName(), "GI_PMenu_Ch");
  EXPECT_EQ(page.PopupMenu()->geometry().topLeft(), OnDesktop(*page.Grid(), {2, 5}).bottomLeft());
  page.PopupMenu()->hide();
}

}  // namespace
}  // namespace uitest
