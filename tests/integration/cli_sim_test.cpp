// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli against the radio simulator over a real pseudo-terminal:
// information, read, write, a round trip, and every fault the simulator can
// play, each with its exit status, its one message and no file left behind.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "support/codes.h"

#include <QDir>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/message_box.h"
#include "platform/posix/posix_serial_device.h"
#include "platform/qtcore/settings_store.h"
#include "support/cli_support.h"
#include "support/disk_squeeze.h"
#include "support/radio_sim.h"

namespace {

using clitest::CliRun;
using clitest::CliStreams;
using clitest::FileBytes;
using clitest::MessageCount;
using clitest::RunCli;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CliSim : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const char* name) const { return dir.filePath(name); }

  // The initial image of model 0 with a comment of our own, as a file the
  // simulator serves.
  QString ServedImage(const char* comment = "ROUND TRIP") {
    const QString path = Path("served.dat");
    clitest::WriteModelImage(path, comment);
    return path;
  }

  void StartSim(QStringList options) {
    if (!options.contains("--image") && !options.contains("--model")) {
      options << "--image" << ServedImage();
    }
    ASSERT_TRUE(sim.Start(options)) << sim.Error();
    device = QString::fromStdString(sim.Device());
  }

  QTemporaryDir dir;
  testsupport::RadioSim sim;
  QString device;
};

