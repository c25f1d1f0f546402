// SPDX-License-Identifier: GPL-3.0-or-later
// The radio from the main window: the clone commands against the radio
// simulator on a pseudo-terminal, reached through a COM number of the
// `Ports` map, on the program's own timers and real widgets.
#include <QTest>

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "model/cell_names.h"
#include "model/normalise.h"
#include "platform/qtcore/settings_store.h"
#include "shell/handover_queue.h"
#include "shell/main_window_support.h"
#include "support/cli_support.h"
#include "support/radio_sim.h"
#include "ui/compare_dialog.h"
#include "ui/fleet_dialog.h"
#include "ui/information.h"
#include "ui/iui_sheet.h"
#include "ui/menu.h"
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
  explicit ProgressWatch(QWidget* mainWindow) : mainWindow_(mainWindow) {
    qApp->installEventFilter(this);
  }
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

// The backups of reads go to the test's folder while this lives.
struct BackupsIn {
  explicit BackupsIn(const QString& folder) : folder(folder) {
    qputenv("SEACLONE_BACKUP_DIR", folder.toLocal8Bit());
  }
  ~BackupsIn() { qunsetenv("SEACLONE_BACKUP_DIR"); }
  int Count() const { return static_cast<int>(QDir(folder).entryList(QDir::Files).size()); }
  QString folder;
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
  void StartWithRadio(QStringList options = {},
                      const QStringList& arguments = {QStringLiteral("seaclone")}) {
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
      e.ModelType = 0;  // the radio's model, whatever an earlier start left
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
  BackupsIn backups(Path("backups"));
  StartWithRadio();
  cuiGrid& grid = OpenFreePage();
  ASSERT_NE(Shown(1, 1), "ZZA");
  // An edit first, so that the read has a history to end.
  grid.SetCursor(1, 1);
  Type("PIA", Qt::Key_Return);
  ASSERT_TRUE(Main().Documents().CanUndo());

  ProgressWatch watch(form.get());
  responder.Answer(platform::kIdNo);  // discard the edit
  Main().Documents().CloneRead();
  WaitForExchange();

  ASSERT_EQ(responder.Count(), 1) << responder.Last().text;  // only the question
  EXPECT_EQ(watch.shown, 1);
  EXPECT_FALSE(watch.mainEnabledWhileShown);
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(VisibleTopLevel<cuiProgressWindow>(), nullptr);
  EXPECT_EQ(Slice(Doc().Working(), 0, 0xCEF), Slice(radioImage, 0, 0xCEF));
  EXPECT_TRUE(Doc().IsUntitled());
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_FALSE(Main().Documents().CanUndo());
  EXPECT_EQ(Title(), "Untitled" + shelltest::kTitle);
  // The page reopens on the radio's channels.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Main().Navigation().Sheet() != nullptr; }, 5000));
  if (!Main().Navigation().Sheet() ||
      Main().Navigation().Sheet()->PageReference() != "GI_Sheet_FreeCh")
    Main().Navigation().OpenSheet("GI_Sheet_FreeCh");
  EXPECT_EQ(Shown(1, 1), "ZZA");
  // The status bar says where and when the image came from and which
  // backup keeps it, after the page came back.
  const std::string status = Main().Status().Text();
  EXPECT_EQ(status.rfind("Read from the radio on COM7 at ", 0), 0u) << status;
  EXPECT_NE(status.find("_USA_FROM-THE-RADIO.dat."), std::string::npos) << status;

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
  Main().Documents().CloneWrite();
  QTest::qWait(100);
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_EQ(responder.Last().text, gGTex->Block("GI_Mess_Confirm_CloneWrite"));
  EXPECT_FALSE(Doc().CloneMan().IsBusy());
  EXPECT_EQ(Log().find("request"), std::string::npos) << Log();

  responder.Clear();
  responder.Answer(platform::kIdOk);
  Main().Documents().CloneWrite();
  WaitForExchange();
  ASSERT_EQ(responder.Count(), 2) << responder.Last().text;
  EXPECT_EQ(responder.Last().text, gGTex->Block("GI_Mess_CloneWrite_Succeeded"));
  EXPECT_EQ(responder.Last().style, platform::kMbOk | platform::kMbIconInformation);
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(Main().Status().Text().rfind("Written to the radio on COM7 at ", 0), 0u)
      << Main().Status().Text();
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
  Main().Documents().NoteActivity();

  struct Case {
    std::vector<int> answers;
    std::vector<std::string> asked;
    bool sent;
  };
  const Case cases[] = {
      {{platform::kIdCancel}, {"GI_Mess_Maker_Caution"}, false},
      {{platform::kIdOk, platform::kIdCancel},
       {"GI_Mess_Maker_Caution", "GI_Mess_Confirm_CloneWrite"},
       false},
      {{platform::kIdOk, platform::kIdOk},
       {"GI_Mess_Maker_Caution", "GI_Mess_Confirm_CloneWrite", "GI_Mess_CloneWrite_Succeeded"},
       true},
  };
  for (const Case& c : cases) {
    responder.Clear();
    for (int answer : c.answers) responder.Answer(answer);
    Main().Documents().CloneWrite();
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
  bool partlyWritten = false;  // the message says the radio may hold part of it
};

TEST_F(MainRadio, AFailedExchangeShowsOneMessageAndChangesNothing) {
  const FaultCase cases[] = {
      {"silent radio, read", {"--fault", "silent"}, false},
      {"wrong echo, read", {"--fault", "wrong-echo"}, false},
      {"wrong echo, write", {"--fault", "wrong-echo"}, true},
      {"bad checksum mid-read", {"--fault", "bad-checksum", "--fault-at", "100"}, false},
      {"write refused", {"--fault", "write-refused"}, true},
      {"hang-up mid-write", {"--fault", "hang-up", "--fault-at", "8"}, true, true},
      {"wrong echo mid-write", {"--fault", "wrong-echo", "--fault-at", "600"}, true, true},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    StartWithRadio(c.options);
    Doc().Working().WriteBlock(memmap::kComment, "OURS            ", 16);
    Main().Documents().NoteActivity();
    const cmcEeprom before(Doc().Working());
    responder.Clear();
    responder.Answer(c.write ? platform::kIdOk
                             : platform::kIdNo);  // the confirmation or the discard question
    if (c.write)
      Main().Documents().CloneWrite();
    else
      Main().Documents().CloneRead();
    WaitForExchange();
    ASSERT_EQ(responder.Count(), 2);
    EXPECT_EQ(responder.Last().style & platform::kMbIconMask, platform::kMbIconStop)
        << responder.Last().text;
    EXPECT_EQ(
        responder.Last().text.find(gGTex->Block("GI_Mess_CloneErr_PartWrite")) != std::string::npos,
        c.partlyWritten)
        << responder.Last().text;
    EXPECT_NE(Main().Status().Text().find(" failed at "), std::string::npos)
        << Main().Status().Text();
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
  Main().Ports().SetPort(199);
  Main().Documents().CloneInformation();
  WaitForExchange();
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_NE(responder.Last().text.find("199"), std::string::npos) << responder.Last().text;
  EXPECT_TRUE(form->isEnabled());
  EXPECT_EQ(VisibleTopLevel<cuiInformation>(), nullptr);
}

TEST_F(MainRadio, CloneInformationOpensTheDialogWithTheRadiosTexts) {
  StartWithRadio({"--revision", "23"});
  Main().Documents().CloneInformation();
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
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  std::string model;
  ASSERT_TRUE(gGTex->TryLine("GI_AppInd_Model", 0, &model));
  EXPECT_TRUE(shows("2.3")) << ::testing::PrintToString(texts);
  EXPECT_TRUE(shows("FROM THE RADIO")) << ::testing::PrintToString(texts);
  EXPECT_TRUE(shows(QString::fromStdString(model).trimmed().toStdString()))
      << ::testing::PrintToString(texts);

  dialog->Button()->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->isEnabled(); }, 5000));
}

