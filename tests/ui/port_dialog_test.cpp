// SPDX-License-Identifier: GPL-3.0-or-later
// The port selection dialog on real widgets with the shipped overlay: what
// OK accepts in each mode, the message that keeps the dialog open, the
// lists refilled as they drop down, and the layout rules.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "model/command_roles.h"
#include "platform/recording_responder.h"
#include "text/gtex.h"
#include "ui/port_dialog.h"

namespace {

class FakePorts : public PortRole {
 public:
  int CurrentPort() const override { return port; }
  void SetPort(int p) override {
    port = p;
    ++sets;
  }
  int port = 3;
  int sets = 0;
};

class PortDialogTest : public ::testing::Test {
 protected:
  PortDialogTest() {
    table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
    mainWindow.setGeometry(40, 40, 700, 500);
    mainWindow.show();
  }

  std::unique_ptr<cuiPortDialog> Make(int mode, int current) {
    auto dialog = std::make_unique<cuiPortDialog>(
        &mainWindow, table, mode, current, [this] { return numbers; }, [this] { return names; });
    dialog->show();
    return dialog;
  }

  void Type(cuiPortDialog& dialog, const QString& text) {
    if (dialog.Edit())
      dialog.Edit()->setText(text);
    else
      dialog.Combo()->setEditText(text);
  }

  cmcGTex table;
  QWidget mainWindow;
  std::vector<std::string> numbers = {"1", "3", "12"};
  std::vector<std::string> names = {"3: Zelm USB-to-Serial Comm. Port (COM3)",
                                    "12: FTDI FT232R USB UART (COM12)"};
  platform::RecordingResponder responder;
};

TEST_F(PortDialogTest, OkAcceptsOnlyPortsOneTo256) {
  struct Case {
    int mode;
    const char* typed;
    int port;  // 0: refused with the message
  };
  const Case cases[] = {
      {0, " 7 ", 7}, {0, "1", 1},  {0, "256", 256}, {0, "257", 0},  {0, "0", 0},   {0, "", 0},
      {0, "x7", 0},  {0, "-3", 0}, {1, "12", 12},   {1, " 40", 40}, {1, "999", 0}, {1, "COM3", 0},
  };
  for (const Case& c : cases) {
    responder.Clear();
    auto dialog = Make(c.mode, 3);
    Type(*dialog, c.typed);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    const std::string what = std::to_string(c.mode) + " '" + c.typed + "'";
    if (c.port) {
      EXPECT_EQ(responder.Count(), 0) << what;
      EXPECT_EQ(dialog->result(), QDialog::Accepted) << what;
      EXPECT_EQ(dialog->ChosenPort(), c.port) << what;
      EXPECT_FALSE(dialog->isVisible()) << what;
    } else {
      ASSERT_EQ(responder.Count(), 1) << what;
      EXPECT_EQ(responder.Last().text, table.Block("GI_AppInd_Opt_ComSel_OutofRange")) << what;
      EXPECT_EQ(responder.Last().caption, table.Text("GI_Sys_AppTitle")) << what;
      EXPECT_EQ(responder.Last().style, platform::kMbOk | platform::kMbIconStop) << what;
      EXPECT_TRUE(dialog->isVisible()) << what;
      EXPECT_EQ(dialog->ChosenPort(), 0) << what;
      QWidget* focus = dialog->focusWidget();
      EXPECT_TRUE(focus == dialog->Entry() || (focus && focus->parentWidget() == dialog->Entry()))
          << what;
    }
  }
}

TEST_F(PortDialogTest, EntriesShowTheCurrentPortAndTakeFourCharacters) {
  auto edit = Make(0, 42);
  EXPECT_EQ(edit->Edit()->text(), "42");
  EXPECT_EQ(edit->Edit()->maxLength(), 4);
  EXPECT_EQ(edit->Combo(), nullptr);
  auto combo = Make(1, 42);
  EXPECT_TRUE(combo->Combo()->isEditable());
  EXPECT_EQ(combo->Combo()->currentText(), "42");
  EXPECT_EQ(combo->Combo()->lineEdit()->maxLength(), 4);
  EXPECT_EQ(combo->Combo()->count(), 3);
}

TEST_F(PortDialogTest, ModeTwoPicksADeviceFromTheNameList) {
  auto dialog = Make(2, 12);
  QComboBox& list = *dialog->Combo();
  EXPECT_FALSE(list.isEditable());
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.currentIndex(), 1) << "the current port is selected";
  list.setCurrentIndex(0);
  QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->ChosenPort(), 3);
  EXPECT_EQ(responder.Count(), 0);

  // Without an entry for the current port nothing is selected, and OK
  // refuses the empty choice.
  auto none = Make(2, 5);
  EXPECT_EQ(none->Combo()->currentIndex(), -1);
  QTest::mouseClick(none->OkButton(), Qt::LeftButton);
  EXPECT_EQ(responder.Count(), 1);
  EXPECT_TRUE(none->isVisible());
}

TEST_F(PortDialogTest, ListsAreRefilledAsTheyDropDown) {
  auto byName = Make(2, 3);
  names.push_back("20: Long Named Bluetooth Serial Adapter With A Very Long Description (COM20)");
  byName->Combo()->showPopup();
  EXPECT_EQ(byName->Combo()->count(), 3);
  EXPECT_EQ(byName->Combo()->currentIndex(), 0);
  EXPECT_GE(byName->Combo()->view()->minimumWidth(), byName->Combo()->width())
      << "the drop-down widens to its widest entry";
  byName->Combo()->hidePopup();

  auto byNumber = Make(1, 3);
  byNumber->Combo()->setEditText("77");
  numbers = {"5"};
  byNumber->Combo()->showPopup();
  byNumber->Combo()->hidePopup();
  EXPECT_EQ(byNumber->Combo()->count(), 1);
  EXPECT_EQ(byNumber->Combo()->currentText(), "77") << "refilling keeps what was typed";
}

