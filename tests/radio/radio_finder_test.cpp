// SPDX-License-Identifier: GPL-3.0-or-later
// The search for the radio: which ports it asks, and the search itself over
// real pseudo-terminals with the radio simulator (a radio, a silent radio,
// a line without echo), a port another program holds and one that is gone.
#include <gtest/gtest.h>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_serial_device.h"
#include "radio/radio_finder.h"
#include "support/counting_serial_device.h"
#include "support/pty_pair.h"
#include "support/radio_sim.h"
#include "text/gtex.h"

namespace {

namespace fs = std::filesystem;

// --- Which ports are asked.

class FindPorts : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  std::string Node(const std::string& name) {
    const std::string path = dir.path().toStdString() + "/" + name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path).put('\n');
    return path;
  }
  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }

  QTemporaryDir dir;
};

std::vector<int> Numbers(const std::vector<clsFindPort>& ports) {
  std::vector<int> numbers;
  for (const clsFindPort& p : ports) numbers.push_back(p.number);
  return numbers;
}

// A machine with three platform ports of which the system reports two with
// hardware, one of them its console, a USB adapter that the user also
// mapped through its by-id link, an ACM device and a mapped device that is
// unplugged.
TEST_F(FindPorts, AdaptersAndMappedPortsAreAskedOncePlatformPortsOnlyWithHardware) {
  const std::string ttyS0 = Node("ttyS0");
  const std::string ttyS1 = Node("ttyS1");
  const std::string console = Node("ttyS2");
  const std::string usb = Node("ttyUSB0");
  const std::string acm = Node("ttyACM0");
  fs::create_directories(Path("by-id"));
  const std::string link = Path("by-id/usb-FTDI_FT232R-if00");
  fs::create_symlink(usb, link);
  const std::vector<clsPortMapping> mappings = {
      {1, ttyS0, false}, {2, ttyS1, false}, {3, console, false},          {4, usb, false},
      {5, acm, false},   {7, link, true},   {9, Path("unplugged"), true},
  };
  const std::vector<platform::SerialPortEntry> system = {
      {ttyS1, "16550A"}, {console, "16550A"}, {usb, "FTDI FT232R USB UART"}, {acm, ""}};

  const radiofind::PortSet set = radiofind::ChoosePorts(
      mappings, system, false, [&](const std::string& device) { return device == console; });
  EXPECT_EQ(Numbers(set.tried), (std::vector<int>{2, 5, 7}));
  EXPECT_EQ(Numbers(set.leftOut), (std::vector<int>{1, 3, 9}));
  const auto port = [&](int n) {
    return *std::find_if(set.tried.begin(), set.tried.end(),
                         [n](const clsFindPort& p) { return p.number == n; });
  };
  // The mapped link keeps the user's number and path, and the adapter's name.
  EXPECT_EQ(port(7), (clsFindPort{7, link, "FTDI FT232R USB UART", clsFindPort::kMapped}));
  EXPECT_EQ(port(2), (clsFindPort{2, ttyS1, "16550A", clsFindPort::kPlatform}));
  EXPECT_EQ(port(5).kind, clsFindPort::kAcm);
}

// Where the system numbers its ports itself, its list is the answer: each
// COM port once, by number.
TEST_F(FindPorts, NativePortsAreTheSystemsList) {
  const std::vector<platform::SerialPortEntry> system = {
      {"COM10", "USB Serial Port"}, {"COM3", ""}, {"COM3", "again"}, {"/dev/odd", "x"}};
  const radiofind::PortSet set = radiofind::ChoosePorts({}, system, true);
  ASSERT_EQ(Numbers(set.tried), (std::vector<int>{3, 10}));
  EXPECT_EQ(set.tried[1], (clsFindPort{10, "COM10", "USB Serial Port", clsFindPort::kNative}));
  EXPECT_TRUE(set.leftOut.empty());
}

// --- What an ended exchange means.

TEST(FindOutcome, StatusesAndPortFailuresAreToldApart) {
  using F = platform::SerialFault;
  struct Case {
    CloneStatus status;
    F fault;
    clsFindAnswer::Outcome outcome;
    bool worthSearching;  // a clone command that ended so offers the search
  };
  const Case cases[] = {
      {CloneStatus::kOk, F::kNone, clsFindAnswer::kRadio, false},
      {CloneStatus::kNoAnswer, F::kNone, clsFindAnswer::kSilent, true},
      {CloneStatus::kEchoFailed, F::kNone, clsFindAnswer::kNoEcho, true},
      {CloneStatus::kBadFrame, F::kNone, clsFindAnswer::kOtherAnswer, false},
      {CloneStatus::kInfoMismatch, F::kNone, clsFindAnswer::kOtherAnswer, false},
      {CloneStatus::kPortFailed, F::kBusy, clsFindAnswer::kBusy, false},
      {CloneStatus::kPortFailed, F::kNoPermission, clsFindAnswer::kNoPermission, false},
      {CloneStatus::kPortFailed, F::kNoDevice, clsFindAnswer::kAbsent, true},
      {CloneStatus::kPortFailed, F::kUnmapped, clsFindAnswer::kAbsent, true},
      {CloneStatus::kPortFailed, F::kSettingsRefused, clsFindAnswer::kUnusable, false},
      {CloneStatus::kShortWrite, F::kNone, clsFindAnswer::kUnusable, false},
  };
  for (const Case& c : cases) {
    const clsPortFailure failure{{c.fault, 0}, 0, ""};
    SCOPED_TRACE(static_cast<int>(c.status));
    SCOPED_TRACE(static_cast<int>(c.fault));
    EXPECT_EQ(radiofind::OutcomeOf(c.status, failure), c.outcome);
    EXPECT_EQ(radiofind::WorthSearching(c.status, failure), c.worthSearching);
  }
}