void Choose(indMain& main, std::uint32_t cell) {
  QAction* item = main.Window().Menu()->FindItem(cell);
  ASSERT_NE(item, nullptr) << CellName(cell);
  item->trigger();
}

TEST_F(MainRadio, CompareWithRadioListsWhatTheRadioHoldsAndKeepsTheWorkingImage) {
  BackupsIn backups(Path("backups"));
  StartWithRadio();
  const cmcEeprom before(Doc().Working());
  ProgressWatch watch(form.get());
  Choose(Main(), CL_Menu_Clone_Compare);
  ASSERT_TRUE(QTest::qWaitFor([] { return VisibleTopLevel<cuiCompareDialog>() != nullptr; },
                              kExchangeLimitMs));
  const layout::ImageDifferences& found = VisibleTopLevel<cuiCompareDialog>()->Differences();
  const bool nameListed = std::any_of(found.cells.begin(), found.cells.end(), [](const auto& c) {
    return c.reference == "GI_Sheet_FreeCh" && c.row == "1" && c.before == "L1" && c.after == "ZZA";
  });
  EXPECT_TRUE(nameListed);
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
  EXPECT_EQ(watch.shown, 1);
  EXPECT_TRUE(form->isEnabled());
  EXPECT_TRUE(Doc().Working().Equals(before));
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_EQ(backups.Count(), 1);
  VisibleTopLevel<cuiCompareDialog>()->close();
}

