// SPDX-License-Identifier: GPL-3.0-or-later
// The rest of the main window's stories: the cursor after switching the
// channel view, the status bar's panels, the port menu with its dialog,
// and maker mode through the About box.
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "model/cell_names.h"
#include "model/datch.h"
#include "platform/qtcore/settings_store.h"
#include "shell/main_window_support.h"
#include "support/cli_support.h"
#include "support/radio_sim.h"
#include "ui/about_box.h"
#include "ui/flector.h"
#include "ui/information.h"
#include "ui/menu.h"
#include "ui/port_dialog.h"

namespace {

using shelltest::MainWindow;
using shelltest::MainWindowBase;

template <class W>
W* VisibleTopLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = dynamic_cast<W*>(w); found && found->isVisible()) return found;
  return nullptr;
}

// The first cell of this cell and channel on the open page, as (column, row).
std::optional<QPoint> FindCell(cuiSheet& sheet, std::uint32_t cell, int number) {
  cuiGrid& grid = *sheet.Grid();
  for (int row = 0; row < grid.RowCount(); ++row)
    for (int column = 0; column < grid.ColCount(); ++column) {
      const cmcCellObj& c = sheet.CellAt(column, row);
      if (c.Cell() == cell && c.Number() == number) return QPoint(column, row);
    }
  return std::nullopt;
}

// --- The cursor after the channel view is switched from the attribute list.

struct PlanCase {
  const char* name;
  int cursor;                                  // the USA channel the cursor is on
  std::vector<std::pair<int, int>> inhibited;  // index ranges, both ends included
  int p, c;                                    // the plan's P and C channels (-1: none)
  int expected;
};

class ChannelView : public MainWindow {
 protected:
  // The USA page in the usable-channels view, over an image set up as the
  // case says but with the cursor's channel still usable.
  void OpenUsaPage(const PlanCase& c) {
    Start({QStringLiteral("seaclone")}, [](indEnviron& e) {
      e.ChListType = 1;
      e.Save();
    });
    cmcEeprom& image = Doc().Working();
    image.SetByte(memmap::kFlags972, image.GetByte(memmap::kFlags972) | 1);
    datCh channel(&image);
    for (int i = 0; i < memmap::kPlanEntries; ++i) {
      channel.Load(memmap::kCatUsa, i);
      bool off = false;
      for (auto [first, last] : c.inhibited)
        off = off || (i >= first && i <= last && i != c.cursor);
      channel.attr = off ? (channel.attr | datCh::kAtInhibit) : (channel.attr & ~datCh::kAtInhibit);
      channel.acFlags = 0;
      channel.Store();
    }
    const int slot = memmap::PlanSlot(memmap::kCatUsa);
    image.SetWord(memmap::kPWords + 2 * slot, static_cast<std::uint16_t>(c.p));
    image.SetWord(memmap::kCWords + 2 * slot, static_cast<std::uint16_t>(c.c));
    globals->Bus().Send(ev::RebuildChannelNodes{});

    QApplication::setActiveWindow(form.get());
    QTreeWidgetItem* node = Main().Navigation().Tree()->FindNode("GI_Sheet_UsaCh");
    ASSERT_NE(node, nullptr);
    Main().Navigation().Tree()->Widget()->setCurrentItem(node);
    ASSERT_TRUE(WaitUntil([this] {
      return Main().Navigation().Sheet() &&
             Main().Navigation().Sheet()->PageReference() == "GI_Sheet_UsaCh";
    }));
    cuiGrid& grid = *Main().Navigation().Sheet()->Grid();
    ASSERT_TRUE(WaitUntil([&] { return grid.isVisible() && grid.CellRect(1, 1).height() > 1; }));
    const auto at = FindCell(*Main().Navigation().Sheet(), CL_ChList_Atr, c.cursor);
    ASSERT_TRUE(at) << "channel " << c.cursor << " is not listed";
    grid.setFocus();
    grid.SetCursor(at->x(), at->y());
  }

  // Opens the attribute list on the cursor cell and picks an item, as the
  // user does with Enter, the arrow keys and Enter.
  void Choose(int item) {
    QTest::keyClick(Main().Navigation().Sheet()->Grid(), Qt::Key_Return);
    cuiFlector* list = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (list = VisibleTopLevel<cuiFlector>()) != nullptr; }));
    cuiSheet& choices = list->Sheet();
    const auto at = FindCell(choices, Flex0, item);
    ASSERT_TRUE(at);
    choices.Grid()->SetCursor(at->x(), at->y());
    QTest::keyClick(choices.Grid(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([] { return VisibleTopLevel<cuiFlector>() == nullptr; }));
  }
};

