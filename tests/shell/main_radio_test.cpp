// SPDX-License-Identifier: GPL-3.0-or-later
// The radio from the main window: the clone commands against the radio
// simulator on a pseudo-terminal, reached through a COM number of the
// `Ports` map, on the program's own timers and real widgets.
#include <QTest>

#include "integration/cli_support.h"
#include "platform/qtcore/settings_store.h"
#include "shell/main_window_support.h"
#include "support/radio_sim.h"
#include "ui/information.h"
#include "ui/iui_sheet.h"
#include <QPushButton>
#include "ui/progress_window.h"

namespace {

constexpr int kPort = 7;
constexpr int kExchangeLimitMs = 120000;

std::vector<std::uint8_t> Slice(const cmcEeprom& image, int first, int last) {
  return {image.Data() + first, image.Data() + last + 1};
}

template <class W>
W* VisibleTopLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = dynamic_cast<W*>(w); found && found->isVisible()) return found;
  return nullptr;
}

// Notes what the user saw when the progress window appeared.
class ProgressWatch : public QObject {
 public:
  explicit ProgressWatch(QWidget* mainWindow) : mainWindow_(mainWindow) { qApp->installEventFilter(this); }
  ~ProgressWatch() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show && dynamic_cast<cuiProgressWindow*>(object)) {
      ++shown;
      mainEnabledWhileShown = mainEnabledWhileShown || mainWindow_->isEnabled();
    }
    return false;
  }
  int shown = 0;
  bool mainEnabledWhileShown = false;

 private:
  QWidget* mainWindow_;
};

class MainRadio : public shelltest::MainWindowBase {
 protected:
  void TearDown() override {
    sim.Stop();
    platform::OpenSettingsStore()->remove("Ports");
    MainWindowBase::TearDown();
  }

  // The simulator serving our own image, mapped to COM7, which the window
  // starts on.
  void StartWithRadio(QStringList options = {}, const QStringList& arguments = {QStringLiteral("seaclone")}) {
    served = dir.filePath(QStringLiteral("served.dat"));
    cmcEeprom image = clitest::ReadImage(SEACLONE_BIN_DIR "/TB58_00_USA.DAT");
    image.WriteBlock(memmap::kComment, "FROM THE RADIO  ", 16);
    image.WriteBlock(memmap::FreeRecord(0) + 4, "ZZA", 3);
    clitest::WriteImage(image, served.toStdString());
    radioImage = clitest::ReadImage(served.toStdString());
    if (!options.contains("--image")) options << "--image" << served;
    ASSERT_TRUE(sim.Start(options)) << sim.Error();
    MapPort(kPort, QString::fromStdString(sim.Device()));
    Start(arguments, [](indEnviron& e) {
      e.ComPort = kPort;
      e.Save();
    });
  }
  static void MapPort(int number, const QString& device) {
    platform::OpenSettingsStore()->setValue(QStringLiteral("Ports/COM%1").arg(number), device);
  }

