// SPDX-License-Identifier: GPL-3.0-or-later
// The cross-built seaclone-cli.exe under Wine against the radio simulator,
// paced at 9600 baud: Wine maps COMn to the simulator's pseudo-terminal
// through a link in the prefix's dosdevices folder, so the Win32 serial
// backend runs the whole exchange. Information, read, write and read back,
// and the failures a user meets first: a silent radio, a cable that echoes
// nothing, a broken frame, a radio that hangs up, a refused write, a port
// another program holds and a port with nothing behind it.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>

#include "platform/posix/posix_serial_device.h"
#include "support/cli_support.h"
#include "support/radio_sim.h"

namespace {

using clitest::FileBytes;

const QString kExe = QStringLiteral(SEACLONE_WINDOWS_CLI);
const QString kPrefix = QStringLiteral(SEACLONE_WINE_PREFIX);
constexpr int kPort = 7;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The Linux path as the Windows program names it: Wine's drive Z: is the
// Unix root.
QString WinPath(QString path) { return "Z:" + path.replace('/', '\\'); }

QString ComLink(int port) { return kPrefix + "/dosdevices/com" + QString::number(port); }

// The link itself, dangling or not.
void RemoveComLink() {
  std::error_code ignored;
  std::filesystem::remove(ComLink(kPort).toStdString(), ignored);
}

// One Wine server for the whole program, started here so that it runs
// without CAP_SYS_ADMIN: the server opens the devices for every Wine
// process, and with that capability it would ignore another holder's
// TIOCEXCL, so a busy port could not be shown when the tests run as root.
class WineServer : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("WINEPREFIX", kPrefix.toLocal8Bit());
    qputenv("WINEDEBUG", "-all");
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    ASSERT_TRUE(QFile::exists(kPrefix + "/system.reg"))
        << "no Wine prefix at " << kPrefix.toStdString();
    // A server left over from an earlier Wine call would keep its own rights.
    QProcess::execute("wineserver", {"-k"});
    QProcess::execute("wineserver", {"-w"});
    QProcess server;
    // The server keeps the standard error it started with; a file keeps its
    // object dumps out of the test log.
    server.setStandardOutputFile(kPrefix + "/wineserver.log", QIODevice::Append);
    server.setStandardErrorFile(kPrefix + "/wineserver.log", QIODevice::Append);
    if (::geteuid() == 0) {
      server.start("setpriv", {"--bounding-set", "-sys_admin", "wineserver", "-p"});
    } else {
      server.start("wineserver", {"-p"});
    }
    ASSERT_TRUE(server.waitForFinished(30000) && server.exitCode() == 0)
        << "the Wine server did not start";
  }
  void TearDown() override { QProcess::execute("wineserver", {"-k"}); }
};

[[maybe_unused]] const auto* const kWineServer =
    ::testing::AddGlobalTestEnvironment(new WineServer);

clitest::CliRun RunExe(const QStringList& args) {
  clitest::CliRun run =
      clitest::RunProgram("wine", QStringList{kExe} + args, {QProcess::nullDevice(), {}});
  // The Windows C library ends its lines with CR LF.
  for (std::string* text : {&run.out, &run.err}) {
    std::erase(*text, '\r');
  }
  return run;
}

class CliWine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    RemoveComLink();
  }
  void TearDown() override {
    sim.Stop();
    RemoveComLink();
  }
  QString Path(const char* name) const { return dir.filePath(name); }

  // The simulator at the pace of the real line, behind COM7. Without an
  // image of the caller's it serves the initial image of model 0 under a
  // comment of our own.
  void StartSim(QStringList options) {
    if (!options.contains("--image") && !options.contains("--model")) {
      const QString served = Path("served.dat");
      clitest::WriteModelImage(served, "UNDER WINE");
      options << "--image" << served;
    }
    RemoveComLink();
    options << "--baud-pace"
            << "--link" << ComLink(kPort);
    ASSERT_TRUE(sim.Start(options)) << sim.Error();
  }

  clitest::CliRun Timed(const QStringList& args, double* seconds) {
    QElapsedTimer clock;
    clock.start();
    clitest::CliRun run = RunExe(args);
    *seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return run;
  }

  QTemporaryDir dir;
  testsupport::RadioSim sim;
  const QString port = QString::number(kPort);
};

