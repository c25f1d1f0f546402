// SPDX-License-Identifier: GPL-3.0-or-later
// cmcComm against a recording device: the exact calls of an open, the
// time-outs and line settings handed over, and the chunking of output.
#include "radio/comm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/port_naming.h"
#include "platform/virtual_timer_service.h"

namespace {

struct Record {
  std::vector<std::string> calls;
  std::vector<int> writes;  // sizes handed to Write
  std::string written;
  platform::SerialTimeouts timeouts;
  platform::SerialLineSettings line;
  std::string refuse;       // the call that fails
  int queued = 0;           // what OutputQueued reports
  int queueAfterWrite = 0;  // the transmit queue right after a write
  int acceptAtMost = -1;    // a short write takes only this many bytes
  bool open = false;
};

class RecordingDevice : public platform::SerialDevice {
 public:
  explicit RecordingDevice(Record* r) : r_(r) {}
  bool Open(const std::string& path) override {
    if (!Call("Open " + path)) return false;
    r_->open = true;
    return true;
  }
  bool IsOpen() const override { return r_->open; }
  void Close() override {
    r_->calls.push_back("Close");
    r_->open = false;
  }
  bool SetQueueSizes(int in, int out) override {
    return Call("SetQueueSizes " + std::to_string(in) + " " + std::to_string(out));
  }
  bool Purge() override { return Call("Purge"); }
  bool SetTimeouts(const platform::SerialTimeouts& t) override {
    r_->timeouts = t;
    return Call("SetTimeouts");
  }
  bool SetLine(const platform::SerialLineSettings& line) override {
    r_->line = line;
    return Call("SetLine");
  }
  int Read(void*, int) override { return 0; }
  int Write(const void* bytes, int count) override {
    r_->writes.push_back(count);
    const int n = r_->acceptAtMost >= 0 ? std::min(count, r_->acceptAtMost) : count;
    r_->written.append(static_cast<const char*>(bytes), static_cast<std::size_t>(n));
    r_->queued = r_->queueAfterWrite;
    return n;
  }
  int InputCount() override { return 0; }
  int OutputQueued() override { return r_->queued; }

