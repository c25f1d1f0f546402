// SPDX-License-Identifier: GPL-3.0-or-later
// The clone fault matrix: every fault the radio simulator can play, a
// hang-up at several points of each exchange and stray bytes on the line,
// against information, read and write, through the real seaclone-cli and
// the real simulator on a pseudo-terminal. Whatever goes wrong, the program
// must end with the status its failure defines, say so exactly once, let go
// of the port, leave the user's files alone, and never make the radio take
// a write it did not finish.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "support/codes.h"

#include <ostream>
#include <string>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "radio/comm.h"
#include "support/cli_support.h"
#include "support/radio_sim.h"
#include "text/gtex.h"

namespace {

using clitest::CliRun;
using clitest::FileBytes;
using clitest::MessageCount;
using clitest::RunCli;

enum Op { kInfo, kRead, kWrite };

struct MatrixCell {
  Op op;
  const char* fault;
  const char* at;  // --fault-at, or nullptr
  int exit;        // 0, or 20 + the status of the failed exchange
};

const char* OpName(Op op) { return op == kInfo ? "info" : op == kRead ? "read" : "write"; }

void PrintTo(const MatrixCell& c, std::ostream* os) {
  *os << OpName(c.op) << ' ' << c.fault << (c.at ? std::string(" at ") + c.at : std::string())
      << " -> " << c.exit;
}

cmcGTex& Overlay() {
  static cmcGTex table;
  table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
  return table;
}

// Not faults of the radio but of the port: a device that is not there, and
// one that another program holds.
bool IsPortFault(const MatrixCell& c) {
  return std::string(c.fault) == "no-device" || std::string(c.fault) == "busy";
}

// The first line of the message a failure must show.
std::string ExpectedHead(const MatrixCell& c) {
  if (c.exit == 33) return Overlay().Line("GI_Mess_ModelError", 0);
  if (IsPortFault(c)) {
    // The device comes first; compare the reason that follows it.
    const auto fault = std::string(c.fault) == "busy" ? platform::SerialFault::kBusy
                                                      : platform::SerialFault::kNoDevice;
    const std::string line =
        Overlay().Line("GI_Cli_Mess_CloneErr_PortFault", static_cast<int>(fault));
    return line.substr(line.find("%s") + 2);
  }
  return Overlay().Line("GI_Mess_CloneErr_Head", c.exit - 20);
}

bool IsHangUp(const MatrixCell& c) { return std::string(c.fault).starts_with("hang-up"); }

cmcEeprom LoadImage(const QString& path) {
  cmcEeprom image(memmap::kImageSize);
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  file.SetShowMessages(false);
  EXPECT_EQ(Num(file.Read(path.toStdString(), &cmcCloneFile::StandardRanges())), 0)
      << path.toStdString();
  return image;
}

class FaultMatrix : public ::testing::TestWithParam<MatrixCell> {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const char* name) const { return dir.filePath(name); }

  // The initial image of model 0 under a comment of our own: the file the
  // simulator serves, and under another comment the file a write sends.
  QString ImageFile(const char* name, const char* comment) {
    const QString path = Path(name);
    if (!QFile::exists(path)) clitest::WriteModelImage(path, comment);
    return path;
  }

  QTemporaryDir dir;
  testsupport::RadioSim sim;
};

