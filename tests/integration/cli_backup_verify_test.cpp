// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli against the radio simulator on a pseudo-terminal: the backup
// every read leaves and its listing, and write --verify against a radio
// that stores a byte wrong.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include "support/codes.h"

#include <string>

#include "support/cli_support.h"
#include "support/radio_sim.h"

namespace {

using clitest::FileBytes;
using clitest::MessageCount;
using clitest::RunCli;

class CliBackupVerify : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    backups = dir.filePath("backups");
    qputenv("SEACLONE_BACKUP_DIR", backups.toLocal8Bit());
  }
  void TearDown() override { qunsetenv("SEACLONE_BACKUP_DIR"); }

  QString Serve(const char* comment, QStringList options = {}) {
    const QString image = dir.filePath(QString("served-%1.dat").arg(++served));
    clitest::WriteModelImage(image, comment);
    options << "--image" << image;
    EXPECT_TRUE(sim.Start(options)) << sim.Error();
    return QString::fromStdString(sim.Device());
  }
  QStringList Kept() const { return QDir(backups).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir dir;
  QString backups;
  int served = 0;
  testsupport::RadioSim sim;
};

TEST_F(CliBackupVerify, EveryReadLeavesABackupListedNewestFirst) {
  const QString first = dir.filePath("first.dat");
  ASSERT_EQ(
      RunCli({"read", "--device", Serve("ALPHA BOAT"), "--output", first, "--quiet"}).exitCode, 0);
  sim.Stop();
  // Two reads of the same second keep apart by name all the same.
  ASSERT_EQ(RunCli({"read", "--device", Serve("BRAVO/BOAT?"), "--output", "-", "--quiet"}).exitCode,
            0);
  sim.Stop();

  const QStringList kept = Kept();
  ASSERT_EQ(kept.size(), 2) << kept.join(' ').toStdString();
  EXPECT_TRUE(kept[0].endsWith("_USA_ALPHA-BOAT.dat")) << kept[0].toStdString();
  EXPECT_TRUE(kept[1].endsWith("_USA_BRAVO-BOAT.dat")) << kept[1].toStdString();
  // The backup is the image read, as a clone data file the program opens.
  EXPECT_EQ(FileBytes(QDir(backups).filePath(kept[0])), FileBytes(first));

  const auto list = RunCli({"backups"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  const QStringList lines = QString::fromStdString(list.out).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << list.out;
  const QStringList newest = lines[0].split('\t');
  ASSERT_EQ(newest.size(), 6) << list.out;
  EXPECT_EQ(newest[0], QDir(backups).filePath(kept[1]));
  EXPECT_TRUE(
      QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$").match(newest[1]).hasMatch())
      << newest[1].toStdString();
  EXPECT_EQ(newest[2], "USA");
  EXPECT_EQ(newest[3], "BRAVO/BOAT?");
  EXPECT_EQ(newest[5], "ok");
  EXPECT_EQ(lines[1].split('\t').value(3), "ALPHA BOAT") << lines[1].toStdString();
  EXPECT_EQ(RunCli({"check", newest[0]}).exitCode, 0);
}

TEST_F(CliBackupVerify, FailedReadLeavesNoBackup) {
  const QString device = Serve("LOST", {"--fault", "missing-frame", "--fault-at", "9"});
  const auto run =
      RunCli({"read", "--device", device, "--output", dir.filePath("x.dat"), "--quiet"});
  EXPECT_EQ(run.exitCode, 28) << run.err;
  EXPECT_TRUE(Kept().isEmpty());
  const auto list = RunCli({"backups"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out, "");
}

struct VerifyRun {
  const char* name;
  QStringList simOptions;
  bool verify;
  int exit;
  const char* said;  // part of the last message; "" for none
};

class CliVerify : public CliBackupVerify, public ::testing::WithParamInterface<VerifyRun> {};

TEST_P(CliVerify, WriteReadsBackWhatItSent) {
  const VerifyRun& c = GetParam();
  const QString sent = dir.filePath("sent.dat");
  clitest::WriteModelImage(sent, "WRITTEN");
  const QString device = Serve("BEFORE", c.simOptions);
  QStringList args{"write", "--device", device, "--quiet"};
  if (c.verify) args << "--verify";
  const auto run = RunCli(args << sent);
  EXPECT_EQ(run.exitCode, c.exit) << run.err;
  // The confirmation, then success or the one failure.
  EXPECT_EQ(MessageCount(run.err), 2) << run.err;
  EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
  // A read-back is not a read: it keeps no backup.
  EXPECT_TRUE(Kept().isEmpty());
}

const VerifyRun kVerifyRuns[] = {
    {"GoodRadio", {}, true, 0, "have been written"},
    {"FirstByteStoredWrong",
     {"--fault", "store-wrong"},
     true,
     38,
     "first difference is at address 000 (page USA channels, channel entry 0): written"},
    {"CommentByteStoredWrong",
     {"--fault", "store-wrong", "--fault-at", "2500"},
     true,
     38,
     "address 9C4 (comment, model and maker signature): written 54, read back 55"},
    // Without the read-back the write cannot tell.
    {"UnverifiedWriteMissesIt", {"--fault", "store-wrong"}, false, 0, "have been written"},
};

INSTANTIATE_TEST_SUITE_P(Runs, CliVerify, ::testing::ValuesIn(kVerifyRuns),
                         [](const auto& info) { return std::string(info.param.name); });

// The bar of the read-back says it is one, not a second write.
TEST_F(CliBackupVerify, ReadBackHasABarOfItsOwn) {
  const QString sent = dir.filePath("sent.dat");
  clitest::WriteModelImage(sent, "WRITTEN");
  const QString device = Serve("BEFORE", {});
  const auto run = RunCli({"write", "--device", device, "--verify", sent});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::size_t back = run.err.find("Reading back [");
  ASSERT_NE(back, std::string::npos) << run.err;
  EXPECT_NE(run.err.substr(0, back).find("Writing ["), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("Writing [", back), std::string::npos) << run.err;
}

}  // namespace
