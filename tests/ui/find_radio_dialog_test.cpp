// SPDX-License-Identifier: GPL-3.0-or-later
// The Find the Radio window on real widgets, over pseudo-terminals with the
// radio simulator: a line per port as it answers, the one radio chosen at
// once, a choice among two, and Stop or closing the window closing every
// port at once.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "radio/radio_finder.h"
#include "support/counting_serial_device.h"
#include "support/radio_sim.h"
#include "text/gtex.h"
#include "ui/find_radio_dialog.h"

namespace {

struct Used {
  int port = 0;
  std::string status;
};

class FindRadioDialogTest : public ::testing::Test {
 protected:
  FindRadioDialogTest() {
    table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
    previous = gGTex;
    gGTex = &table;
    mainWindow.setGeometry(40, 40, 800, 500);
    mainWindow.show();
  }
  ~FindRadioDialogTest() override {
    delete dialog.data();
    gGTex = previous;
  }

  // Simulators from COM7 on: "radio" (model 0), "silent" (a cable, no
  // radio), "deaf" (no echo).
  void Start(const std::vector<std::string>& kinds) {
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      sims.push_back(std::make_unique<testsupport::RadioSim>());
      const QStringList options =
          kinds[i] == "radio" ? QStringList{"--model", "0"}
                              : QStringList{"--fault", kinds[i] == "silent" ? "silent" : "no-echo"};
      ASSERT_TRUE(sims.back()->Start(options)) << sims.back()->Error();
      ports.tried.push_back(
          {7 + static_cast<int>(i), sims.back()->Device(), "", clsFindPort::kMapped});
    }
  }

  void Open() {
    dialog = new cuiFindRadioDialog(
        &mainWindow, table, [this] { return ports; },
        [this](int port, const std::string& status) {
          used.push_back({port, status});
        },
        CountingDevices(count));
  }