 private:
  bool Call(const std::string& call) {
    r_->calls.push_back(call);
    return call.rfind(r_->refuse, 0) != 0 || r_->refuse.empty();
  }
  Record* r_;
};

TEST(Comm, OpenStepsAndFailures) {
  struct Case {
    const char* refuse;
    bool opens;
    std::vector<std::string> calls;
  };
  const std::vector<std::string> all = {"Open /dev/x", "SetQueueSizes 32000 1024", "Purge",
                                        "SetTimeouts", "SetLine"};
  const Case cases[] = {
      {"", true, all},
      {"Open", false, {"Open /dev/x"}},
      {"SetQueueSizes", false, {all[0], all[1], "Close"}},
      {"Purge", false, {all[0], all[1], all[2], "Close"}},
      {"SetTimeouts", false, {all[0], all[1], all[2], all[3], "Close"}},
      {"SetLine", false, {all[0], all[1], all[2], all[3], all[4], "Close"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refuse);
    platform::ScopedVirtualTime time;
    Record r;
    r.refuse = c.refuse;
    cmcComm port(std::make_unique<RecordingDevice>(&r));
    EXPECT_EQ(port.OpenDevice("/dev/x", "9600,N,8,1"), c.opens);
    EXPECT_EQ(port.IsOpen(), c.opens);
    EXPECT_EQ(r.calls, c.calls);
  }
}

class RefusingDevice : public RecordingDevice {
 public:
  RefusingDevice(Record* r, platform::SerialError error) : RecordingDevice(r), error_(error) {}
  bool Open(const std::string& path) override {
    SetOpenError(error_.fault, error_.systemCode);
    return RecordingDevice::Open(path);
  }

 private:
  platform::SerialError error_;
};

TEST(Comm, FailedOpenKeepsThePortAndTheReason) {
  using platform::SerialFault;
  struct Case {
    const char* refuse;
    const char* settings;
    platform::SerialError expected;
  };
  const Case cases[] = {
      {"Open", "9600,N,8,1", {SerialFault::kBusy, 16}},
      {"SetLine", "9600,N,8,1", {SerialFault::kSettingsRefused, 0}},
      {"", "0,N,8,1", {SerialFault::kSettingsRefused, 0}},
  };
  for (const Case& c : cases) {
    platform::ScopedVirtualTime time;
    Record r;
    r.refuse = c.refuse;
    cmcComm port(
        std::make_unique<RefusingDevice>(&r, platform::SerialError{SerialFault::kBusy, 16}));
    EXPECT_FALSE(port.OpenDevice("/dev/x", c.settings));
    EXPECT_EQ(port.Failure(), (clsPortFailure{c.expected, 0, "/dev/x"})) << c.refuse << c.settings;
    // A later open that succeeds clears it.
    r.refuse.clear();
    ASSERT_TRUE(port.OpenDevice("/dev/x", "9600,N,8,1"));
    EXPECT_EQ(port.Failure(), clsPortFailure{});
  }
}

// Windows names every port number itself; elsewhere a number the port map
// does not know has no device, and nothing is opened.
TEST(Comm, PortNumberOpensTheSystemsDeviceOrFailsAsUnmapped) {
  platform::ScopedVirtualTime time;
  Record r;
  cmcComm port(std::make_unique<RecordingDevice>(&r));
  const std::string native = platform::NativePortDevice(251);
  if (native.empty()) {
    EXPECT_FALSE(port.Open(251, "9600,N,8,1"));
    EXPECT_TRUE(r.calls.empty());
    EXPECT_EQ(port.Failure(), (clsPortFailure{{platform::SerialFault::kUnmapped, 0}, 251, ""}));
  } else {
    EXPECT_EQ(native, "\\\\.\\COM251");
    EXPECT_TRUE(port.Open(251, "9600,N,8,1"));
    ASSERT_FALSE(r.calls.empty());
    EXPECT_EQ(r.calls.front(), "Open " + native);
  }
}

TEST(Comm, SecondOpenChangesNothing) {
  platform::ScopedVirtualTime time;
  Record r;
  cmcComm port(std::make_unique<RecordingDevice>(&r));
  ASSERT_TRUE(port.OpenDevice("/dev/x", "9600,N,8,1"));
  const std::size_t calls = r.calls.size();
  EXPECT_FALSE(port.OpenDevice("/dev/y", "19200,N,7,2"));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_EQ(r.calls.size(), calls);
  EXPECT_EQ(port.Line().baudRate, 9600u);
  EXPECT_EQ(port.DevicePath(), "/dev/x");
}

TEST(Comm, TimeoutsAndLineHandedToTheDevice) {
  struct Case {
    const char* settings;
    std::uint32_t writeMultiplier;
  };
  const Case cases[] = {
      {"9600,N,8,1", 10}, {"19200,N,8,1", 5}, {"300,N,8,1", 333}, {"115200,N,8,1", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    platform::ScopedVirtualTime time;
    Record r;
    cmcComm port(std::make_unique<RecordingDevice>(&r));
    ASSERT_TRUE(port.OpenDevice("/dev/x", c.settings));
    EXPECT_EQ(r.timeouts.readInterval, 0xFFFFFFFFu);
    EXPECT_EQ(r.timeouts.readTotalMultiplier, 0u);
    EXPECT_EQ(r.timeouts.readTotalConstant, 0u);
    EXPECT_EQ(r.timeouts.writeTotalMultiplier, c.writeMultiplier);
    EXPECT_EQ(r.timeouts.writeTotalConstant, 3000u);
  }
  platform::ScopedVirtualTime time;
  Record r;
  cmcComm port(std::make_unique<RecordingDevice>(&r));
  ASSERT_TRUE(port.OpenDevice("/dev/x", "9600,N,8,1"));
  const platform::SerialLineSettings& line = r.line;
  EXPECT_EQ(line.baudRate, 9600u);
  EXPECT_EQ(line.flags, platform::kDcbBinary | platform::kDcbTxContinueOnXoff | 0x1000u);
  EXPECT_EQ(line.DtrControl(), 0);  // DTR low
  EXPECT_EQ(line.RtsControl(), 1);  // RTS high
  EXPECT_EQ(line.xonLimit, 16000);
  EXPECT_EQ(line.xoffLimit, 24000);
  EXPECT_EQ(line.byteSize, 8);
  EXPECT_EQ(line.parity, platform::kParityNone);
  EXPECT_EQ(line.stopBits, platform::kStopOne);
  EXPECT_EQ(line.xonChar, 0x11);
  EXPECT_EQ(line.xoffChar, 0x13);
  EXPECT_EQ(line.errorChar, 0x3F);
  EXPECT_EQ(line.eofChar, 0xFD);
  EXPECT_EQ(line.eventChar, 0xFE);
}

TEST(Comm, SettingsText) {
  struct Case {
    const char* text;
    bool ok;
    std::uint32_t baud;
    int parity;
    int byteSize;
    int stopBits;
  };
  const Case cases[] = {
      {"9600,N,8,1", true, 9600, platform::kParityNone, 8, platform::kStopOne},
      {"9600,n,8,1", true, 9600, platform::kParityNone, 8, platform::kStopOne},
      {"9600,N,9,1", true, 9600, platform::kParityNone, 8, platform::kStopOne},
      {"9600,N,3,1", true, 9600, platform::kParityNone, 4, platform::kStopOne},
      {"4800,N,5,1.5", true, 4800, platform::kParityNone, 5, platform::kStopOneAndHalf},
      {"19200,N,7,2", true, 19200, platform::kParityNone, 7, platform::kStopTwo},
      {"9600,N,8,3", true, 9600, platform::kParityNone, 8, platform::kStopOne},
      {"9600,N,8,", true, 9600, platform::kParityNone, 8, platform::kStopOne},
      {"9600,E,8,1", true, 9600, platform::kParityEven, 8, platform::kStopOne},
      {"0,N,8,1", false, 0, 0, 0, 0},
      {"fast,N,8,1", false, 0, 0, 0, 0},
      {"", false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    platform::SerialLineSettings line;
    line.flags = cmcComm::kDefaultFlags;
    ASSERT_EQ(cmcComm::ParseSettings(c.text, &line), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(line.baudRate, c.baud);
    EXPECT_EQ(line.parity, c.parity);
    EXPECT_EQ((line.flags & platform::kDcbParity) != 0, c.parity != platform::kParityNone)
        << c.text;
    EXPECT_EQ(line.byteSize, c.byteSize);
    EXPECT_EQ(line.stopBits, c.stopBits);
  }
}

TEST(Comm, BadSettingsFailWithoutTouchingTheDevice) {
  platform::ScopedVirtualTime time;
  Record r;
  cmcComm port(std::make_unique<RecordingDevice>(&r));
  EXPECT_FALSE(port.OpenDevice("/dev/x", "0,N,8,1"));
  EXPECT_FALSE(port.OpenDevice("/dev/x", platform::LineFormat{0}));
  EXPECT_TRUE(r.calls.empty());
  EXPECT_FALSE(port.IsOpen());
}

TEST(Comm, ALineFormatFramesTheLineAndKeepsThePortsOwnSettings) {
  platform::ScopedVirtualTime time;
  Record r;
  cmcComm port(std::make_unique<RecordingDevice>(&r));
  ASSERT_TRUE(port.OpenDevice(
      "/dev/x", platform::LineFormat{4800, platform::kParityEven, 7, platform::kStopTwo}));
  EXPECT_EQ(r.line.baudRate, 4800u);
  EXPECT_EQ(r.line.parity, platform::kParityEven);
  EXPECT_EQ(r.line.flags, cmcComm::kDefaultFlags | platform::kDcbParity);
  EXPECT_EQ(r.line.byteSize, 7);
  EXPECT_EQ(r.line.stopBits, platform::kStopTwo);
  EXPECT_EQ(r.line.xonLimit, 16000);
  EXPECT_EQ(r.timeouts.writeTotalMultiplier, 100000u / 4800u);
}

TEST(Comm, OutputGoesOutInChunksEachAfterTheQueueEmptied) {
  platform::ScopedVirtualTime time;
  Record r;
  r.queueAfterWrite = 100;  // the driver is busy sending after every write
  cmcComm port(std::make_unique<RecordingDevice>(&r));
  ASSERT_TRUE(port.OpenDevice("/dev/x", "9600,N,8,1"));
  std::string data(3000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);

  port.Write(data.data(), 3000);
  EXPECT_EQ(r.writes, (std::vector<int>{1024}));  // the first chunk at once
  EXPECT_EQ(port.PendingOutput(), 100 + 1976);

  time.AdvanceBy(50);  // queue still busy: nothing more goes
  EXPECT_EQ(r.writes, (std::vector<int>{1024}));

  r.queued = 0;
  time.AdvanceBy(10);
  EXPECT_EQ(r.writes, (std::vector<int>{1024, 1024}));
  time.AdvanceBy(30);
  EXPECT_EQ(r.writes.size(), 2u);

  r.queued = 0;
  time.AdvanceBy(10);
  EXPECT_EQ(r.writes, (std::vector<int>{1024, 1024, 952}));
  EXPECT_EQ(r.written, data);
  r.queued = 0;
  EXPECT_EQ(port.PendingOutput(), 0);
  EXPECT_EQ(time.ActiveCount(), 0);  // the flush task stopped itself
  EXPECT_FALSE(port.WriteFailed());
}

TEST(Comm, ShortWriteSetsTheFlagAndStopsFlushing) {
  platform::ScopedVirtualTime time;
  Record r;
  r.acceptAtMost = 600;
  cmcComm port(std::make_unique<RecordingDevice>(&r));
  ASSERT_TRUE(port.OpenDevice("/dev/x", "9600,N,8,1"));
  port.Write(std::string(2000, 'x').data(), 2000);
  EXPECT_TRUE(port.WriteFailed());
  EXPECT_EQ(port.PendingOutput(), 2000);  // nothing counted as sent
  time.AdvanceBy(100);
  EXPECT_EQ(r.writes, (std::vector<int>{1024}));
  port.Close();
  EXPECT_FALSE(port.WriteFailed());
  EXPECT_EQ(port.PendingOutput(), 0);
}

TEST(Comm, DestroyedWhileFlushingLeavesNoTaskBehind) {
  platform::ScopedVirtualTime time;
  Record r;
  r.queueAfterWrite = 1;
  {
    cmcComm port(std::make_unique<RecordingDevice>(&r));
    ASSERT_TRUE(port.OpenDevice("/dev/x", "9600,N,8,1"));
    port.Write(std::string(3000, 'x').data(), 3000);
  }
  time.AdvanceBy(100);
  EXPECT_EQ(r.writes.size(), 1u);
  EXPECT_EQ(time.LiveCount(), 0);
}

}  // namespace