  // Runs the event loop until the exchange is over; the limit only keeps a
  // broken exchange from hanging the run.
  void WaitForExchange() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Doc().CloneMan().IsBusy(); }, kExchangeLimitMs));
    QTest::qWait(20);  // a second completion would show itself here
  }

  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  std::string Log() const {
    QFile f(Path("sim.log"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
  }

  testsupport::RadioSim sim;
  QString served;
  cmcEeprom radioImage;
};

TEST_F(MainRadio, CloneReadShowsTheRadiosImageUntitledAndModified) {
  StartWithRadio();
  cuiGrid& grid = OpenFreePage();
  ASSERT_NE(Shown(1, 1), "ZZA");
  // An edit first, so that the read has a history to end.
  grid.SetCursor(1, 1);
  Type("PIA", Qt::Key_Return);
  ASSERT_TRUE(Main().CanUndo());

  ProgressWatch watch(form.get());
  responder.Answer(platform::kIdNo);  // discard the edit
  Main().CloneRead();
  WaitForExchange();

  ASSERT_EQ(responder.Count(), 1) << responder.Last().text;  // only the question
  EXPECT_EQ(watch.shown, 1);
  EXPECT_FALSE(watch.mainEnabledWhileShown);
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(VisibleTopLevel<cuiProgressWindow>(), nullptr);
  EXPECT_EQ(Slice(Doc().Working(), 0, 0xCEF), Slice(radioImage, 0, 0xCEF));
  EXPECT_TRUE(Doc().IsUntitled());
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_FALSE(Main().CanUndo());
  EXPECT_EQ(Title(), "Untitled" + shelltest::kTitle);
  // The page reopens on the radio's channels.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Main().Sheet() != nullptr; }, 5000));
  if (!Main().Sheet() || Main().Sheet()->PageReference() != "GI_Sheet_FreeCh") Main().OpenSheet("GI_Sheet_FreeCh");
  EXPECT_EQ(Shown(1, 1), "ZZA");

  responder.Clear();
  responder.Answer(platform::kIdCancel);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_EQ(responder.Last().text, "Save the changes to 'Untitled'?");
}

TEST_F(MainRadio, CloneWriteSendsTheFrequencyEditedInPlace) {
  StartWithRadio({"--save", Path("saved.dat"), "--log", Path("sim.log")});
  cuiGrid& grid = OpenFreePage();
  grid.SetCursor(2, 1);
  const cmcEeprom before(Doc().Working());
  Type("156.050", Qt::Key_Return);
  ASSERT_EQ(Shown(2, 1), "156.05000");
  ASSERT_TRUE(Doc().Working().Differs(before));
  ASSERT_TRUE(Doc().IsModified());

  // Cancel in the confirmation: nothing goes to the radio.
  responder.Answer(platform::kIdCancel);
  Main().CloneWrite();
  QTest::qWait(100);
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_EQ(responder.Last().text, gGTex->Block("GI_Mess_Confirm_CloneWrite"));
  EXPECT_FALSE(Doc().CloneMan().IsBusy());
  EXPECT_EQ(Log().find("request"), std::string::npos) << Log();

  responder.Clear();
  responder.Answer(platform::kIdOk);
  Main().CloneWrite();
  WaitForExchange();
  ASSERT_EQ(responder.Count(), 2) << responder.Last().text;
  EXPECT_EQ(responder.Last().text, gGTex->Block("GI_Mess_CloneWrite_Succeeded"));
  EXPECT_EQ(responder.Last().style, platform::kMbOk | platform::kMbIconInformation);
  EXPECT_TRUE(form->isEnabled());
  const cmcEeprom saved = clitest::ReadImage(Path("saved.dat").toStdString());
  EXPECT_EQ(Slice(saved, 0x000, 0x9FF), Slice(Doc().Working(), 0x000, 0x9FF));
  // The dealer range is not the user's to write.
  EXPECT_EQ(Slice(saved, 0xA00, 0xA3F), Slice(radioImage, 0xA00, 0xA3F));
  // A write leaves the document as it was: still modified, still untitled.
  EXPECT_TRUE(Doc().IsModified());
}

TEST_F(MainRadio, MakerModeCautionsBeforeTheWriteAndSendsTheDealerRange) {
  StartWithRadio({"--save", Path("saved.dat")},
                 {QStringLiteral("seaclone"), QStringLiteral("/kelpish")});
  ASSERT_TRUE(Main().Maker());
  // The maker's own bytes, only a maker-mode write sends them.
  Doc().Working().WriteBlock(0xA00, "MAKER BYTES HERE", 16);
  Main().NoteActivity();

  struct Case {
    std::vector<int> answers;
    std::vector<std::string> asked;
    bool sent;
  };
  const Case cases[] = {
      {{platform::kIdCancel}, {"GI_Mess_Maker_Caution"}, false},
      {{platform::kIdOk, platform::kIdCancel}, {"GI_Mess_Maker_Caution", "GI_Mess_Confirm_CloneWrite"}, false},
      {{platform::kIdOk, platform::kIdOk},
       {"GI_Mess_Maker_Caution", "GI_Mess_Confirm_CloneWrite", "GI_Mess_CloneWrite_Succeeded"},
       true},
  };
  for (const Case& c : cases) {
    responder.Clear();
    for (int answer : c.answers) responder.Answer(answer);
    Main().CloneWrite();
    WaitForExchange();
    std::vector<std::string> asked;
    for (const auto& m : responder.Messages()) asked.push_back(m.text);
    std::vector<std::string> expected;
    for (const std::string& key : c.asked) expected.push_back(gGTex->Block(key));
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(QFile::exists(Path("saved.dat")), c.sent);
  }
  const cmcEeprom saved = clitest::ReadImage(Path("saved.dat").toStdString());
  EXPECT_EQ(Slice(saved, 0x000, 0xB7F), Slice(Doc().Working(), 0x000, 0xB7F));
}

struct FaultCase {
  const char* name;
  QStringList options;  // empty: no radio on the port at all
  bool write;
};

TEST_F(MainRadio, AFailedExchangeShowsOneMessageAndChangesNothing) {
  const FaultCase cases[] = {
      {"silent radio, read", {"--fault", "silent"}, false},
      {"wrong echo, read", {"--fault", "wrong-echo"}, false},
      {"wrong echo, write", {"--fault", "wrong-echo"}, true},
      {"bad checksum mid-read", {"--fault", "bad-checksum", "--fault-at", "100"}, false},
      {"write refused", {"--fault", "write-refused"}, true},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    StartWithRadio(c.options);
    Doc().Working().WriteBlock(memmap::kComment, "OURS            ", 16);
    Main().NoteActivity();
    const cmcEeprom before(Doc().Working());
    responder.Clear();
    responder.Answer(c.write ? platform::kIdOk : platform::kIdNo);  // the confirmation or the discard question
    if (c.write)
      Main().CloneWrite();
    else
      Main().CloneRead();
    WaitForExchange();
    ASSERT_EQ(responder.Count(), 2);
    EXPECT_EQ(responder.Last().style & platform::kMbIconMask, platform::kMbIconStop) << responder.Last().text;
    EXPECT_EQ(Slice(Doc().Working(), 0, 0xCEF), Slice(before, 0, 0xCEF));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(form->isEnabled());
    EXPECT_EQ(VisibleTopLevel<cuiProgressWindow>(), nullptr);
    sim.Stop();
    form.reset();
    globals.reset();
  }
}

TEST_F(MainRadio, AnUnmappedPortNamesItsNumberInTheOneMessage) {
  StartWithRadio();
  Main().SetPort(199);
  Main().CloneInformation();
  WaitForExchange();
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_NE(responder.Last().text.find("199"), std::string::npos) << responder.Last().text;
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(VisibleTopLevel<cuiInformation>(), nullptr);
}

TEST_F(MainRadio, CloneInformationOpensTheDialogWithTheRadiosTexts) {
  StartWithRadio({"--revision", "23"});
  Main().CloneInformation();
  WaitForExchange();
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
  cuiInformation* dialog = VisibleTopLevel<cuiInformation>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle().toStdString(), gGTex->Text("GI_Sys_AppTitle"));
  EXPECT_FALSE(form->isEnabled());
  std::vector<std::string> texts;
  cuiGrid& grid = *dialog->Sheet().Grid();
  for (int row = 0; row < grid.RowCount(); ++row) {
    std::string line;
    for (int column = 0; column < grid.ColCount(); ++column)
      line += CellText(dialog->Sheet().CellAt(column, row), 0) + "|";
    texts.push_back(line);
  }
  auto shows = [&](const std::string& text) {
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  std::string model;
  ASSERT_TRUE(gGTex->TryLine("GI_AppInd_Model", 0, &model));
  EXPECT_TRUE(shows("2.3")) << ::testing::PrintToString(texts);
  EXPECT_TRUE(shows("FROM THE RADIO")) << ::testing::PrintToString(texts);
  EXPECT_TRUE(shows(QString::fromStdString(model).trimmed().toStdString())) << ::testing::PrintToString(texts);

  dialog->Button()->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->isEnabled(); }, 5000));
}

}  // namespace
