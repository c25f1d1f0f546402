// SPDX-License-Identifier: GPL-3.0-or-later
// A user's short session on real widgets, through the real evaluator, with
// keys and menus only: a frequency typed in place, a value picked from a
// drop-down list, and a channel copied and pasted through the cell menu.
// Every step is checked in the image itself.
#include <QMenu>

#include "model/eeprom.h"
#include "ui/chooser_support.h"
#include "ui/grid.h"

namespace uitest {
namespace {

class SheetStory : public ChooserPages {
 protected:
  void Type(const std::string& text) {
    for (char ch : text) {
      QWidget* to = sheet->Editor() && sheet->Editor()->isVisible()
                        ? static_cast<QWidget*>(sheet->Editor())
                        : sheet->Grid();
      QTest::keyClicks(to, QString(QChar(ch)));
    }
  }
  // The cell menu item with that mnemonic, chosen from the keyboard.
  void MenuItem(Qt::Key mnemonic) {
    QTest::keyClick(sheet->Grid(), Qt::Key_Menu);
    Settle();
    ASSERT_TRUE(sheet->PopupMenu()->isVisible());
    QTest::keyClick(sheet->PopupMenu(), mnemonic);
    Settle();
  }
  QPoint At() const { return {sheet->Grid()->Col(), sheet->Grid()->Row()}; }
};

TEST_F(SheetStory, TypeAFrequencyCopyAndPasteTheChannelThenPickASetting) {
  // The free channels: the cursor starts on the first channel's name.
  Show("GI_Sheet_FreeCh", 0);
  ASSERT_EQ(At(), QPoint(1, 1));
  cmcEeprom before = target.image;
  Type("HAb");
  Key(Qt::Key_Return);
  EXPECT_EQ(Shown({1, 1}), "HAb");
  EXPECT_TRUE(target.image.Differs(before));

  // A frequency typed in place.
  Key(Qt::Key_Right);
  ASSERT_EQ(At(), QPoint(2, 1));
  before = target.image;
  Type("156.050");
  ASSERT_TRUE(sheet->Editor()->isVisible());
  EXPECT_FALSE(target.image.Differs(before)) << "nothing is stored before the commit";
  Key(Qt::Key_Return);
  EXPECT_FALSE(sheet->Editor()->isVisible());
  EXPECT_EQ(Shown({2, 1}), "156.05000");
  EXPECT_TRUE(target.image.Differs(before));

  // Copy the channel from the cell menu, change it, paste the copy back:
  // the image is again byte for byte what it was when copied.
  const cmcEeprom copied = target.image;
  MenuItem(Qt::Key_C);
  EXPECT_FALSE(target.image.Differs(copied)) << "copying leaves the image alone";
  Type("157.000");
  Key(Qt::Key_Return);
  ASSERT_EQ(Shown({2, 1}), "157.00000");
  ASSERT_TRUE(target.image.Differs(copied));
  MenuItem(Qt::Key_P);
  EXPECT_EQ(Shown({2, 1}), "156.05000");
  EXPECT_EQ(Shown({1, 1}), "HAb");
  EXPECT_FALSE(target.image.Differs(copied));
  sheet.reset();

  // The common settings: display contrast from its drop-down list.
  Show("GI_Sheet_Common_Common", 0);
  const QPoint contrast = CursorTo(CL_Comm_Cont);
  ASSERT_EQ(Shown(contrast), "3");
  before = target.image;
  Key(Qt::Key_Return);
  ASSERT_TRUE(navigation.opened);
  EXPECT_FALSE(target.image.Differs(before));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Return);
  EXPECT_FALSE(navigation.opened);
  EXPECT_EQ(Shown(contrast), "5");
  EXPECT_TRUE(target.image.Differs(before));
}

}  // namespace
}  // namespace uitest