TEST_F(PortDialogTest, AnAdapterPluggedInOrPulledOutShowsWhileTheDialogIsOpen) {
  QTemporaryDir dev;
  ASSERT_TRUE(dev.isValid());
  const QString byId = dev.filePath("serial/by-id");
  auto dialog = Make(2, 3);
  dialog->WatchFolders({dev.path(), dev.filePath("serial"), byId});
  QComboBox& list = *dialog->Combo();
  list.setCurrentIndex(1);  // the user's pick, not the current port

  // Plugged in: the node appears, and by-id with it, which was not there
  // to be watched before.
  names.push_back("20: FTDI FT232R USB UART (COM20)");
  ASSERT_TRUE(QDir().mkpath(byId));
  QTRY_COMPARE_WITH_TIMEOUT(list.count(), 3, 5000);
  EXPECT_EQ(list.currentIndex(), 1) << "the pick survives the refresh";

  // Pulled out: the link in by-id goes.
  names = {"3: Zelm USB-to-Serial Comm. Port (COM3)"};
  QFile link(byId + "/usb-FTDI-if00-port0");
  ASSERT_TRUE(link.open(QIODevice::WriteOnly));
  link.close();
  QTest::qWait(50);
  ASSERT_TRUE(link.remove());
  QTRY_COMPARE_WITH_TIMEOUT(list.count(), 1, 5000);
  EXPECT_EQ(list.currentIndex(), 0) << "the pick went, so the current port is selected";

  // The typed dialog has no list to refresh.
  auto typed = Make(0, 3);
  typed->WatchFolders({dev.path()});
  EXPECT_EQ(typed->Combo(), nullptr);
}

TEST_F(PortDialogTest, ChooseSetsThePortOnlyOnOk) {
  struct Case {
    const char* how;
    const char* typed;
    bool ok;
    int expected;
  };
  const Case cases[] = {{"ok", "9", true, 9}, {"cancel", "9", false, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    FakePorts ports;
    QTimer::singleShot(0, [&] {
      auto* dialog = dynamic_cast<cuiPortDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->Edit()->setText(c.typed);
      QTest::mouseClick(c.ok ? dialog->OkButton() : dialog->CancelButton(), Qt::LeftButton);
    });
    EXPECT_EQ(cuiPortDialog::Choose(&mainWindow, table, 0, ports), c.ok);
    EXPECT_EQ(ports.port, c.expected);
    EXPECT_EQ(ports.sets, c.ok ? 1 : 0);
    EXPECT_EQ(responder.Count(), 0);
  }
}

TEST_F(PortDialogTest, LayoutFollowsTheDialogFont) {
  for (int mode : {0, 1, 2}) {
    auto dialog = Make(mode, 3);
    const QFontMetrics fm = dialog->fontMetrics();
    const int m = fm.height();
    const QRect notice = dialog->Notice()->geometry();
    const QRect entry = dialog->Entry()->geometry();
    const QRect ok = dialog->OkButton()->geometry();
    const QRect cancel = dialog->CancelButton()->geometry();
    const int buttonWidth = fm.horizontalAdvance(
        QString::fromStdString(table.Text("GI_AppInd_Opt_ComSel_SizeOfButtons")));
    EXPECT_EQ(notice.topLeft(), QPoint(m, m)) << mode;
    EXPECT_EQ(dialog->Notice()->text().toStdString(), table.Block("GI_AppInd_Opt_ComSel_Notice"))
        << mode;
    EXPECT_EQ(entry.left(), m + fm.horizontalAdvance("WW")) << mode;
    EXPECT_EQ(entry.top(), notice.top() + notice.height() + m / 2) << mode;
    EXPECT_GE(entry.height(), fm.height()) << mode;
    EXPECT_EQ(ok.size(), QSize(buttonWidth, 2 * fm.height())) << mode;
    EXPECT_EQ(cancel.size(), ok.size()) << mode;
    EXPECT_EQ(ok.top(), entry.top() + 4 * entry.height()) << mode;
    EXPECT_EQ(cancel.top(), ok.top()) << mode;
    EXPECT_EQ(cancel.left() + cancel.width(), dialog->width() - m)
        << mode << ": Cancel m from the right";
    EXPECT_EQ(ok.left() + ok.width(), cancel.left() - m) << mode << ": OK m left of Cancel";
    EXPECT_GE(ok.left(), m) << mode;
    EXPECT_EQ(dialog->height(), std::max(100, ok.top() + ok.height() + m)) << mode;
    EXPECT_GE(dialog->width(), fm.horizontalAdvance(dialog->windowTitle()) + 100 + m) << mode;
    EXPECT_GE(dialog->width(), entry.left() + entry.width() + m) << mode;
    EXPECT_EQ(dialog->windowTitle().toStdString(), table.Text("GI_AppInd_Opt_ComSel_Caption"))
        << mode;
    EXPECT_TRUE(dialog->OkButton()->isDefault()) << mode;
    EXPECT_FALSE(dialog->Entry()->testAttribute(Qt::WA_InputMethodEnabled)) << mode;
    EXPECT_LE(
        (dialog->frameGeometry().center() - mainWindow.frameGeometry().center()).manhattanLength(),
        1)
        << mode;
  }
}

}  // namespace
