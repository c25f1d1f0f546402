// SPDX-License-Identifier: GPL-3.0-or-later
// Every radio of a fleet run is read back and compared after its write: a
// radio that keeps a byte wrongly is logged as failed, never as done.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "support/codes.h"

#include <ostream>
#include <string>

#include "support/cli_support.h"
#include "support/radio_sim.h"

namespace {

struct VerifyCase {
  const char* name;
  QStringList fault;  // simulator options
  int exitCode;
  const char* result;  // the log's result for the radio
};

// Failures name the case, not its bytes.
void PrintTo(const VerifyCase& c, std::ostream* os) { *os << c.name; }

class FleetVerify : public ::testing::TestWithParam<VerifyCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    qputenv("SEACLONE_BACKUP_DIR", dir.filePath("backups").toLocal8Bit());
  }
  void TearDown() override { qunsetenv("SEACLONE_BACKUP_DIR"); }

  QTemporaryDir dir;
  testsupport::RadioSim sim;
};

TEST_P(FleetVerify, ARadioThatKeepsAByteWronglyIsLoggedAsFailed) {
  const VerifyCase& c = GetParam();
  const QString image = dir.filePath("fleet.dat");
  clitest::WriteModelImage(image, "FLEET");
  const QString served = dir.filePath("served.dat");
  clitest::WriteModelImage(served, "BEFORE");
  const QString ids = dir.filePath("ids.csv");
  {
    QFile f(ids);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("id\n2110000011\n");
  }
  const QString log = dir.filePath("run.csv");

  ASSERT_TRUE(sim.Start(QStringList{"--image", served} + c.fault)) << sim.Error();
  const auto run =
      clitest::RunCli({"fleet", "--image", image, "--ids", ids, "--device",
                       QString::fromStdString(sim.Device()), "--log", log, "--yes", "--quiet"});
  sim.Stop();
  EXPECT_EQ(run.exitCode, c.exitCode) << run.err;

  QFile f(log);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
  ASSERT_EQ(lines.size(), 2) << "a header and one radio";
  const std::string record = lines[1].trimmed().toStdString();
  EXPECT_EQ(record.substr(record.find(',') + 1), std::string("2110000011,1.0,") + c.result);
}

// A plain write sends 0x000-0x9FF; the first and the last byte it sends.
const VerifyCase kCases[] = {
    {"KeepsEveryByte", {}, 0, "ok"},
    {"KeepsTheFirstByteWrongly", {"--fault", "store-wrong"}, 38, "failed (exit 38)"},
    {"KeepsTheLastByteWrongly",
     {"--fault", "store-wrong", "--fault-at", "2559"},
     38,
     "failed (exit 38)"},
};

INSTANTIATE_TEST_SUITE_P(Radios, FleetVerify, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