// Three radios in one list: two are programmed, Cancel stops before the
// third, and the next run takes up the third alone, from the log.
TEST_F(MainRadio, FleetProgrammingLogsEachRadioAndResumesAfterCancel) {
  BackupsIn backups(Path("backups"));
  StartWithRadio({"--save", Path("saved.dat")});
  const QString ids = Path("ids.csv");
  {
    QFile file(ids);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "id,comment\r\n2110000011,BOAT ONE\r\n2110000021,BOAT TWO\r\n2110000031,BOAT THREE\r\n");
  }
  Choose(Main(), CL_Menu_Clone_Fleet);
  cuiFleetDialog* dialog = VisibleTopLevel<cuiFleetDialog>();
  ASSERT_NE(dialog, nullptr);
  dialog->Ids()->setText(ids);
  ASSERT_EQ(dialog->Log()->text(), ids + ".log.csv");
  const std::string log = dialog->Log()->text().toStdString();
  const auto savedId = [this] {
    const cmcEeprom saved = clitest::ReadImage(Path("saved.dat").toStdString());
    std::string digits;
    for (int i = 0; i < memmap::kAtisIdBytes; ++i)
      digits += std::to_string(saved.GetByte(memmap::kAtisId + i) / 10) +
                std::to_string(saved.GetByte(memmap::kAtisId + i) % 10);
    return digits;
  };

  struct Run {
    std::vector<int> answers;
    int lines;          // in the dialog's list
    std::string asked;  // in the last question
    std::string written;
  };
  const Run runs[] = {
      {{platform::kIdOk, platform::kIdOk, platform::kIdCancel},
       2,
       "2110000031 (3 of 3)",
       "2110000021"},
      {{platform::kIdOk}, 3, "2110000031 (1 of 1)", "2110000031"},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.asked);
    responder.Clear();
    for (int answer : run.answers) responder.Answer(answer);
    dialog->StartButton()->click();  // returns when the run is over
    EXPECT_EQ(responder.Count(), static_cast<int>(run.answers.size())) << responder.Last().text;
    EXPECT_NE(responder.Last().text.find(run.asked), std::string::npos) << responder.Last().text;
    EXPECT_EQ(dialog->Lines()->count(), run.lines);
    EXPECT_TRUE(dialog->StartButton()->isEnabled());
    EXPECT_EQ(savedId(), run.written);
  }
  EXPECT_EQ(backups.Count(), 3);
  QFile logFile(QString::fromStdString(log));
  ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
  const std::string logged = logFile.readAll().toStdString();
  for (const char* line : {",2110000011,1.0,ok", ",2110000021,1.0,ok", ",2110000031,1.0,ok"})
    EXPECT_NE(logged.find(line), std::string::npos) << logged;
  EXPECT_TRUE(dialog->Lines()->item(0)->text().contains("2110000011"));
  dialog->close();
}