TEST_F(ChannelView, ShowingAllChannelsPutsTheCursorOnTheNearestUsableOne) {
  const PlanCase cases[] = {
      {"the next one up", 10, {{10, 14}}, -1, -1, 15},
      {"the P channel though inhibited", 10, {{10, 417}}, 12, -1, 12},
      {"the C channel though inhibited", 10, {{10, 417}}, -1, 11, 11},
      {"none up, so the first down from the top", 10, {{10, 417}, {0, 6}}, -1, -1, 9},
      {"none at all", 0, {{0, 417}}, -1, -1, 0},
  };
  for (const PlanCase& c : cases) {
    SCOPED_TRACE(c.name);
    OpenUsaPage(c);
    if (HasFatalFailure()) return;
    QPointer<cuiGrid> before = Main().Navigation().Sheet()->Grid();
    Choose(3);  // inhibits the cursor's channel
    EXPECT_TRUE(datCh::kAtInhibit & [&] {
      datCh ch(&Doc().Working());
      ch.Load(memmap::kCatUsa, c.cursor);
      return ch.attr;
    }());
    Choose(4);  // shows all channels
    ASSERT_TRUE(WaitUntil([&] { return before.isNull() && Main().Navigation().Sheet(); }));
    EXPECT_EQ(gEnviron->ChListType, 0);
    EXPECT_EQ(Main().Navigation().Sheet()->PageReference(), "GI_Sheet_UsaCh");
    cuiSheet& sheet = *Main().Navigation().Sheet();
    const cmcCellObj& cursor = sheet.CellAt(sheet.Grid()->Col(), sheet.Grid()->Row());
    EXPECT_EQ(cursor.Cell(), static_cast<std::uint32_t>(CL_ChList_Atr));
    EXPECT_EQ(cursor.Category(), CT_UsaCh);
    EXPECT_EQ(cursor.Number(), c.expected);
    form.reset();
    globals.reset();
  }
}

// --- The status bar.

// The bounding box of the pixels of this colour inside rect of image.
QRect PixelsOf(const QImage& image, const QRect& rect, QColor colour) {
  QRect box;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.pixelColor(x, y) == colour) box |= QRect(x, y, 1, 1);
  return box;
}

TEST_F(MainWindow, MakerPanelSitsBeforeTheLastPanelInMaroonWithItsTextCentred) {
  Start({QStringLiteral("seaclone"), QStringLiteral("/kelpish")});
  ASSERT_TRUE(Main().Maker());
  cuiStatusBar& bar = *Main().Window().StatusBar();
  ASSERT_EQ(bar.PanelCount(), 3);
  const QFontMetrics metrics(bar.font());
  const QString text = QString::fromStdString(gGTex->Text("GI_StatusPanel_Maker"));
  ASSERT_FALSE(text.isEmpty());
  EXPECT_EQ(bar.PanelWidth(1),
            metrics.horizontalAdvance(text) + metrics.horizontalAdvance(QStringLiteral("XX")));
  EXPECT_EQ(bar.PanelWidth(2), bar.height());
  EXPECT_EQ(bar.PanelWidth(0), bar.width() - bar.PanelWidth(1) - bar.PanelWidth(2));

  const QImage shot = bar.grab().toImage();
  const QRect panel = bar.Panel(1)->geometry();
  EXPECT_EQ(panel.right() + 1, bar.Panel(2)->geometry().left());
  const QColor maroon(128, 0, 0);
  EXPECT_EQ(shot.pixelColor(panel.topLeft()), maroon);
  EXPECT_EQ(shot.pixelColor(panel.bottomRight()), maroon);
  const QRect white = PixelsOf(shot, panel, Qt::white);
  ASSERT_FALSE(white.isEmpty()) << "no text drawn";
  // Centred both ways: the margins on either side differ by a pixel or two
  // of the glyphs' own bearings at most.
  EXPECT_NEAR(white.left() - panel.left(), panel.right() - white.right(), 3);
  EXPECT_NEAR(white.top() - panel.top(), panel.bottom() - white.bottom(), 3);
}