TEST_F(CliSim, InformationPrintsOneCaptionedLineEach) {
  StartSim({"--revision", "23", "--fault", "over-temp"});
  const auto run = RunCli({"info", "--device", device});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(MessageCount(run.err), 0);
  EXPECT_NE(run.out.find("Model: USA\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Revision: 2.3\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Comment: ROUND TRIP\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Battery: "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Warning: "), std::string::npos) << run.out;
}

TEST_F(CliSim, ReadSavesACheckedCloneDataFile) {
  StartSim({});
  const QString out = Path("read.dat");
  const auto run = RunCli({"read", "--device", device, "--output", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(MessageCount(run.err), 0);
  EXPECT_NE(run.err.find("[################################] 3312/3312"), std::string::npos);
  const QByteArray text = FileBytes(out);
  EXPECT_TRUE(text.startsWith("58160001\r\n#Comment=ROUND TRIP\r\n#MapRev=1\r\n"))
      << text.left(60).toStdString();
  EXPECT_EQ(RunCli({"check", out}).exitCode, 0);
}

TEST_F(CliSim, RoundTripLeavesTheRadioHoldingTheFile) {
  StartSim({});
  const QString out = Path("read.dat");
  ASSERT_EQ(RunCli({"read", "--device", device, "--output", out, "--quiet"}).exitCode, 0);
  sim.Stop();

  const QString saved = Path("saved.dat");
  StartSim({"--image", out, "--save", saved});
  const auto run = RunCli({"write", "--device", device, "--quiet", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The confirmation and the success message; no error.
  EXPECT_EQ(MessageCount(run.err), 2) << run.err;
  sim.Stop();
  EXPECT_EQ(FileBytes(saved), FileBytes(out));
}

TEST_F(CliSim, PortNumbersFollowThePortsMap) {
  StartSim({});
  { platform::OpenSettingsStore()->setValue("Ports/COM7", device); }
  const auto mapped = RunCli({"info", "--port", "7"});
  EXPECT_EQ(mapped.exitCode, 0) << mapped.err;
  // A number that names no device cannot be opened: status 2, with the
  // number in the message.
  const auto missing = RunCli({"info", "--port", "199"});
  EXPECT_EQ(missing.exitCode, 22);
  EXPECT_EQ(MessageCount(missing.err), 1);
  EXPECT_NE(missing.err.find("COM199"), std::string::npos) << missing.err;
  platform::OpenSettingsStore()->remove("Ports");

  const auto absent = RunCli({"info", "--device", Path("no-such-tty")});
  EXPECT_EQ(absent.exitCode, 22);
  EXPECT_EQ(MessageCount(absent.err), 1);
  EXPECT_NE(absent.err.find(Path("no-such-tty").toStdString()), std::string::npos) << absent.err;
}

TEST_F(CliSim, WriteWithErrorCellsIsRefusedBeforeTheRadioIsAsked) {
  // Every weather channel inhibited: the weather check cell is in error.
  cmcEeprom image(memmap::kImageSize);
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  file.SetShowMessages(false);
  ASSERT_EQ(Num(file.Read(ServedImage().toStdString(), &cmcCloneFile::StandardRanges())), 0);
  image.SetWord(memmap::kWxBits, 0x03FF);
  file.SetMapRevision(1);
  const QString bad = Path("bad.dat");
  ASSERT_EQ(Num(file.Write(bad.toStdString(), cmcCloneFile::StandardRanges())), 0);

  const QString saved = Path("saved.dat");
  StartSim({"--save", saved});
  const auto run = RunCli({"write", "--device", device, bad});
  EXPECT_EQ(run.exitCode, 40) << run.err;
  EXPECT_EQ(MessageCount(run.err), 1);
  // There is no tree to mark: the message names the page instead.
  EXPECT_TRUE(Has(run.err, "Pages with errors: Weather channels\n")) << run.err;
  EXPECT_FALSE(Has(run.err, "tree")) << run.err;
  sim.Stop();
  EXPECT_FALSE(QFile::exists(saved));
}

TEST_F(CliSim, WriteOfAFileThatFailsItsChecksExitsWithItsCode) {
  StartSim({});
  QFile f(Path("broken.dat"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("58160001\r\n#Comment=\r\n#MapRev=1\r\n0000020102\r\n");
  f.close();
  const auto run = RunCli({"write", "--device", device, Path("broken.dat")});
  EXPECT_EQ(run.exitCode, 7);
  EXPECT_EQ(MessageCount(run.err), 1);
}

using clitest::FaultCase;

class CliSimFault : public CliSim, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(CliSimFault, EndsWithItsStatusOneMessageAndNoFile) {
  const FaultCase& c = GetParam();
  const QString saved = Path("saved.dat");
  QStringList options{"--fault", c.fault, "--save", saved};
  if (c.at) options << "--fault-at" << c.at;
  StartSim(options);
  CliRun run;
  const QString out = Path("out.dat");
  if (c.write) {
    run = RunCli({"write", "--device", device, "--quiet", ServedImage()});
  } else {
    run = RunCli({"read", "--device", device, "--output", out, "--quiet"});
  }
  EXPECT_EQ(run.exitCode, c.exit) << run.err;
  EXPECT_FALSE(run.crashed);
  // A write shows its confirmation first.
  EXPECT_EQ(MessageCount(run.err), c.write ? 2 : 1) << run.err;
  EXPECT_FALSE(QFile::exists(out));
  if (c.exit != 0) {
    sim.Stop();
    EXPECT_FALSE(QFile::exists(saved));  // the radio accepted nothing
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CliSimFault,
    ::testing::Values(
        FaultCase{"silent", nullptr, false, 25}, FaultCase{"no-echo", nullptr, false, 24},
        FaultCase{"wrong-echo", "3", false, 24}, FaultCase{"bad-checksum", "5", false, 26},
        FaultCase{"lower-case", "0", false, 26}, FaultCase{"wrong-count", nullptr, false, 27},
        FaultCase{"missing-frame", "9", false, 28}, FaultCase{"beyond-image", nullptr, false, 29},
        FaultCase{"read-forbidden", nullptr, false, 26},
        FaultCase{"value2-zero", nullptr, false, 31}, FaultCase{"no-signature", nullptr, false, 35},
        FaultCase{"hang-up", "8", false, 25}, FaultCase{"hang-up-bytes", "64", false, 25},
        FaultCase{"write-refused", nullptr, true, 30}, FaultCase{"other-model", nullptr, true, 33},
        FaultCase{"hang-up", "8", true, 24}, FaultCase{"wrong-echo", "200", true, 24}),
    clitest::FaultCaseName);

TEST_F(CliSim, LostStandardOutputIsAnError) {
  StartSim({});
  const QStringList cases[] = {
      {"--help"},
      {"info", "--device", device},
      {"read", "--device", device, "--output", "-", "--quiet"},
  };
  for (const QStringList& args : cases) {
    const auto run = RunCli(args, CliStreams{{}, "/dev/full"});
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.exitCode, 74) << args.join(' ').toStdString() << "\n" << run.err;
    EXPECT_TRUE(Has(run.err, "standard output could not be written: No space left on device"))
        << args.join(' ').toStdString() << "\n"
        << run.err;
  }
}

TEST_F(CliSim, FailureEndsTheProgressBarsLine) {
  StartSim({"--fault", "bad-checksum", "--fault-at", "100"});
  const auto run = RunCli({"read", "--device", device, "--output", Path("out.dat")});
  EXPECT_EQ(run.exitCode, 26);
  const std::size_t message = run.err.find(clitest::AppTitle() + ": ");
  ASSERT_NE(message, std::string::npos) << run.err;
  EXPECT_TRUE(Has(run.err.substr(0, message), "Reading [")) << run.err;
  // On a line of its own, and no bar drawn after it.
  ASSERT_GT(message, 0u);
  EXPECT_EQ(run.err[message - 1], '\n') << run.err;
  EXPECT_FALSE(Has(run.err.substr(message), "\r")) << run.err;
  EXPECT_FALSE(Has(run.err.substr(message), "Reading [")) << run.err;
}

TEST_F(CliSim, PortThatCannotBeOpenedSaysWhichAndWhy) {
  StartSim({});
  // The simulator's line, held by someone else.
  platform::PosixSerialDevice holder;
  ASSERT_TRUE(holder.Open(device.toStdString()));
  const QString gone = Path("gone-tty");
  const QString file = Path("plain.dat");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Recent", "K4T");
    settings.setValue("Ports/COM200", gone);
  }
  struct Case {
    QStringList line;
    std::vector<std::string> says;
  };
  const Case cases[] = {
      {{"--device", gone}, {gone.toStdString() + " could not be opened: there is no such device"}},
      {{"--device", dir.path()},
       {dir.path().toStdString() + " could not be opened: it is not a serial device"}},
      {{"--device", file},
       {file.toStdString() + " could not be opened: it is not a serial device"}},
      {{"--device", "/dev/null"}, {"it is not a serial device"}},
      {{"--device", device},
       {device.toStdString() + " could not be opened: another program is using it"}},
      {{"--port", "200"},
       {"COM200 (" + gone.toStdString() + ") could not be opened: there is no such device"}},
      {{"--port", "199"}, {"COM199 names no serial device", "--device"}},
  };
  for (const Case& c : cases) {
    const auto run = RunCli(QStringList{"info"} + c.line);
    const std::string name = c.line.join(' ').toStdString();
    EXPECT_EQ(run.exitCode, 22) << name;
    EXPECT_EQ(MessageCount(run.err), 1) << name;
    for (const std::string& part : c.says)
      EXPECT_TRUE(Has(run.err, part)) << name << "\n" << run.err;
    EXPECT_FALSE(Has(run.err, "Another program may be using it")) << name << "\n" << run.err;
  }
  QSettings(QSettings::NativeFormat, QSettings::UserScope, "Recent", "K4T").remove("Ports");
}

TEST_F(CliSim, MessagesAreWordedForTheCommandLine) {
  struct Case {
    QStringList simOptions;
    bool write;
    int exit;
  };
  const Case cases[] = {
      {{}, true, 0},                           // the confirmation and the success
      {{"--fault", "other-model"}, true, 33},  // another model family
      {{"--fault", "silent"}, false, 25},      // the cable check list
  };
  for (const Case& c : cases) {
    StartSim(c.simOptions);
    const auto run =
        c.write ? RunCli({"write", "--device", device, "--quiet", ServedImage()})
                : RunCli({"read", "--device", device, "--output", Path("out.dat"), "--quiet"});
    EXPECT_EQ(run.exitCode, c.exit) << run.err;
    for (const char* windowWords :
         {"Continue?", "Port menu", "Select the matching model type", "tree"}) {
      EXPECT_FALSE(Has(run.err, windowWords)) << windowWords << "\n" << run.err;
    }
    sim.Stop();
  }
  const auto port = RunCli({"info", "--device", Path("no-such-tty")});
  EXPECT_TRUE(Has(port.err, "the radio's port is given with --port or --device")) << port.err;
}

TEST_F(CliSim, DashStandsForTheStandardStreams) {
  StartSim({});
  const QString file = Path("read.dat");
  ASSERT_EQ(RunCli({"read", "--device", device, "--output", file, "--quiet"}).exitCode, 0);
  const QString stdoutFile = Path("stdout.dat");
  const auto toStdout =
      RunCli({"read", "--device", device, "--output", "-", "--quiet"}, CliStreams{{}, stdoutFile});
  EXPECT_EQ(toStdout.exitCode, 0) << toStdout.err;
  EXPECT_EQ(FileBytes(stdoutFile), FileBytes(file));
  EXPECT_FALSE(QFile::exists("-"));
  sim.Stop();

  QFile broken(Path("broken.dat"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("58160001\r\n#Comment=\r\n#MapRev=1\r\n0000020102\r\n");
  broken.close();
  EXPECT_EQ(RunCli({"check", "-"}, CliStreams{file, {}}).exitCode, 0);
  EXPECT_EQ(RunCli({"check", "-"}, CliStreams{broken.fileName(), {}}).exitCode, 7);

  const QString saved = Path("saved.dat");
  StartSim({"--image", file, "--save", saved});
  const auto fromStdin =
      RunCli({"write", "--device", device, "--quiet", "-"}, CliStreams{file, {}});
  EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err;
  sim.Stop();
  EXPECT_EQ(FileBytes(saved), FileBytes(file));
}

TEST_F(CliSim, StrayBytesBeforeTheRadiosFramesAreHarmless) {
  StartSim({"--fault", "stray"});
  const QString out = Path("out.dat");
  const auto run = RunCli({"read", "--device", device, "--output", out, "--quiet"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(QFile::exists(out));
}

TEST_F(CliSim, FailedReadLeavesAnExistingOutputAsItWas) {
  StartSim({"--fault", "bad-checksum", "--fault-at", "100"});
  const QString out = Path("keep.dat");
  {
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not touched");
  }
  const auto run = RunCli({"read", "--device", device, "--output", out, "--quiet"});
  EXPECT_EQ(run.exitCode, 26);
  EXPECT_EQ(FileBytes(out), QByteArray("not touched"));
}

TEST_F(CliSim, WriteSendsAFileOfTheHighestModelType) {
  const QString saved = Path("saved.dat");
  StartSim({"--model", "12", "--save", saved});
  const QString file = QStringLiteral(SEACLONE_BIN_DIR "/TB58_12_EXPORT.DAT");
  const auto run = RunCli({"write", "--device", device, "--quiet", file});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  sim.Stop();
  EXPECT_TRUE(QFile::exists(saved));
}

TEST_F(CliSim, ReadThatRunsOutOfRoomKeepsTheExistingOutput) {
  StartSim({});
  for (const testsupport::Squeeze& squeeze : testsupport::kSqueezes) {
    SCOPED_TRACE(squeeze.what);
    const QString folder = Path(squeeze.what);
    ASSERT_TRUE(QDir().mkpath(folder));
    const testsupport::Undo undo = squeeze.apply(folder);
    if (!undo) {
      ADD_FAILURE() << "cannot set up " << squeeze.what << " here";
      continue;
    }
    const QString out = folder + "/keep.dat";
    {
      QFile f(out);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("the user's old file");
    }
    const auto run = RunCli({"read", "--device", device, "--output", out, "--quiet"});
    const QByteArray after = FileBytes(out);
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    undo();
    EXPECT_EQ(run.exitCode, 2) << run.err;
    // A file-size limit holds for every file of the process: the backup of
    // the read cannot be written either, and says so first.
    const bool everyFile = std::string(squeeze.what) == "file-size limit";
    EXPECT_EQ(MessageCount(run.err), everyFile ? 2 : 1) << run.err;
    EXPECT_EQ(Has(run.err, "could not be kept as a backup"), everyFile) << run.err;
    EXPECT_EQ(after, QByteArray("the user's old file"));
    EXPECT_EQ(entries, QStringList{"keep.dat"});
  }
}

TEST_F(CliSim, ReadSavesUnderANameThatIsNotUtf8) {
  StartSim({});
  QTemporaryDir scratch;
  const std::string folder = dir.path().toStdString();
  const std::string out = folder + "/read\xe4.dat";
  const auto run =
      clitest::RunCliBytes({"read", "--device", device.toStdString(), "--output", out, "--quiet"},
                           scratch.path().toStdString());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(out));
  EXPECT_FALSE(std::filesystem::exists(folder + "/read\xef\xbf\xbd.dat"));
  EXPECT_EQ(clitest::RunCliBytes({"check", out}, scratch.path().toStdString()).exitCode, 0);
}

}  // namespace