// --- The search over real lines.

class FindSim : public ::testing::Test {
 protected:
  void SetUp() override {
    table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
    previous = gGTex;
    gGTex = &table;
  }
  void TearDown() override { gGTex = previous; }

  clsFindPort Sim(int number, testsupport::RadioSim& sim, const QStringList& options) {
    EXPECT_TRUE(sim.Start(options)) << sim.Error();
    return {number, sim.Device(), "", clsFindPort::kMapped};
  }
  // Runs the event loop until cond holds; the guard only keeps a broken
  // search from hanging the test run.
  static bool Until(const std::function<bool()>& cond, int guardMs = 20000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (cond()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(guardMs, &loop, &QEventLoop::quit);
    if (!cond()) loop.exec();
    return cond();
  }
  static void Idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }

  cmcGTex table;
  cmcGTex* previous = nullptr;
  std::shared_ptr<OpenCount> count = std::make_shared<OpenCount>();
};

TEST_F(FindSim, EveryPortIsAskedAtOnceAndEachAnswerIsToldApart) {
  testsupport::RadioSim radio, silent, deaf;
  PtyPair held;
  ASSERT_TRUE(held.Ok());
  platform::PosixSerialDevice holder;  // another program on the line
  ASSERT_TRUE(holder.Open(held.SlavePath()));
  QTemporaryDir dir;
  const std::vector<clsFindPort> ports = {
      Sim(7, radio, {"--model", "0"}),
      Sim(8, silent, {"--fault", "silent"}),
      Sim(9, deaf, {"--fault", "no-echo"}),
      {10, held.SlavePath(), "", clsFindPort::kMapped},
      {11, dir.path().toStdString() + "/unplugged", "", clsFindPort::kMapped},
  };

  cmcRadioFinder finder(CountingDevices(count));
  std::vector<int> heard;
  int done = 0;
  ASSERT_TRUE(finder.Start(
      ports, [&](const clsFindAnswer& a) { heard.push_back(a.port.number); }, [&] { ++done; }));
  EXPECT_FALSE(finder.Start(ports, nullptr, nullptr)) << "a second search while one runs";
  ASSERT_TRUE(Until([&] { return done > 0; }));
  Idle(100);  // a late second call would show here
  EXPECT_EQ(done, 1);
  EXPECT_FALSE(finder.IsRunning());
  EXPECT_EQ(count->now, 0) << "every port is closed once the search is over";
  // The two lines that keep their ports open for the whole time-out were
  // open together: the ports are asked at once, not one after another.
  EXPECT_GE(count->most, 2);

  std::map<int, clsFindAnswer> by;
  for (const clsFindAnswer& a : finder.Answers()) by[a.port.number] = a;
  ASSERT_EQ(by.size(), ports.size());
  EXPECT_EQ(heard.size(), ports.size());
  const std::map<int, clsFindAnswer::Outcome> expected = {
      {7, clsFindAnswer::kRadio}, {8, clsFindAnswer::kSilent},  {9, clsFindAnswer::kNoEcho},
      {10, clsFindAnswer::kBusy}, {11, clsFindAnswer::kAbsent},
  };
  for (const auto& [number, outcome] : expected) EXPECT_EQ(by[number].outcome, outcome) << number;

  // The radio is named by what it said about itself.
  const clsFindAnswer& found = by[7];
  EXPECT_EQ(found.info.ModelType(), 0);
  EXPECT_EQ(radiofind::OutcomeText(found, table),
            "USA, revision 1.0, comment \"" + radiofind::RadioComment(found.info) + "\"");
  ASSERT_EQ(finder.Radios().size(), 1u);
  EXPECT_EQ(finder.Radios()[0].port.number, 7);
  EXPECT_EQ(radiofind::OutcomeText(by[10], table), "in use by another program");
  EXPECT_EQ(radiofind::PortLabel(ports[0], table), "COM7 (" + ports[0].device + ")");
}

TEST_F(FindSim, CancelClosesEveryPortAtOnceAndNothingMoreIsHeard) {
  testsupport::RadioSim a, b, c;
  const std::vector<clsFindPort> ports = {
      Sim(7, a, {"--fault", "silent"}),
      Sim(8, b, {"--fault", "no-echo"}),
      Sim(9, c, {"--fault", "silent"}),
  };
  cmcRadioFinder finder(CountingDevices(count));
  int calls = 0;
  ASSERT_TRUE(finder.Start(
      ports, [&](const clsFindAnswer&) { ++calls; }, [&] { ++calls; }));
  ASSERT_TRUE(Until([&] { return count->now == 3; })) << "all three lines open at once";
  finder.Cancel();
  EXPECT_EQ(count->now, 0);
  EXPECT_FALSE(finder.IsRunning());
  // Free for the next program straight away: no exclusive hold is left.
  for (const clsFindPort& port : ports) {
    platform::PosixSerialDevice next;
    EXPECT_TRUE(next.Open(port.device)) << port.device;
  }
  Idle(1500);  // longer than any exchange's time-out
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(finder.Answers().empty());

  // A search can start again after a cancel, and one without ports is over
  // on the next tick.
  int done = 0;
  ASSERT_TRUE(finder.Start({}, nullptr, [&] { ++done; }));
  ASSERT_TRUE(Until([&] { return done > 0; }));
  EXPECT_TRUE(finder.Answers().empty());
}

}  // namespace
