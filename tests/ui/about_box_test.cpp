// SPDX-License-Identifier: GPL-3.0-or-later
// The About box on real widgets with the shipped overlay: where its parts
// sit relative to the icon, the typed characters it passes on, and the main
// window it disables until it closes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "text/gtex.h"
#include "ui/about_box.h"

namespace {

class AboutBoxTest : public ::testing::Test {
 protected:
  AboutBoxTest() {
    table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
    mainWindow.setGeometry(40, 40, 700, 500);
    mainWindow.show();
  }

  cuiAboutBox* Open(const QPixmap& icon = QPixmap()) {
    box = new cuiAboutBox(&mainWindow, table, icon, [this](QChar c) { typed += c; });
    return box;
  }

  cmcGTex table;
  QWidget mainWindow;
  QPointer<cuiAboutBox> box;
  QString typed;
};

TEST_F(AboutBoxTest, PartsSitRelativeToTheIcon) {
  for (int side : {32, 48}) {
    QPixmap icon(side, side);
    icon.fill(Qt::darkCyan);
    cuiAboutBox* about = Open(icon);
    const QRect iconRect = about->Icon()->geometry();
    const QRect label = about->Label()->geometry();
    const QRect button = about->Button()->geometry();
    EXPECT_EQ(iconRect, QRect(side / 2, side / 2, side, side)) << side;
    EXPECT_EQ(label.left(), iconRect.left() + side * 3 / 2) << side;
    EXPECT_EQ(label.top(), 0) << side;
    EXPECT_EQ(about->Label()->text().toStdString(),
              table.Text("GI_Sys_AppTitle") + " " + table.Text("GI_App_About_Revision"));
    EXPECT_EQ(button.width(), side * 5 / 2) << side;
    EXPECT_EQ(button.left(), label.left() + label.width() + 2 * side) << side;
    EXPECT_EQ(button.top(), side / 4) << side;
    EXPECT_EQ(about->width(), button.left() + button.width() + side / 4) << side;
    // Never shorter than the label's bottom plus half an icon, and the
    // icon and the button are shown whole.
    EXPECT_GE(about->height(), label.top() + label.height() + side / 2) << side;
    EXPECT_GE(about->height(), iconRect.top() + iconRect.height() + side / 2) << side;
    EXPECT_GE(about->height(), button.top() + button.height()) << side;
    EXPECT_EQ(about->windowTitle().toStdString(), table.Text("GI_App_About_Caption"));
    EXPECT_EQ(about->Button()->text().toStdString(), table.Text("GI_App_About_Button"));
    EXPECT_TRUE(about->Button()->isDefault());
    EXPECT_LE(
        (about->frameGeometry().center() - mainWindow.frameGeometry().center()).manhattanLength(),
        1);
    about->close();
  }
}

TEST_F(AboutBoxTest, TypedCharactersReachTheHandlerOnce) {
  Open();
  QWidget* focus = box->focusWidget() ? box->focusWidget() : box.data();
  QTest::keyClicks(focus, "KelPish");
  EXPECT_EQ(typed, "KelPish");
  // A key sent to the box itself, with no control focused, counts as well.
  box->Button()->clearFocus();
  box->setFocus();
  QTest::keyClicks(box->focusWidget() ? box->focusWidget() : box.data(), "x");
  EXPECT_EQ(typed, "KelPishx");
}

TEST_F(AboutBoxTest, MainWindowDisabledUntilTheBoxCloses) {
  struct Case {
    const char* how;
    std::function<void(cuiAboutBox&)> close;
  };
  const Case cases[] = {
      {"button", [](cuiAboutBox& b) { QTest::mouseClick(b.Button(), Qt::LeftButton); }},
      {"escape", [](cuiAboutBox& b) { QTest::keyClick(b.Button(), Qt::Key_Escape); }},
      {"window", [](cuiAboutBox& b) { b.close(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    Open();
    EXPECT_FALSE(mainWindow.isEnabled());
    EXPECT_TRUE(box->isVisible());
    EXPECT_FALSE(box->isModal());
    c.close(*box);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull()) << c.how << ": the box is released";
    EXPECT_TRUE(mainWindow.isEnabled());
  }
}

}  // namespace