TEST_F(MainWindow, MessagePanelShowsEventFoursTextAndKeepsAHundredPixels) {
  Start();
  cuiStatusBar& bar = *Main().Window().StatusBar();
  globals->Bus().Send(ev::StatusText{0x0000FF /* red */, 0x00FFFF /* yellow */, "WWWW"});
  EXPECT_EQ(Main().Status().Text(), "WWWW");
  const QImage shot = bar.grab().toImage();
  const QRect panel = bar.Panel(0)->geometry();
  EXPECT_EQ(shot.pixelColor(panel.topLeft()), QColor(Qt::yellow));
  EXPECT_EQ(shot.pixelColor(panel.bottomRight() - QPoint(1, 0)), QColor(Qt::yellow));
  const QRect text = PixelsOf(shot, panel, Qt::red);
  ASSERT_FALSE(text.isEmpty()) << "no text drawn";
  EXPECT_LE(text.left() - panel.left(), 3) << "drawn at the panel's left edge";
  EXPECT_NEAR(text.top() - panel.top(), panel.bottom() - text.bottom(), 3);

  const int fixed = bar.PanelWidth(1);
  const struct {
    int width, message;
  } widths[] = {{fixed + 300, 300}, {fixed + 100, 100}, {fixed + 40, 100}, {30, 100}};
  for (const auto& w : widths) {
    SCOPED_TRACE(w.width);
    bar.resize(w.width, bar.height());
    EXPECT_EQ(bar.PanelWidth(0), w.message);
  }
}

// --- Maker mode through the About box.

TEST_F(MainWindow, TheMakerWordTypedIntoTheAboutBoxAsksOnceAndTurnsMakerModeOn) {
  Start();
  const std::vector<std::string> plain = TreePages();
  QAction* about = Main().Window().Menu()->FindItem(CL_Help_About);
  ASSERT_NE(about, nullptr);
  about->trigger();
  cuiAboutBox* box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = VisibleTopLevel<cuiAboutBox>()) != nullptr; }));
  EXPECT_FALSE(form->isEnabled());
  EXPECT_FALSE(Main().CanClose()) << "closing is refused while the box is shown";

  // Keys go where a user's would: the box's focused control.
  QWidget* keys = box->focusWidget() ? box->focusWidget() : box;
  QTest::keyClicks(keys, QStringLiteral("kelpis"));
  EXPECT_EQ(responder.Count(), 0);
  QTest::keyClicks(keys, QStringLiteral("h"));
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_EQ(responder.Last().text, gGTex->Block("GI_Mess_Maker_Caution"));
  EXPECT_EQ(responder.Last().style, platform::kMbOkCancel | platform::kMbIconExclamation);
  EXPECT_TRUE(Main().Maker());
  EXPECT_EQ(TreePages(), ExpectedPages(true));
  EXPECT_NE(TreePages(), plain);
  EXPECT_EQ(Main().Window().StatusBar()->PanelCount(), 3);

  QTest::keyClicks(keys, QStringLiteral("KELPISH"));
  EXPECT_EQ(responder.Count(), 1) << "maker mode is on; nothing more to ask";
  EXPECT_EQ(Main().Window().StatusBar()->PanelCount(), 3);

  QPointer<cuiAboutBox> closing = box;
  QTest::mouseClick(box->Button(), Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return closing.isNull(); }));
  EXPECT_TRUE(form->isEnabled());
}

// --- The port menu and dialog.

class PortMenu : public MainWindowBase {
 protected:
  void TearDown() override {
    sim.Stop();
    platform::OpenSettingsStore()->remove("Ports");
    MainWindowBase::TearDown();
  }
  // The port items as the menu shows them: "COM1".."COM4", then "USB".
  std::vector<QAction*> PortItems() {
    std::vector<QAction*> items;
    for (int n = 1; n <= 4; ++n) items.push_back(Item(CL_Menu_Port_Com, n));
    items.push_back(Item(CL_Menu_Port_Usb, 0));
    return items;
  }
  QAction* Item(std::uint32_t cell, int number) {
    QAction* found = nullptr;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
      for (QAction* a : actions) {
        const cmcCellObj* c = cuiMenu::CellOf(a);
        if (!found && c && c->Cell() == cell && (cell != CL_Menu_Port_Com || c->Number() == number))
          found = a;
        if (a->menu()) walk(a->menu()->actions());
      }
    };
    walk(Main().Window().Menu()->Root()->actions());
    EXPECT_NE(found, nullptr) << CellName(cell) << " " << number;
    return found;
  }
  // Which of COM1..COM4 and USB carry the check mark.
  std::string Checked() {
    std::string marks;
    for (QAction* item : PortItems()) marks += item && item->isChecked() ? '1' : '0';
    return marks;
  }
  testsupport::RadioSim sim;
};

