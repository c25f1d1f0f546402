// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli fleet against simulated radios on one pseudo-terminal: each
// radio is a simulator run of its own behind the same link, started when
// the command asks for the next radio.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include "support/codes.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "model/memory_map.h"
#include "support/cli_support.h"
#include "support/radio_sim.h"

namespace {

using clitest::RunCli;

std::string FileText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

void WriteText(const QString& path, const char* text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text);
}

std::string Bytes(const cmcEeprom& image, int address, int count, bool digits) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const int b = image.GetByte(address + i);
    if (digits) {
      text += static_cast<char>('0' + b / 10);
      text += static_cast<char>('0' + b % 10);
    } else {
      text += static_cast<char>(b);
    }
  }
  return text;
}

struct FleetRun {
  int exitCode = -1;
  int asked = 0;  // radios asked for
  std::string err;
};

class CliFleet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("SEACLONE_BACKUP_DIR", dir.filePath("backups").toLocal8Bit());
    image = dir.filePath("fleet.dat");
    clitest::WriteModelImage(image, "FLEET");
    served = dir.filePath("served.dat");
    clitest::WriteModelImage(served, "BEFORE");
    ids = dir.filePath("ids.csv");
    log = dir.filePath("run.csv");
    link = dir.filePath("radio");
  }
  void TearDown() override { qunsetenv("SEACLONE_BACKUP_DIR"); }

  QString Saved(int radio) const { return dir.filePath(QString("saved-%1.dat").arg(radio)); }
  int Backups() const {
    return static_cast<int>(QDir(dir.filePath("backups")).entryList(QDir::Files).size());
  }

  // Runs fleet and, each time it asks for the next radio, starts the next
  // simulator (with its own options) behind the link and presses Enter.
  FleetRun Fleet(const std::vector<QStringList>& radios) {
    QProcess p;
    p.setProgram(clitest::CliProgram());
    p.setArguments(
        {"fleet", "--image", image, "--ids", ids, "--device", link, "--log", log, "--quiet"});
    p.start();
    FleetRun run;
    if (!p.waitForStarted()) return run;
    QByteArray err;
    while (p.state() != QProcess::NotRunning) {
      p.waitForReadyRead(200);
      err += p.readAllStandardError();
      if (err.count("press Enter") > run.asked) {
        if (run.asked >= static_cast<int>(radios.size())) {
          p.closeWriteChannel();
          break;
        }
        QStringList options = radios[static_cast<std::size_t>(run.asked)];
        options << "--image" << served << "--link" << link << "--save" << Saved(run.asked);
        EXPECT_TRUE(sim.Start(options)) << sim.Error();
        ++run.asked;
        p.write("\n");
      }
    }
    p.waitForFinished(120000);
    sim.Stop();
    run.err = (err + p.readAllStandardError()).toStdString();
    run.exitCode = p.exitCode();
    return run;
  }

  QTemporaryDir dir;
  QString image, served, ids, log, link;
  testsupport::RadioSim sim;
};

