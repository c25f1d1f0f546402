// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol driver end to end: a real pseudo-terminal, the radio
// simulator on the far side and the program's own Qt timers, so that the
// driver meets a radio written without its code, at real line speed.
#include <gtest/gtest.h>
#include <QEventLoop>
#include <QTimer>
#include "support/codes.h"

#include <optional>
#include <string>

#include "radio/clone_drv.h"
#include "support/radio_sim.h"

namespace {

constexpr int kImageSize = 3796;
const clsAddrRangeList kReadList{{0x000, 0xCEF}};

class DriverSim : public ::testing::Test {
 protected:
  // Starts the simulator and points the driver at its terminal.
  void StartSim(const QStringList& options = {}) {
    ASSERT_TRUE(sim.Start(options)) << sim.Error();
    drv.SetRequestValues(0x5816, 0);
    drv.SetImageSize(kImageSize);
    drv.SetPortDevice(sim.Device(), platform::LineFormat{});
  }

  // Runs one exchange on the event loop until its completion. The guard
  // only keeps a broken driver from hanging the test run.
  dst_CDrv_Result Run(const std::function<bool(cmcCloneDrv::CompletionFn)>& start) {
    std::optional<dst_CDrv_Result> result;
    int calls = 0;
    QEventLoop loop;
    EXPECT_TRUE(start([&](dst_CDrv_Result& r) {
      ++calls;
      result = r;
      loop.quit();
    }));
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (drv.IsBusy()) loop.exec();
    // Give a second completion the chance to show itself.
    QEventLoop settle;
    QTimer::singleShot(50, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(drv.IsBusy());
    return result.value_or(dst_CDrv_Result{});
  }

  dst_CDrv_Result Information() {
    return Run([&](auto done) { return drv.StartInformation(std::move(done)); });
  }
  dst_CDrv_Result Read(const clsAddrRangeList& ranges = kReadList) {
    return Run([&](auto done) { return drv.StartRead(ranges, std::move(done)); });
  }
  dst_CDrv_Result Write(const cmcEeprom& image, const clsAddrRangeList& ranges) {
    return Run([&](auto done) { return drv.StartWrite(image, ranges, std::move(done)); });
  }

  testsupport::RadioSim sim;
  cmcCloneDrv drv;
};

std::vector<std::uint8_t> Slice(const cmcEeprom& image, int first, int last) {
  return {image.Data() + first, image.Data() + last + 1};
}

TEST_F(DriverSim, InformationThenReadThenWriteAndReadBack) {
  StartSim();
  const dst_CDrv_Result info = Information();
  ASSERT_EQ(Num(info.status), 0);
  EXPECT_EQ(info.value1, 0x5816);
  EXPECT_EQ(info.value2, 1);
  ASSERT_GE(info.payload.Size(), 28);
  EXPECT_EQ(info.payload[0], info.payload.Size());

  const dst_CDrv_Result before = Read();
  ASSERT_EQ(Num(before.status), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(before.image.Data()) + 0x9D8, 8), "Zelm Inc");
  EXPECT_EQ(drv.DataBytes(), 0xCF0);

  // The clone manager's write list with the dealer range, over a pattern.
  cmcEeprom changed = before.image;
  for (int a = 0; a < 0xCF0; ++a) {
    if (a < 0x9C0 || a >= 0xA00) changed.SetByte(a, static_cast<std::uint8_t>(a * 13 + 1));
  }
  const clsAddrRangeList writeList{{0x000, 0x9FF}, {0xA40, 0xB7F}, {1, 0}};
  const dst_CDrv_Result written = Write(changed, writeList);
  ASSERT_EQ(Num(written.status), 0);
  EXPECT_EQ(drv.DataFrames(), 0xA0 + 0x14);

  const dst_CDrv_Result after = Read();
  ASSERT_EQ(Num(after.status), 0);
  EXPECT_EQ(Slice(after.image, 0x000, 0x9FF), Slice(changed, 0x000, 0x9FF));
  EXPECT_EQ(Slice(after.image, 0xA40, 0xB7F), Slice(changed, 0xA40, 0xB7F));
  // What the write left out is still the radio's own.
  EXPECT_EQ(Slice(after.image, 0xA00, 0xA3F), Slice(before.image, 0xA00, 0xA3F));
  EXPECT_EQ(Slice(after.image, 0xB80, 0xCEF), Slice(before.image, 0xB80, 0xCEF));
}

TEST_F(DriverSim, ReadAtTheLinePaceWithStrayBytesAndLongFrames) {
  StartSim({"--baud-pace", "--frame-size", "100", "--fault", "stray", "--fault-at", "3"});
  const dst_CDrv_Result result = Read();
  ASSERT_EQ(Num(result.status), 0);
  EXPECT_EQ(drv.DataFrames(), (0xCF0 + 99) / 100);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(result.image.Data()) + 0x9D8, 8), "Zelm Inc");
}

struct FaultCase {
  const char* fault;
  int operation;
  int status;
};

TEST_F(DriverSim, SimulatorFaultsEndWithTheirStatus) {
  const FaultCase cases[] = {
      {"bad-checksum", 2, 6},  {"lower-case", 2, 6},   {"wrong-count", 2, 7},
      {"missing-frame", 2, 8}, {"beyond-image", 2, 9}, {"write-refused", 3, 10},
      {"wrong-echo", 1, 4},    {"no-echo", 1, 4},      {"silent", 2, 5},
      {"hang-up", 2, 5},
  };
  const cmcEeprom image(kImageSize);
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.fault);
    StartSim({"--fault", c.fault});
    dst_CDrv_Result r;
    switch (c.operation) {
      case 1: r = Information(); break;
      case 2: r = Read(); break;
      default: r = Write(image, {{0x000, 0x0FF}}); break;
    }
    EXPECT_EQ(Num(r.status), c.status);
    sim.Stop();
  }
}

TEST_F(DriverSim, MissingDeviceIsStatus2) {
  drv.SetImageSize(kImageSize);
  drv.SetPortDevice("/dev/nonexistent-seaclone-port", platform::LineFormat{});
  EXPECT_EQ(Num(Information().status), 2);
}

}  // namespace
