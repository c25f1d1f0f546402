// SPDX-License-Identifier: GPL-3.0-or-later
// Port > Find the Radio in the main window, and the offer to search in the
// message of a clone command whose radio did not answer: the radio
// simulator on COM7, a cable without a radio on COM8, through the `Ports`
// map, on the program's own timers and real widgets.
#include <QTest>
#include <QToolBar>

#include <memory>

#include "model/cell_names.h"
#include "platform/qtcore/settings_store.h"
#include "shell/main_window_support.h"
#include "support/radio_sim.h"
#include "ui/find_radio_dialog.h"
#include "ui/menu.h"
#include "ui/tool_bar.h"

namespace {

cuiFindRadioDialog* OpenSearch() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = dynamic_cast<cuiFindRadioDialog*>(w); d && d->isVisible()) return d;
  return nullptr;
}

class MainFindRadio : public shelltest::MainWindowBase {
 protected:
  void TearDown() override {
    if (cuiFindRadioDialog* d = OpenSearch()) delete d;
    radio.Stop();
    cable.Stop();
    platform::OpenSettingsStore()->remove("Ports");
    MainWindowBase::TearDown();
  }

  // The radio on COM7, the cable on COM8 playing fault; the window starts
  // on port.
  void StartWith(const char* fault, int port) {
    ASSERT_TRUE(radio.Start({"--model", "0"})) << radio.Error();
    ASSERT_TRUE(cable.Start({"--fault", fault})) << cable.Error();
    auto settings = platform::OpenSettingsStore();
    settings->setValue("Ports/COM7", QString::fromStdString(radio.Device()));
    settings->setValue("Ports/COM8", QString::fromStdString(cable.Device()));
    settings.reset();
    Start({QStringLiteral("seaclone")}, [port](indEnviron& e) {
      e.ComPort = port;
      e.ModelType = 0;
      e.Save();
    });
  }

  // Waits for the search window and for its search to end.
  cuiFindRadioDialog* SearchDone() {
    EXPECT_TRUE(QTest::qWaitFor([] { return OpenSearch() != nullptr; }, 10000));
    cuiFindRadioDialog* d = OpenSearch();
    if (d) {
      EXPECT_TRUE(QTest::qWaitFor([d] { return !d->Searching(); }, 30000));
    }
    return d;
  }

  testsupport::RadioSim radio;
  testsupport::RadioSim cable;
};

// The menu item and the tool-bar button open the search; the one radio's
// port is chosen and the status bar says so.
TEST_F(MainFindRadio, TheMenuAndTheToolBarFindTheRadioAndChooseItsPort) {
  StartWith("silent", 3);
  QAction* item = Main().Window().Menu()->FindItem(CL_Menu_Port_Find);
  ASSERT_NE(item, nullptr);
  item->trigger();
  cuiFindRadioDialog* dialog = SearchDone();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Main().Ports().CurrentPort(), 7);
  const std::string status = Main().Status().Text();
  EXPECT_EQ(status.rfind("The radio is on COM7 (" + radio.Device() + "): USA, revision 1.0", 0), 0u)
      << status;
  dialog->close();
  EXPECT_TRUE(QTest::qWaitFor([] { return OpenSearch() == nullptr; }, 5000));

  Main().Ports().SetPort(3);
  QAction* button = nullptr;
  for (QToolBar* row : Main().Window().ToolBar()->Rows()) {
    for (QAction* a : row->actions()) {
      const cmcCellObj* cell = Main().Window().ToolBar()->CellOf(a);
      if (cell && cell->Cell() == CL_Menu_Port_Find) button = a;
    }
  }
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->icon().isNull());
  button->trigger();
  ASSERT_NE(SearchDone(), nullptr);
  EXPECT_EQ(Main().Ports().CurrentPort(), 7);
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
}

// A radio that did not answer may be on another port: the one message of
// the failure offers the search. An answer that is wrong, or a port in use,
// is no reason to look elsewhere.
TEST_F(MainFindRadio, TheMessageOfARadioThatDidNotAnswerOffersTheSearch) {
  struct Case {
    const char* fault;
    bool offered;
  };
  const Case cases[] = {{"silent", true}, {"no-echo", true}, {"value2-zero", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    StartWith(c.fault, 8);
    const std::string question = gGTex->Block("GI_Mess_FindRadio_Offer");
    responder.Clear();
    responder.Answer(platform::kIdNo);
    Main().Documents().CloneInformation();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Doc().CloneMan().IsBusy(); }, 30000));
    ASSERT_EQ(responder.Count(), 1);
    const auto& message = responder.Last();
    const bool asks =
        message.text.size() > question.size() &&
        message.text.compare(message.text.size() - question.size(), question.size(), question) == 0;
    EXPECT_EQ(asks, c.offered) << message.text;
    EXPECT_EQ(message.style, c.offered ? platform::kMbYesNo | platform::kMbIconStop
                                       : platform::kMbOk | platform::kMbIconStop);
    QTest::qWait(50);
    EXPECT_EQ(OpenSearch(), nullptr) << "No opens nothing";
    EXPECT_EQ(Main().Ports().CurrentPort(), 8);
    radio.Stop();
    cable.Stop();
    form.reset();
    globals.reset();
  }

  // Yes: the search runs and takes the radio's port.
  StartWith("silent", 8);
  responder.Answer(platform::kIdYes);
  Main().Documents().CloneInformation();
  ASSERT_NE(SearchDone(), nullptr);
  EXPECT_EQ(Main().Ports().CurrentPort(), 7);
}

}  // namespace