// The log's records after its header: identity and result of each.
std::vector<std::string> Logged(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = text.find('\n');
  while (start != std::string::npos && start + 1 < text.size()) {
    const std::size_t end = text.find('\n', start + 1);
    std::string line = text.substr(start + 1, end - start - 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // time,identity,revision,result: keep all but the time.
    lines.push_back(line.substr(line.find(',') + 1));
    start = end;
  }
  return lines;
}

TEST_F(CliFleet, ProgramsEveryRadioLogsAFailureAndResumesWithIt) {
  WriteText(ids,
            "id,comment\r\n"
            "211000001,BOAT ONE\r\n"
            "\r\n"
            "211-000-0021,BOAT TWO\r\n"
            "2110000031,BOAT THREE\r\n");
  // The first list has a nine-digit identity: nothing happens.
  const FleetRun refused = Fleet({});
  EXPECT_EQ(refused.exitCode, 40) << refused.err;
  EXPECT_NE(refused.err.find("line 2"), std::string::npos) << refused.err;
  EXPECT_EQ(refused.asked, 0);

  WriteText(ids,
            "id,comment\r\n"
            "2110000011,BOAT ONE\r\n"
            "\r\n"
            "211-000-0021,BOAT TWO\r\n"
            "2110000031,BOAT THREE\r\n");
  const FleetRun first = Fleet({{}, {"--fault", "write-refused"}, {"--revision", "12"}});
  EXPECT_EQ(first.exitCode, 30) << first.err;
  EXPECT_EQ(first.asked, 3);
  EXPECT_EQ(Logged(FileText(log)),
            (std::vector<std::string>{"2110000011,1.0,ok", "2110000021,1.0,failed (exit 30)",
                                      "2110000031,1.2,ok"}))
      << FileText(log);
  // What each radio held before was kept, the failed one's too.
  EXPECT_EQ(Backups(), 3);
  const struct {
    int radio;
    const char* id;
    const char* comment;
  } kept[] = {{0, "2110000011", "BOAT ONE        "}, {2, "2110000031", "BOAT THREE      "}};
  for (const auto& k : kept) {
    const cmcEeprom written = clitest::ReadImage(Saved(k.radio).toStdString());
    EXPECT_EQ(Bytes(written, memmap::kAtisId, memmap::kAtisIdBytes, true), k.id);
    EXPECT_EQ(Bytes(written, memmap::kComment, memmap::kCommentLength, false), k.comment);
  }
  EXPECT_FALSE(QFile::exists(Saved(1)));

  QFile::remove(Saved(0));
  const FleetRun resumed = Fleet({{}});
  EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
  EXPECT_EQ(resumed.asked, 1);
  EXPECT_NE(resumed.err.find("identity 2110000021 (1 of 1)"), std::string::npos) << resumed.err;
  EXPECT_EQ(Logged(FileText(log)).back(), "2110000021,1.0,ok");
  const cmcEeprom written = clitest::ReadImage(Saved(0).toStdString());
  EXPECT_EQ(Bytes(written, memmap::kAtisId, memmap::kAtisIdBytes, true), "2110000021");

  // Nothing left to do: no radio is asked for.
  const FleetRun again = Fleet({});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.asked, 0);
}

// A log an editor saved without a line end after its last record: the next
// record goes on a line of its own, and the radio logged ok is not asked
// for again, neither now nor in a later run.
TEST_F(CliFleet, AResumedRunAppendsOnALineOfItsOwn) {
  WriteText(ids, "id\r\n2110000011\r\n2110000021\r\n");
  WriteText(log, "time,identity,revision,result\r\n2026-12-11 01:20:49,2110000011,1.0,ok");
  const FleetRun resumed = Fleet({{}});
  EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
  EXPECT_EQ(resumed.asked, 1);
  EXPECT_EQ(Logged(FileText(log)),
            (std::vector<std::string>{"2110000011,1.0,ok", "2110000021,1.0,ok"}))
      << FileText(log);
  const FleetRun again = Fleet({});
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.asked, 0);
}

// A run that ran out of radios (standard input ended) did not program the
// list: its status is not that of the last radio it did program.
TEST_F(CliFleet, ARunThatStoppedEarlyIsNoSuccess) {
  WriteText(ids, "id\r\n2110000011\r\n2110000021\r\n");
  const FleetRun run = Fleet({{}});
  EXPECT_EQ(run.exitCode, 64) << run.err;
  EXPECT_EQ(run.asked, 1);
  EXPECT_NE(run.err.find("no more radios: stopped before identity 2110000021"), std::string::npos)
      << run.err;
  EXPECT_EQ(Logged(FileText(log)), (std::vector<std::string>{"2110000011,1.0,ok"}));
}