TEST_F(PortMenu, ItemsCheckTheCurrentPortAndOpenTheDialogInTheirModes) {
  Start({QStringLiteral("seaclone")}, [](indEnviron& e) {
    e.ComPort = 2;
    e.Save();
  });
  for (QAction* item : PortItems()) ASSERT_NE(item, nullptr);
  EXPECT_EQ(Checked(), "01000");

  // COM3 chosen from the menu.
  Item(CL_Menu_Port_Com, 3)->trigger();
  EXPECT_EQ(Main().Ports().CurrentPort(), 3);
  EXPECT_EQ(Checked(), "00100");

  std::vector<int> modes;
  Main().Navigation().SetPortSelection([&](int mode) { modes.push_back(mode); });
  Item(CL_Menu_Port_Usb, 0)->trigger();
  Item(CL_Menu_Port_ComList0, 0)->trigger();
  Item(CL_Menu_Port_ComList1, 0)->trigger();
  Item(CL_Menu_Port_ComList2, 0)->trigger();
  EXPECT_EQ(modes, (std::vector<int>{0, 0, 1, 2}));
  EXPECT_EQ(Main().Ports().CurrentPort(), 3);
  EXPECT_EQ(Checked(), "00100");
  for (QAction* item : {Item(CL_Menu_Port_ComList0, 0), Item(CL_Menu_Port_ComList1, 0),
                        Item(CL_Menu_Port_ComList2, 0)})
    EXPECT_FALSE(item->isChecked());
}

TEST_F(PortMenu, ThePortTypedIntoTheDialogIsTheOneTheNextExchangeOpens) {
  constexpr int kPort = 9;
  const QString served = dir.filePath(QStringLiteral("served.dat"));
  cmcEeprom radio = clitest::ReadImage(SEACLONE_BIN_DIR "/TB58_00_USA.DAT");
  clitest::WriteImage(radio, served.toStdString());
  ASSERT_TRUE(sim.Start({"--image", served, "--revision", "23"})) << sim.Error();
  platform::OpenSettingsStore()->setValue(QStringLiteral("Ports/COM%1").arg(kPort),
                                          QString::fromStdString(sim.Device()));
  Start({QStringLiteral("seaclone")}, [](indEnviron& e) {
    e.ComPort = 1;
    e.Save();
  });

  struct Step {
    const char* typed;
    bool ok;
    int messages;  // out-of-range messages shown
    int port;      // the current port afterwards
  };
  const Step steps[] = {
      {"0", true, 1, 1},
      {"257", true, 1, 1},
      {"9", false, 0, 1},  // Cancel
      {"9", true, 0, kPort},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.typed);
    responder.Clear();
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = dynamic_cast<cuiPortDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->Mode(), 0);
      dialog->Edit()->setText(QString::fromLatin1(" %1 ").arg(QLatin1String(step.typed)));
      QTest::mouseClick(step.ok ? dialog->OkButton() : dialog->CancelButton(), Qt::LeftButton);
      stillOpen = dialog->isVisible();
      if (stillOpen) dialog->reject();
    });
    Item(CL_Menu_Port_ComList0, 0)->trigger();
    EXPECT_EQ(responder.Count(), step.messages);
    if (step.messages) {
      EXPECT_EQ(responder.Last().text, gGTex->Block("GI_AppInd_Opt_ComSel_OutofRange"));
    }
    EXPECT_EQ(stillOpen, step.messages > 0) << "the dialog stays open only on a refused number";
    EXPECT_EQ(Main().Ports().CurrentPort(), step.port);
  }
  EXPECT_EQ(Checked(), "00001") << "a port above 4 checks the USB item";

  // The radio on COM9 answers the next exchange.
  responder.Clear();
  Main().Documents().CloneInformation();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Doc().CloneMan().IsBusy(); }, 120000));
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
  EXPECT_NE(VisibleTopLevel<cuiInformation>(), nullptr);
}

}  // namespace
