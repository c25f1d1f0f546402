// SPDX-License-Identifier: GPL-3.0-or-later
// Every exit status the README's table gives for diff, export, import,
// print and fleet, each from the situation the table names.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <string>

#include "support/cli_support.h"
#include "support/radio_sim.h"

#ifdef __linux__
#include <sys/stat.h>
#endif

namespace {

using clitest::RunCli;

QString Initial(const char* name) { return QStringLiteral(SEACLONE_BIN_DIR "/") + name; }

class CliStatus : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("SEACLONE_BACKUP_DIR", dir.filePath("backups").toLocal8Bit());
    Write("ids.csv", "id\r\n2110000011\r\n");
    Write("bad-ids.csv", "id\r\n21100\r\n");
    Write("good.csv", "Page,GI_Sheet_FreeCh,x\r\nNo.,Name\r\n1,L1\r\n");
    Write("refused.csv", "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1,abc\r\n");
    Write("bad-log.csv", "time,identity,revision,result\r\nnote \"x\r\n");
    Write("format.dat", "not a clone data file\r\n");
#ifdef __linux__
    ::mkfifo(Path("fifo").toLocal8Bit().constData(), 0600);
#endif
  }
  void TearDown() override { qunsetenv("SEACLONE_BACKUP_DIR"); }
  QString Path(const char* name) const { return dir.filePath(name); }
  void Write(const char* name, const char* text) {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }
  QTemporaryDir dir;
};

TEST_F(CliStatus, EveryStatusTheTableGivesForTheFileCommands) {
  const QString usa = Initial("TB58_00_USA.DAT");
  const QString eur = Initial("TB58_01_EUR.DAT");
  const QString noDevice = QStringLiteral("/nonexistent/ttyRADIO");
  struct Case {
    const char* what;
    QStringList args;
    int exit;
    QString out;  // standard output to a file, "" keeps the pipe
  };
  const Case cases[] = {
      {"diff: equal", {"diff", usa, usa}, 0, {}},
      {"diff: they differ", {"diff", usa, eur}, 1, {}},
      {"diff: a file that cannot be opened", {"diff", usa, Path("missing.dat")}, 1, {}},
      {"diff: a file code", {"diff", usa, Path("format.dat")}, 6, {}},
      {"diff: no radio on the port", {"diff", "--device", noDevice, "--quiet", usa}, 22, {}},
      {"diff: usage", {"diff", usa}, 64, {}},
      {"diff: standard output lost", {"diff", usa, eur}, 74, "/dev/full"},
      {"export", {"export", usa, "--csv", Path("out.csv")}, 0, {}},
      {"export: a file code", {"export", Path("format.dat"), "--csv", Path("out2.csv")}, 6, {}},
      {"export: OUT.csv is no regular file", {"export", usa, "--csv", Path("fifo")}, 1, {}},
      {"export: OUT.csv cannot be written",
       {"export", usa, "--csv", Path("no/such/folder/out.csv")},
       2,
       {}},
      {"export: usage", {"export", usa}, 64, {}},
      {"import", {"import", usa, "--csv", Path("good.csv"), "--output", Path("new.dat")}, 0, {}},
      {"import: IN.csv cannot be read",
       {"import", usa, "--csv", Path("missing.csv"), "--output", Path("new2.dat")},
       1,
       {}},
      {"import: refused",
       {"import", usa, "--csv", Path("refused.csv"), "--output", Path("new3.dat")},
       40,
       {}},
      {"import: a file code",
       {"import", Path("format.dat"), "--csv", Path("good.csv"), "--output", Path("new4.dat")},
       6,
       {}},
      {"import: usage", {"import", usa, "--csv", Path("good.csv")}, 64, {}},
      {"print", {"print", "--pdf", Path("out.pdf"), usa}, 0, {}},
      {"print: a file code", {"print", "--pdf", Path("out2.pdf"), Path("format.dat")}, 6, {}},
      {"print: OUT.pdf is no regular file", {"print", "--pdf", Path("fifo"), usa}, 1, {}},
      {"print: OUT.pdf cannot be written",
       {"print", "--pdf", Path("no/such/folder/out.pdf"), usa},
       2,
       {}},
      {"print: usage", {"print", usa}, 64, {}},
      {"fleet: the list cannot be read",
       {"fleet", "--image", usa, "--ids", Path("missing.csv"), "--device", noDevice, "--yes"},
       1,
       {}},
      {"fleet: the log cannot be read",
       {"fleet", "--image", usa, "--ids", Path("ids.csv"), "--log", Path("bad-log.csv"), "--device",
        noDevice, "--yes"},
       40,
       {}},
      {"fleet: a refused list",
       {"fleet", "--image", usa, "--ids", Path("bad-ids.csv"), "--device", noDevice, "--yes"},
       40,
       {}},
      {"fleet: the last radio failed",
       {"fleet", "--image", usa, "--ids", Path("ids.csv"), "--log", Path("log1.csv"), "--device",
        noDevice, "--yes", "--quiet"},
       22,
       {}},
      {"fleet: the log cannot be written",
       {"fleet", "--image", usa, "--ids", Path("ids.csv"), "--log", Path("no/such/log.csv"),
        "--device", noDevice, "--yes", "--quiet"},
       74,
       {}},
      {"fleet: usage", {"fleet", "--image", usa, "--device", noDevice}, 64, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const clitest::CliRun run = RunCli(c.args, clitest::CliStreams{{}, c.out}, 60000);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, c.exit) << c.what << "\n" << run.err;
  }
}

// The fleet's own statuses with a radio behind the line: all done, and a
// run whose standard input ended before the last radio.
TEST_F(CliStatus, FleetWithARadio) {
  Write("two.csv", "id\r\n2110000011\r\n2110000021\r\n");
  const QString usa = Initial("TB58_00_USA.DAT");
  testsupport::RadioSim sim;
  ASSERT_TRUE(sim.Start({"--image", usa})) << sim.Error();
  const QString device = QString::fromStdString(sim.Device());
  const clitest::CliRun done = RunCli({"fleet", "--image", usa, "--ids", Path("ids.csv"), "--log",
                                       Path("done.csv"), "--device", device, "--yes", "--quiet"});
  EXPECT_EQ(done.exitCode, 0) << done.err;
  sim.Stop();
  ASSERT_TRUE(sim.Start({"--image", usa})) << sim.Error();
  // Standard input is empty: no radio is ready.
  const clitest::CliRun stopped =
      RunCli({"fleet", "--image", usa, "--ids", Path("two.csv"), "--log", Path("stopped.csv"),
              "--device", QString::fromStdString(sim.Device()), "--quiet"},
             clitest::CliStreams{"/dev/null", {}});
  EXPECT_EQ(stopped.exitCode, 64) << stopped.err;
}

}  // namespace