// Two cables ticked: each round asks for a radio on both, a radio that
// refuses its write fails in its own row (no message box holds up the
// other cable), and the resume gives its identity to the first cable.
TEST_F(MainRadio, FleetProgrammingOnTwoCablesShowsARowPerCable) {
  BackupsIn backups(Path("backups"));
  StartWithRadio({"--save", Path("saved7.dat")});
  testsupport::RadioSim refusing;
  ASSERT_TRUE(
      refusing.Start({"--image", served, "--save", Path("saved8.dat"), "--fault", "write-refused"}))
      << refusing.Error();
  MapPort(8, QString::fromStdString(refusing.Device()));
  const QString ids = Path("ids.csv");
  {
    QFile file(ids);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("id\r\n2110000011\r\n2110000021\r\n2110000031\r\n");
  }
  Choose(Main(), CL_Menu_Clone_Fleet);
  cuiFleetDialog* dialog = VisibleTopLevel<cuiFleetDialog>();
  ASSERT_NE(dialog, nullptr);
  dialog->Ids()->setText(ids);
  ASSERT_EQ(dialog->TickedPorts(), std::vector<int>{kPort});
  for (int i = 0; i < dialog->Ports()->count(); ++i)
    if (dialog->Ports()->item(i)->data(Qt::UserRole).toInt() == 8)
      dialog->Ports()->item(i)->setCheckState(Qt::Checked);
  ASSERT_EQ(dialog->TickedPorts(), (std::vector<int>{kPort, 8}));
  const auto savedId = [this](const char* file) {
    const cmcEeprom saved = clitest::ReadImage(Path(file).toStdString());
    std::string digits;
    for (int i = 0; i < memmap::kAtisIdBytes; ++i)
      digits += std::to_string(saved.GetByte(memmap::kAtisId + i) / 10) +
                std::to_string(saved.GetByte(memmap::kAtisId + i) % 10);
    return digits;
  };
  const auto cell = [dialog](int row, int column) {
    return dialog->Cables()->item(row, column)->text().toStdString();
  };

  // The main window waits for the run, as for any exchange.
  bool mainEnabledDuringRun = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!dialog->StartButton()->isEnabled() && form->isEnabled()) mainEnabledDuringRun = true;
  });
  watch.start(20);
  responder.Clear();
  dialog->StartButton()->click();  // returns when the run is over
  watch.stop();
  EXPECT_FALSE(mainEnabledDuringRun);
  EXPECT_TRUE(form->isEnabled());
  // Two rounds: 1 and 2 on both cables, then 3 on the first; nothing else asked.
  ASSERT_EQ(responder.Count(), 2) << responder.Last().text;
  for (const char* said : {"2110000011 (1 / 3): COM7", "2110000021 (2 / 3): COM8"})
    EXPECT_NE(responder.Messages()[0].text.find(said), std::string::npos)
        << responder.Messages()[0].text;
  ASSERT_EQ(dialog->Cables()->rowCount(), 2);
  EXPECT_EQ(cell(0, 1), "2110000031");
  EXPECT_EQ(cell(0, 3), "ok");
  EXPECT_EQ(cell(1, 1), "2110000021");
  EXPECT_EQ(cell(1, 3).rfind("failed (status 10): ", 0), 0u) << cell(1, 3);
  const auto* bar = qobject_cast<QProgressBar*>(dialog->Cables()->cellWidget(0, 2));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(dialog->Lines()->count(), 3);
  EXPECT_EQ(savedId("saved7.dat"), "2110000031");
  EXPECT_FALSE(QFile::exists(Path("saved8.dat")));
  EXPECT_EQ(backups.Count(), 3);

  responder.Clear();
  dialog->StartButton()->click();
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_NE(responder.Last().text.find("2110000021 (1 / 1): COM7"), std::string::npos)
      << responder.Last().text;
  EXPECT_EQ(cell(0, 3), "ok");
  EXPECT_EQ(savedId("saved7.dat"), "2110000021");
  QFile logFile(ids + ".log.csv");
  ASSERT_TRUE(logFile.open(QIODevice::ReadOnly));
  const std::string logged = logFile.readAll().toStdString();
  for (const char* line : {",2110000011,1.0,ok", ",2110000021,1.0,failed (status 10)",
                           ",2110000031,1.0,ok", ",2110000021,1.0,ok"})
    EXPECT_NE(logged.find(line), std::string::npos) << logged;
  dialog->close();
}