TEST_F(CliWine, InformationPrintsTheRadiosLines) {
  StartSim({"--revision", "23"});
  const auto run = RunExe({"info", "--port", port});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(clitest::MessageCount(run.err), 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Model: USA\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "Revision: 2.3\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "Comment: UNDER WINE\n")) << run.out;
}

TEST_F(CliWine, ReadWriteAndReadBackAreByteIdentical) {
  StartSim({});
  const QString read = Path("read.dat");
  double readSeconds = 0;
  const auto first =
      Timed({"read", "--port", port, "--output", WinPath(read), "--quiet"}, &readSeconds);
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const QByteArray text = FileBytes(read);
  EXPECT_TRUE(text.startsWith("58160001\r\n#Comment=UNDER WINE")) << text.left(60).toStdString();
  sim.Stop();

  // A radio that starts with its initial image takes ours.
  const QString saved = Path("saved.dat");
  StartSim({"--model", "0", "--save", saved});
  double writeSeconds = 0;
  const auto write = Timed({"write", "--port", port, "--quiet", WinPath(read)}, &writeSeconds);
  ASSERT_EQ(write.exitCode, 0) << write.err;
  sim.Stop();
  EXPECT_EQ(FileBytes(saved), text);

  StartSim({"--image", saved});
  const QString back = Path("back.dat");
  const auto again = RunExe({"read", "--port", port, "--output", WinPath(back), "--quiet"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(FileBytes(back), text);

  std::printf("under Wine at 9600 baud: read %.2f s, write %.2f s\n", readSeconds, writeSeconds);
  RecordProperty("read_seconds", std::to_string(readSeconds));
  RecordProperty("write_seconds", std::to_string(writeSeconds));
}

using clitest::FaultCase;

class CliWineFault : public CliWine, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CliWineFault, EndsWithItsStatusAndOneMessage) {
  const FaultCase& c = GetParam();
  QStringList options{"--fault", c.fault};
  if (c.at) options << "--fault-at" << c.at;
  StartSim(options);
  const QString out = Path("out.dat");
  const auto run = c.write
                       ? RunExe({"write", "--port", port, "--quiet", WinPath(Path("served.dat"))})
                       : RunExe({"read", "--port", port, "--output", WinPath(out), "--quiet"});
  EXPECT_FALSE(run.crashed);
  EXPECT_EQ(run.exitCode, c.exit) << run.err;
  // A write shows its confirmation first.
  EXPECT_EQ(clitest::MessageCount(run.err), c.write ? 2 : 1) << run.err;
  EXPECT_FALSE(QFile::exists(out));
}

INSTANTIATE_TEST_SUITE_P(Faults, CliWineFault,
                         ::testing::Values(FaultCase{"silent", nullptr, false, 25},
                                           FaultCase{"no-echo", nullptr, false, 24},
                                           FaultCase{"bad-checksum", "5", false, 26},
                                           FaultCase{"hang-up", "8", false, 25},
                                           FaultCase{"write-refused", nullptr, true, 30}),
                         clitest::FaultCaseName);

TEST_F(CliWine, PortThatCannotBeOpenedSaysWhy) {
  StartSim({});
  {
    // Held by a Linux program the way seaclone holds a port.
    platform::PosixSerialDevice holder;
    ASSERT_TRUE(holder.Open(sim.Device()));
    const auto busy = RunExe({"info", "--port", port});
    EXPECT_EQ(busy.exitCode, 22) << busy.err;
    EXPECT_EQ(clitest::MessageCount(busy.err), 1) << busy.err;
    EXPECT_TRUE(Has(busy.err, "COM" + port.toStdString())) << busy.err;
    EXPECT_TRUE(Has(busy.err, "another program is using it")) << busy.err;
  }
  // Released, the same port answers.
  EXPECT_EQ(RunExe({"info", "--port", port}).exitCode, 0);
  sim.Stop();

  // A COM link whose terminal is gone, a port Wine has no link for, a folder
  // (which Windows refuses as "access denied", like a held port) and a file.
  RemoveComLink();
  std::filesystem::create_symlink(Path("gone-tty").toStdString(), ComLink(kPort).toStdString());
  const QString file = Path("plain.dat");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  struct Case {
    QStringList line;
    std::string says;
  };
  const Case cases[] = {
      {{"--port", port}, "there is no such device"},
      {{"--port", "199"}, "there is no such device"},
      {{"--device", WinPath(dir.path())}, "it is not a serial device"},
      {{"--device", WinPath(file)}, "it is not a serial device"},
  };
  for (const Case& c : cases) {
    const auto run = RunExe(QStringList{"info"} + c.line);
    const std::string name = c.line.join(' ').toStdString();
    EXPECT_EQ(run.exitCode, 22) << name << "\n" << run.err;
    EXPECT_EQ(clitest::MessageCount(run.err), 1) << name << "\n" << run.err;
    EXPECT_TRUE(Has(run.err, c.says)) << name << "\n" << run.err;
  }
}

}  // namespace