TEST_P(FaultMatrix, EndsWithItsStatusOneMessageThePortFreeAndNoHalfWrittenData) {
  const MatrixCell& c = GetParam();
  const QString served = ImageFile("served.dat", "FAULT MATRIX");
  const QString sent = ImageFile("sent.dat", "WRITTEN");
  const QString saved = Path("radio-saved.dat");
  const QString log = Path("sim.log");
  QStringList options{"--image", served, "--save", saved, "--log", log};
  if (std::string(c.fault) != "none" && !IsPortFault(c)) options << "--fault" << c.fault;
  if (c.at) options << "--fault-at" << c.at;
  ASSERT_TRUE(sim.Start(options)) << sim.Error();
  const QString device = std::string(c.fault) == "no-device" ? Path("no-such-tty")
                                                             : QString::fromStdString(sim.Device());
  cmcComm holder;
  if (std::string(c.fault) == "busy") {
    ASSERT_TRUE(holder.OpenDevice(sim.Device(), "9600,N,8,1"));
  }

  // Half the reads find a file of the user's already there, half none.
  const QString output = Path("read.dat");
  const bool existingOutput =
      c.op == kRead && (std::string(c.fault).size() + (c.at ? 1 : 0)) % 2 == 0;
  if (existingOutput) {
    QFile f(output);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("the user's own file");
  }

  CliRun run;
  switch (c.op) {
    case kInfo: run = RunCli({"info", "--device", device}, 60000); break;
    case kRead:
      run = RunCli({"read", "--device", device, "--output", output, "--quiet"}, 60000);
      break;
    case kWrite: run = RunCli({"write", "--device", device, "--quiet", sent}, 60000); break;
  }
  holder.Close();
  ASSERT_FALSE(run.crashed) << run.err;
  // A radio that hangs up while frames are being sent may be noticed by the
  // port refusing the rest of a frame before the missing echo times out;
  // which comes first depends on the machine's load, and both name the
  // failure truly.
  const MatrixCell seen =
      IsHangUp(c) && c.op == kWrite && run.exitCode == 37 ? MatrixCell{c.op, c.fault, c.at, 37} : c;
  EXPECT_EQ(run.exitCode, seen.exit) << run.err;

  // Messages: a write first asks for confirmation and ends with one
  // message either way (success or failure); the others say nothing on
  // success and exactly one thing on failure.
  const int expectedMessages = (c.op == kWrite ? 2 : seen.exit != 0 ? 1 : 0);
  EXPECT_EQ(MessageCount(run.err), expectedMessages) << run.err;
  if (seen.exit != 0) {
    EXPECT_NE(run.err.find(ExpectedHead(seen)), std::string::npos) << run.err;
  }
  if (c.op == kInfo && seen.exit == 0) {
    EXPECT_FALSE(run.out.empty());
  }

  // The user's files.
  if (c.op == kRead) {
    if (c.exit == 0) {
      LoadImage(output);
    } else if (existingOutput) {
      EXPECT_EQ(FileBytes(output), QByteArray("the user's own file"));
    } else {
      EXPECT_FALSE(QFile::exists(output));
    }
  }

  // A radio that refused or lost a write still holds what it held before:
  // where the fault has passed and the radio still answers, read it back.
  const std::string fault(c.fault);
  if (c.op == kWrite && c.exit != 0 && (fault == "write-refused" || fault == "wrong-echo")) {
    const QString back = Path("back.dat");
    const CliRun reread = RunCli({"read", "--device", device, "--output", back, "--quiet"}, 60000);
    ASSERT_EQ(reread.exitCode, 0) << reread.err;
    EXPECT_TRUE(LoadImage(back).Equals(LoadImage(served)));
  }

  // The port: a hang-up ends the simulator; otherwise the simulator saw
  // the program close the line and the device can be opened again.
  if (IsHangUp(c)) {
    EXPECT_EQ(sim.WaitForExit(10000), 0);
  } else {
    cmcComm port;
    EXPECT_TRUE(port.OpenDevice(sim.Device(), "9600,N,8,1"));
    port.Close();
    EXPECT_EQ(sim.Stop(), 0);
    if (std::string(c.fault) != "no-device") {
      EXPECT_TRUE(FileBytes(log).contains("line closed by the program"))
          << FileBytes(log).toStdString();
    }
  }

  // The radio: it keeps (and saves) a write only when the write succeeded.
  if (c.op == kWrite && c.exit == 0) {
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_TRUE(LoadImage(saved).Equals(LoadImage(sent)));
  } else {
    EXPECT_FALSE(QFile::exists(saved)) << "the radio took data it should not have";
  }
}