// A log or list that cannot be read completely stops the run before any
// radio is touched: read as empty, it would hand every identity out again.
TEST_F(CliFleet, AnUnreadableLogOrListTouchesNoRadio) {
  const char* const kLog =
      "time,identity,revision,result\r\n2026-12-11 01:20:49,2110000011,1.0,ok\r\n";
  const struct {
    const char* what;
    std::string log;  // "/": the log is a folder
    bool idsFolder;
    int exit;
    const char* said;
  } cases[] = {
      {"a stray quote in a note", std::string(kLog) + "note: radio \"B\r\n", false, 40,
       ", line 3: a quote inside a field that is not quoted (the file was read as ','-separated, "
       "as "
       "its first record is); no radio was touched"},
      {"a record glued to a line without its end",
       "time,identity,revision,result\r\n"
       "2026-12-11 01:20:40,2110000011,1.0,ok2026-12-11 01:20:49,2110000021,1.0,ok\r\n",
       false, 40, ", line 2: not one record time,identity,revision,result; no radio was touched"},
      {"a folder as the log", "/", false, 1, ": it is not a regular file; no radio was touched"},
      {"a folder as the list", "", true, 1, "cannot read the identity list "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(dir.path()).rmdir("logdir");
    QDir(dir.path()).rmdir("idsdir");
    QFile::remove(log);
    WriteText(ids, "id\r\n2110000011\r\n2110000021\r\n");
    if (c.log == "/") {
      ASSERT_TRUE(QDir(dir.path()).mkdir("logdir"));
      log = dir.filePath("logdir");
    } else {
      log = dir.filePath("run.csv");
      if (!c.log.empty()) WriteText(log, c.log.c_str());
    }
    const QString list = ids;
    if (c.idsFolder) {
      ASSERT_TRUE(QDir(dir.path()).mkdir("idsdir"));
      ids = dir.filePath("idsdir");
    }
    const FleetRun run = Fleet({{}, {}});
    ids = list;
    EXPECT_EQ(run.exitCode, c.exit) << run.err;
    EXPECT_EQ(run.asked, 0);
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    if (c.log != "/" && !c.log.empty()) {
      EXPECT_EQ(FileText(log), c.log);
    }
    EXPECT_EQ(Backups(), 0);
  }
}

// Several cables at once: each round of radios, one per cable, is asked
// for together; every cable gets a fresh simulator per round.
class CliFleetCables : public CliFleet {
 protected:
  static constexpr int kCables = 4;

  QString Link(int cable) const { return dir.filePath(QString("cable%1").arg(cable)); }
  QString SavedAt(int round, int cable) const {
    return dir.filePath(QString("saved-%1-%2.dat").arg(round).arg(cable));
  }

  // Runs fleet on the four cables; for each question starts the radios it
  // names (fault gives the options of one radio by round and cable).
  FleetRun Run(const std::function<QStringList(int round, int cable)>& fault) {
    QStringList args{"fleet", "--image", image, "--ids", ids, "--log", log};
    for (int c = 0; c < kCables; ++c) args << "--device" << Link(c);
    QProcess p;
    p.setProgram(clitest::CliProgram());
    p.setArguments(args);
    p.start();
    FleetRun run;
    if (!p.waitForStarted()) return run;
    QByteArray err;
    while (p.state() != QProcess::NotRunning) {
      p.waitForReadyRead(200);
      err += p.readAllStandardError();
      if (err.count("press Enter") <= run.asked) continue;
      const QByteArray asked = err.mid(err.lastIndexOf("connect the radio"));
      for (auto& sim : sims) sim.Stop();
      for (int c = 0; c < kCables; ++c) {
        if (!asked.contains((Link(c) + " ").toUtf8()) && !asked.contains((Link(c) + ",").toUtf8()))
          continue;
        QStringList options = fault(run.asked, c);
        options << "--image" << served << "--link" << Link(c) << "--save" << SavedAt(run.asked, c);
        EXPECT_TRUE(sims[c].Start(options)) << sims[c].Error();
      }
      ++run.asked;
      p.write("\n");
    }
    p.waitForFinished(120000);
    for (auto& sim : sims) sim.Stop();
    run.err = (err + p.readAllStandardError()).toStdString();
    run.exitCode = p.exitCode();
    return run;
  }

  std::string SavedId(const QString& path) const {
    const cmcEeprom saved = clitest::ReadImage(path.toStdString());
    return Bytes(saved, memmap::kAtisId, memmap::kAtisIdBytes, true);
  }

  testsupport::RadioSim sims[kCables];
};

TEST_F(CliFleetCables, EightRadiosOnFourCablesOneRefusingItsWriteThenTheResume) {
  std::string list = "id\r\n";
  for (int i = 1; i <= 8; ++i) list += "21100000" + std::to_string(i) + "1\r\n";
  WriteText(ids, list.c_str());
  // The radio on the third cable refuses its write in the first round.
  const FleetRun first = Run([](int round, int cable) {
    return round == 0 && cable == 2 ? QStringList{"--fault", "write-refused"} : QStringList{};
  });
  EXPECT_EQ(first.exitCode, 30) << first.err;
  EXPECT_EQ(first.asked, 2);
  std::vector<std::string> logged = Logged(FileText(log));
  std::sort(logged.begin(), logged.end());
  EXPECT_EQ(logged, (std::vector<std::string>{
                        "2110000011,1.0,ok", "2110000021,1.0,ok", "2110000031,1.0,failed (exit 30)",
                        "2110000041,1.0,ok", "2110000051,1.0,ok", "2110000061,1.0,ok",
                        "2110000071,1.0,ok", "2110000081,1.0,ok"}))
      << FileText(log);
  // Off a terminal every step is a line of its own, named by its cable.
  EXPECT_NE(first.err.find("seaclone-cli: " + Link(2).toStdString() +
                           ": identity 2110000031 (3 of 8): failed (exit 30)"),
            std::string::npos)
      << first.err;
  // Every radio kept what it held, and got an identity of its own: round r
  // gives cable c the identity 4r + c + 1.
  EXPECT_EQ(Backups(), 8);
  for (int round = 0; round < 2; ++round) {
    for (int c = 0; c < kCables; ++c) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", cable " << c);
      if (round == 0 && c == 2) {
        EXPECT_FALSE(QFile::exists(SavedAt(round, c)));
        continue;
      }
      EXPECT_EQ(SavedId(SavedAt(round, c)), "21100000" + std::to_string(4 * round + c + 1) + "1");
    }
  }

  // The resume hands the failed identity alone to the first cable.
  const FleetRun resumed = Run([](int, int) { return QStringList{}; });
  EXPECT_EQ(resumed.exitCode, 0) << resumed.err;
  EXPECT_EQ(resumed.asked, 1);
  EXPECT_NE(resumed.err.find("for identity 2110000031 (1 of 1) on " + Link(0).toStdString()),
            std::string::npos)
      << resumed.err;
  EXPECT_EQ(Logged(FileText(log)).back(), "2110000031,1.0,ok");
  EXPECT_EQ(SavedId(SavedAt(0, 0)), "2110000031");
  EXPECT_FALSE(QFile::exists(SavedAt(0, 2)));
}

