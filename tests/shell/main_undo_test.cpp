// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo through the main window: the keys a user presses on the
// open page, over edits made in place and through the popup menu.
#include <QMenu>
#include <QTest>

#include "model/cell_names.h"
#include "shell/main_window_support.h"
#include "ui/menu.h"

namespace {

class MainUndo : public shelltest::MainWindow {
 protected:
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(KeyTarget(), key, modifiers);
    time.AdvanceBy(60);  // the page reopens on the restored image
    QApplication::processEvents();
  }
  bool Enabled(std::uint32_t cell) {
    globals->Bus().Send(ev::RefreshMenus{});
    QAction* item = Main().Window().Menu()->FindItem(cell);
    return item && item->isEnabled();
  }
};

TEST_F(MainUndo, CtrlZAndCtrlYStepOverAnEditInPlace) {
  Start();
  cuiGrid& grid = OpenFreePage();
  grid.SetCursor(2, 1);
  const cmcEeprom original(Doc().Working());
  const std::string before = Shown(2, 1);
  EXPECT_FALSE(Enabled(CL_Menu_Edit_Undo));
  Type("156.050", Qt::Key_Return);
  ASSERT_EQ(Shown(2, 1), "156.05000");
  const cmcEeprom edited(Doc().Working());
  EXPECT_TRUE(Enabled(CL_Menu_Edit_Undo));

  struct Step {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const cmcEeprom* image;
    std::string shown;
  };
  const Step steps[] = {
      {Qt::Key_Z, Qt::ControlModifier, &original, before},
      {Qt::Key_Y, Qt::ControlModifier, &edited, "156.05000"},
      {Qt::Key_Z, Qt::ControlModifier, &original, before},
      {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, &edited, "156.05000"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.shown);
    Press(s.key, s.modifiers);
    EXPECT_TRUE(Doc().Working().Equals(*s.image));
    ASSERT_NE(Main().Navigation().Sheet(), nullptr);
    EXPECT_EQ(Main().Navigation().Sheet()->PageReference(), "GI_Sheet_FreeCh");
    EXPECT_EQ(Shown(2, 1), s.shown);
    // Undo never clears the modified flag; only saving does.
    EXPECT_TRUE(Doc().IsModified());
  }
  EXPECT_FALSE(Enabled(CL_Menu_Edit_Redo));
}

// A paste of three copied rows changes three channels in one evaluation,
// and one Undo takes all of it back.
TEST_F(MainUndo, APasteOfManyRowsIsOneStep) {
  Start();
  cuiGrid& grid = OpenFreePage();
  grid.SetCursor(1, 1);
  for (const char* name : {"AAA", "CCA", "DDA"}) Type(name, Qt::Key_Down);
  const auto rows = [&](int first) {
    return Shown(1, first) + "|" + Shown(1, first + 1) + "|" + Shown(1, first + 2);
  };
  const std::string typed = rows(1);
  const std::string target = rows(10);
  // The three rows selected and copied by the popup command.
  grid.SetCursor(1, 1);
  QTest::keyClick(KeyTarget(), Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(KeyTarget(), Qt::Key_Down, Qt::ShiftModifier);
  ASSERT_TRUE(Main().Navigation().Sheet()->MultiSelectionActive());
  Main().Navigation().Sheet()->SendKey(1, 1, 0, CL_PMenu_Copy);
  QApplication::processEvents();
  const cmcEeprom beforePaste(Doc().Working());
  grid.SetCursor(1, 10);
  Main().Navigation().Sheet()->SendKey(1, 10, 0, CL_PMenu_Paste);
  QApplication::processEvents();
  ASSERT_TRUE(Doc().Working().Differs(beforePaste));
  ASSERT_EQ(rows(10), typed);

  Press(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(Doc().Working().Equals(beforePaste));
  EXPECT_EQ(rows(10), target);
  EXPECT_EQ(rows(1), typed);
}

}  // namespace