// Every simulator fault against each exchange. Faults of one exchange leave
// the others untouched (exit 0). A read and a write each begin with an
// information exchange, so its faults stop them too.
constexpr MatrixCell kFaultCells[] = {
    {kInfo, "none", nullptr, 0},
    {kRead, "none", nullptr, 0},
    {kWrite, "none", nullptr, 0},
    {kInfo, "silent", nullptr, 25},
    {kRead, "silent", nullptr, 25},
    {kWrite, "silent", nullptr, 25},
    {kInfo, "no-echo", nullptr, 24},
    {kRead, "no-echo", nullptr, 24},
    {kWrite, "no-echo", nullptr, 24},
    {kInfo, "wrong-echo", "3", 24},
    {kRead, "wrong-echo", "3", 24},
    {kWrite, "wrong-echo", "3", 24},
    {kRead, "wrong-echo", "12", 24},
    {kWrite, "wrong-echo", "12", 24},
    {kWrite, "wrong-echo", "600", 24},
    {kInfo, "bad-checksum", "5", 0},
    {kRead, "bad-checksum", "5", 26},
    {kWrite, "bad-checksum", "5", 0},
    {kInfo, "lower-case", "0", 0},
    {kRead, "lower-case", "0", 26},
    {kWrite, "lower-case", "0", 0},
    {kInfo, "wrong-count", nullptr, 0},
    {kRead, "wrong-count", nullptr, 27},
    {kWrite, "wrong-count", nullptr, 0},
    {kInfo, "missing-frame", "9", 0},
    {kRead, "missing-frame", "9", 28},
    {kWrite, "missing-frame", "9", 0},
    {kInfo, "beyond-image", nullptr, 0},
    {kRead, "beyond-image", nullptr, 29},
    {kWrite, "beyond-image", nullptr, 0},
    {kInfo, "write-refused", nullptr, 0},
    {kRead, "write-refused", nullptr, 0},
    {kWrite, "write-refused", nullptr, 30},
    {kInfo, "read-forbidden", nullptr, 0},
    {kRead, "read-forbidden", nullptr, 26},
    {kWrite, "read-forbidden", nullptr, 0},
    {kInfo, "value2-zero", nullptr, 31},
    {kRead, "value2-zero", nullptr, 31},
    {kWrite, "value2-zero", nullptr, 31},
    {kInfo, "no-signature", nullptr, 0},
    {kRead, "no-signature", nullptr, 35},
    {kWrite, "no-signature", nullptr, 0},
    {kInfo, "other-model", nullptr, 0},
    {kRead, "other-model", nullptr, 0},
    {kWrite, "other-model", nullptr, 33},
    {kInfo, "over-temp", nullptr, 0},
    {kRead, "over-temp", nullptr, 0},
    {kWrite, "over-temp", nullptr, 0},
    {kInfo, "over-temp", "2", 0},
    {kInfo, "over-voltage", nullptr, 0},
    {kRead, "over-voltage", nullptr, 0},
    {kWrite, "over-voltage", nullptr, 0},
    {kInfo, "dc-voltage", nullptr, 0},
    {kRead, "dc-voltage", nullptr, 0},
    {kWrite, "dc-voltage", nullptr, 0},
};

// The radio hangs up: inside the request's echo, between echo and reply,
// inside the reply, before the first data frame, in the middle and just
// before the end frame. Byte positions count echo and replies together: an
// information exchange is 10 echo bytes and a 38-byte reply.
constexpr MatrixCell kHangUpCells[] = {
    {kInfo, "hang-up-bytes", "4", 24},   {kInfo, "hang-up-bytes", "10", 25},
    {kInfo, "hang-up-bytes", "30", 25},  {kRead, "hang-up-bytes", "30", 25},
    {kRead, "hang-up-bytes", "52", 24},  {kRead, "hang-up", "0", 25},
    {kRead, "hang-up", "100", 25},       {kRead, "hang-up", "207", 25},
    {kWrite, "hang-up-bytes", "30", 25}, {kWrite, "hang-up-bytes", "52", 24},
    {kWrite, "hang-up", "0", 24},        {kWrite, "hang-up", "80", 24},
    {kWrite, "hang-up", "160", 24},
};

// Stray bytes (00 55 AA FD 0D 0A) before a frame of the radio are line
// noise the frame assembly drops.
constexpr MatrixCell kStrayCells[] = {
    {kInfo, "stray", "0", 0},
    {kRead, "stray", "0", 0},
    {kRead, "stray", "5", 0},
    {kWrite, "stray", "0", 0},
};

std::string CellName(const ::testing::TestParamInfo<MatrixCell>& info) {
  std::string name = std::string(OpName(info.param.op)) + "_" + info.param.fault;
  if (info.param.at) name += std::string("_at_") + info.param.at;
  for (char& ch : name) {
    if (ch == '-') ch = '_';
  }
  return name;
}

constexpr MatrixCell kPortCells[] = {
    {kInfo, "no-device", nullptr, 22},  {kRead, "no-device", nullptr, 22},
    {kWrite, "no-device", nullptr, 22}, {kInfo, "busy", nullptr, 22},
    {kRead, "busy", nullptr, 22},       {kWrite, "busy", nullptr, 22},
};

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix, ::testing::ValuesIn(kFaultCells), CellName);
INSTANTIATE_TEST_SUITE_P(HangUps, FaultMatrix, ::testing::ValuesIn(kHangUpCells), CellName);
INSTANTIATE_TEST_SUITE_P(Stray, FaultMatrix, ::testing::ValuesIn(kStrayCells), CellName);
INSTANTIATE_TEST_SUITE_P(Ports, FaultMatrix, ::testing::ValuesIn(kPortCells), CellName);

}  // namespace