struct RefusedList {
  const char* name;
  const char* csv;
  const char* said;
};

class CliFleetRefused : public CliFleet, public ::testing::WithParamInterface<RefusedList> {};

TEST_P(CliFleetRefused, NothingIsReadOrWritten) {
  WriteText(ids, GetParam().csv);
  ASSERT_TRUE(sim.Start({"--image", served, "--save", Saved(0)})) << sim.Error();
  const auto run = RunCli({"fleet", "--image", image, "--ids", ids, "--device",
                           QString::fromStdString(sim.Device()), "--log", log, "--yes", "--quiet"});
  EXPECT_EQ(run.exitCode, 40) << run.err;
  EXPECT_NE(run.err.find(GetParam().said), std::string::npos) << run.err;
  EXPECT_FALSE(QFile::exists(Saved(0)));
  EXPECT_FALSE(QFile::exists(log));
  EXPECT_EQ(Backups(), 0);
}

const RefusedList kRefused[] = {
    {"Duplicate", "id\n2110000011\n2110000021\n211 000 0011\n",
     "line 4: the identity 2110000011 is given twice"},
    {"TooManyDigits", "id\n2110000011\n21100000211\n",
     "line 3: '21100000211' is not an ATIS identity"},
    {"Empty", "id,comment\n2110000011,A\n,B\n", "line 3: '' is not"},
    {"CommentTooLong", "id,comment\n2110000011,SEVENTEEN CHARSXX\n", "line 2: the comment"},
    {"CommentLetter",
     "id;comment\r2110000011;B\xD6"
     "AT\r",
     "line 2: the comment 'B\xC3\x96"
     "AT' holds '\xC3\x96', which the radio cannot show"},
    {"NoIdColumn", "identity\n2110000011\n", "line 1 must name the columns"},
};

INSTANTIATE_TEST_SUITE_P(Lists, CliFleetRefused, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