// A log that cannot be read completely (here a line glued to the one
// before it, as an editor that left no line end makes) stops the run
// before any radio is asked for: read as empty, it would hand out the
// identities again.
TEST_F(MainRadio, FleetProgrammingStopsBeforeAnyRadioOnALogItCannotRead) {
  BackupsIn backups(Path("backups"));
  StartWithRadio({"--save", Path("saved.dat")});
  const QString ids = Path("ids.csv");
  const QString log = Path("ids.csv.log.csv");
  for (const auto& [path, text] :
       {std::pair{ids, "id\r\n2110000011\r\n2110000021\r\n"},
        std::pair{log,
                  "time,identity,revision,result\r\n"
                  "2026-12-11 01:20:40,2110000011,1.0,ok2026-12-11 01:20:49,2110000021,1.0,ok"}}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  Choose(Main(), CL_Menu_Clone_Fleet);
  cuiFleetDialog* dialog = VisibleTopLevel<cuiFleetDialog>();
  ASSERT_NE(dialog, nullptr);
  dialog->Ids()->setText(ids);
  ASSERT_EQ(dialog->Log()->text(), log);
  responder.Clear();
  responder.Answer(platform::kIdOk);
  dialog->StartButton()->click();
  ASSERT_EQ(responder.Count(), 1);
  const std::string said = responder.Last().text;
  EXPECT_NE(said.find("cannot be read"), std::string::npos) << said;
  EXPECT_NE(said.find("line 2"), std::string::npos) << said;
  EXPECT_NE(said.find("No radio was touched"), std::string::npos) << said;
  EXPECT_FALSE(QFile::exists(Path("saved.dat")));
  EXPECT_EQ(backups.Count(), 0);
  EXPECT_EQ(dialog->Lines()->count(), 0);
  dialog->close();
}

// A file handed over by a later start while the radio is read or written
// waits for the exchange, then comes through the usual question; the radio
// gets the image that was confirmed, never the file handed over meanwhile.
TEST_F(MainRadio, AFileHandedOverDuringAnExchangeWaitsForIt) {
  struct Case {
    const char* name;
    bool write;
  };
  const Case cases[] = {{"read", false}, {"write", true}};
  BackupsIn backups(Path("backups"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartWithRadio({"--save", Path("saved.dat"), "--baud-pace"});
    // A file of another model, as a double click in the file manager gives.
    cmcEeprom other = clitest::ReadImage(SEACLONE_BIN_DIR "/TB58_01_EUR.DAT");
    other.WriteBlock(memmap::kComment, "HANDED OVER     ", 16);
    const QString handedFile = Path("handed.dat");
    clitest::WriteImage(other, handedFile.toStdString());
    ASSERT_EQ(Doc().ModelType(), 0);
    // What the write sends: the confirmed image, tidied as a save tidies it.
    cmcEeprom confirmed(Doc().Working());
    Doc().Normalise(confirmed, kNormaliseBeforeSave);
    shell::HandoverQueue handed(form.get(), &Main());

    responder.Clear();
    if (c.write) {
      responder.Answer(platform::kIdOk);  // the write's confirmation
      Main().Documents().CloneWrite();
    } else {
      Main().Documents().CloneRead();  // nothing to discard: no question
    }
    ASSERT_TRUE(Doc().CloneMan().IsBusy());
    handed.Add(handedFile);
    QTest::qWait(3 * shell::HandoverQueue::kRetryMs);
    EXPECT_TRUE(Doc().IsUntitled()) << "opened during the exchange";
    EXPECT_EQ(handed.Waiting().size(), 1);
    // After the read, the radio's unsaved image is worth the question.
    responder.Answer(platform::kIdNo);
    WaitForExchange();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Doc().FilePath() == handedFile.toStdString(); }, 5000));
    EXPECT_EQ(Doc().ModelType(), 1);
    EXPECT_TRUE(handed.Waiting().isEmpty());

    std::vector<std::string> said;
    for (const auto& m : responder.Messages()) said.push_back(m.text);
    if (c.write) {
      EXPECT_EQ(said, (std::vector<std::string>{gGTex->Block("GI_Mess_Confirm_CloneWrite"),
                                                gGTex->Block("GI_Mess_CloneWrite_Succeeded")}));
      const cmcEeprom saved = clitest::ReadImage(Path("saved.dat").toStdString());
      EXPECT_EQ(saved.GetByte(memmap::kModelByte), 0);
      EXPECT_EQ(Slice(saved, 0x000, 0x9FF), Slice(confirmed, 0x000, 0x9FF));
    } else {
      EXPECT_EQ(said, (std::vector<std::string>{"Save the changes to 'Untitled'?"}));
    }
    sim.Stop();
    form.reset();
    globals.reset();
    QFile::remove(Path("saved.dat"));
  }
}

}  // namespace