  static bool Until(const std::function<bool()>& cond, int guardMs = 20000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (cond()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(guardMs, &loop, &QEventLoop::quit);
    if (!cond()) loop.exec();
    return cond();
  }
  bool SearchOver() {
    return Until([this] { return dialog && !dialog->Searching(); });
  }

  std::string Cell(int row, int column) const {
    const QTableWidgetItem* item = dialog->Lines()->item(row, column);
    return item ? item->text().toStdString() : std::string();
  }
  int RowOf(int port) const {
    const std::string head = "COM" + std::to_string(port) + " (";
    for (int row = 0; row < dialog->Lines()->rowCount(); ++row) {
      if (Cell(row, 0).rfind(head, 0) == 0) return row;
    }
    return -1;
  }

  cmcGTex table;
  cmcGTex* previous = nullptr;
  QWidget mainWindow;
  std::vector<std::unique_ptr<testsupport::RadioSim>> sims;
  radiofind::PortSet ports;
  std::shared_ptr<OpenCount> count = std::make_shared<OpenCount>();
  std::vector<Used> used;
  QPointer<cuiFindRadioDialog> dialog;
};

TEST_F(FindRadioDialogTest, TheOneRadioIsListedNamedAndChosen) {
  Start({"radio", "silent", "deaf"});
  ports.leftOut.push_back({1, "/dev/ttyS0", "", clsFindPort::kPlatform});
  Open();
  EXPECT_TRUE(dialog->Searching());
  EXPECT_TRUE(dialog->StopButton()->isEnabled());
  EXPECT_FALSE(dialog->AgainButton()->isEnabled());
  ASSERT_TRUE(SearchOver());

  ASSERT_EQ(dialog->Lines()->rowCount(), 3);
  const int row = RowOf(7);
  ASSERT_GE(row, 0);
  EXPECT_EQ(Cell(row, 0), "COM7 (" + sims[0]->Device() + ")");
  EXPECT_EQ(Cell(row, 1).rfind("USA, revision 1.0, comment", 0), 0u) << Cell(row, 1);
  EXPECT_NE(Cell(RowOf(8), 1).find("no radio"), std::string::npos);
  EXPECT_NE(Cell(RowOf(9), 1).find("no radio"), std::string::npos);

  // Chosen as soon as the search is over, and said so.
  ASSERT_EQ(used.size(), 1u);
  EXPECT_EQ(used[0].port, 7);
  EXPECT_NE(used[0].status.find("COM7"), std::string::npos) << used[0].status;
  EXPECT_NE(used[0].status.find("USA"), std::string::npos) << used[0].status;
  EXPECT_NE(dialog->Summary()->text().indexOf("COM7"), -1);
  EXPECT_TRUE(dialog->UseButton()->isEnabled());
  EXPECT_TRUE(dialog->AgainButton()->isEnabled());
  EXPECT_FALSE(dialog->StopButton()->isEnabled());
  // The window says what it asked and what it left out.
  const QString asked = dialog->Asked()->text();
  for (const char* port : {"COM7", "COM8", "COM9", "COM1 (/dev/ttyS0)"})
    EXPECT_NE(asked.indexOf(QLatin1String(port)), -1) << port << ": " << asked.toStdString();
  EXPECT_EQ(count->now, 0);
}

TEST_F(FindRadioDialogTest, AmongTwoRadiosTheUserChooses) {
  Start({"radio", "deaf", "radio"});
  Open();
  ASSERT_TRUE(SearchOver());
  EXPECT_TRUE(used.empty()) << "nothing is chosen for the user among two";
  EXPECT_NE(dialog->Summary()->text().indexOf(QLatin1String("2 radios")), -1)
      << dialog->Summary()->text().toStdString();
  // A line without a radio offers nothing to use.
  dialog->Lines()->selectRow(RowOf(8));
  EXPECT_FALSE(dialog->UseButton()->isEnabled());
  dialog->Lines()->selectRow(RowOf(9));
  ASSERT_TRUE(dialog->UseButton()->isEnabled());
  QTest::mouseClick(dialog->UseButton(), Qt::LeftButton);
  ASSERT_EQ(used.size(), 1u);
  EXPECT_EQ(used[0].port, 9);
  EXPECT_TRUE(Until([this] { return !dialog || !dialog->isVisible(); }))
      << "the window closes once a port is used";
}

TEST_F(FindRadioDialogTest, NoRadioIsSaidAndNothingIsChosen) {
  Start({"silent", "deaf"});
  Open();
  ASSERT_TRUE(SearchOver());
  EXPECT_TRUE(used.empty());
  EXPECT_FALSE(dialog->UseButton()->isEnabled());
  EXPECT_NE(dialog->Summary()->text().indexOf(QLatin1String("No radio answered")), -1);
}

// Stop ends the search where it is; closing the window (Escape) does the
// same, so no port stays held by a window that has gone.
TEST_F(FindRadioDialogTest, StopAndCloseEndTheSearchAndCloseEveryPort) {
  Start({"silent", "deaf", "silent"});
  Open();
  ASSERT_TRUE(Until([this] { return count->now == 3; }));
  QTest::mouseClick(dialog->StopButton(), Qt::LeftButton);
  EXPECT_EQ(count->now, 0);
  EXPECT_FALSE(dialog->Searching());
  EXPECT_TRUE(dialog->AgainButton()->isEnabled());
  EXPECT_NE(dialog->Summary()->text().indexOf(QLatin1String("stopped")), -1);

  QTest::mouseClick(dialog->AgainButton(), Qt::LeftButton);
  ASSERT_TRUE(Until([this] { return count->now == 3; }));
  EXPECT_EQ(dialog->Lines()->rowCount(), 0) << "a new search starts with an empty list";
  QTest::keyClick(dialog, Qt::Key_Escape);
  EXPECT_EQ(count->now, 0);
  EXPECT_TRUE(Until([this] { return !dialog || !dialog->isVisible(); }));
  QEventLoop settle;
  QTimer::singleShot(1500, &settle, &QEventLoop::quit);
  settle.exec();
  EXPECT_TRUE(used.empty());
}

}  // namespace
