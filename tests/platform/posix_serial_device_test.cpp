// SPDX-License-Identifier: GPL-3.0-or-later
// The termios backend against a pseudo-terminal whose far end reads
// nothing: the user-interface thread may wait in a write only as long as
// the write time-out allows, and never in a read.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/posix/posix_serial_device.h"
#include "support/pty_pair.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class SilentFarEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.Ok());
    ASSERT_TRUE(device_.Open(pty_.SlavePath()));
    ASSERT_TRUE(device_.SetLine(platform::SerialLineSettings{}));
  }

  PtyPair pty_;
  platform::PosixSerialDevice device_;
};

TEST_F(SilentFarEnd, WriteGivesUpAtItsTimeOutWithWhatFitted) {
  platform::SerialTimeouts timeouts;
  timeouts.writeTotalConstant = 200;
  ASSERT_TRUE(device_.SetTimeouts(timeouts));
  // Far more than the terminal's buffers hold.
  const std::vector<std::uint8_t> bytes(4 << 20, 0x55);

  const Clock::time_point start = Clock::now();
  const int written = device_.Write(bytes.data(), static_cast<int>(bytes.size()));
  const auto waited = std::chrono::duration_cast<milliseconds>(Clock::now() - start);

  EXPECT_GT(written, 0);
  EXPECT_LT(written, static_cast<int>(bytes.size()));
  EXPECT_GE(waited, milliseconds(150));
  EXPECT_LT(waited, milliseconds(3000));
}

TEST_F(SilentFarEnd, ReadWithNothingWaitingReturnsAtOnce) {
  std::uint8_t buffer[64];
  const Clock::time_point start = Clock::now();
  EXPECT_EQ(device_.Read(buffer, sizeof buffer), 0);
  EXPECT_EQ(device_.InputCount(), 0);
  EXPECT_LT(Clock::now() - start, milliseconds(500));
}

using platform::SerialFault;

TEST(SerialOpenFailure, EveryKindOfPathSaysWhy) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string folder = dir.path().toStdString();
  const std::string file = folder + "/radio.dat";
  std::ofstream(file) << "not a line";
  const std::string fifo = folder + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  PtyPair held;
  ASSERT_TRUE(held.Ok());
  platform::PosixSerialDevice holder;
  ASSERT_TRUE(holder.Open(held.SlavePath()));

  const std::pair<std::string, SerialFault> cases[] = {
      {folder + "/no-such-tty", SerialFault::kNoDevice},
      {file + "/below-a-file", SerialFault::kNoDevice},
      {folder, SerialFault::kNotSerial},
      {file, SerialFault::kNotSerial},
      {fifo, SerialFault::kNotSerial},
      {"/dev/null", SerialFault::kNotSerial},  // a character device, but no terminal
      {held.SlavePath(), SerialFault::kBusy},
  };
  for (const auto& [path, fault] : cases) {
    platform::PosixSerialDevice device;
    EXPECT_FALSE(device.Open(path)) << path;
    EXPECT_FALSE(device.IsOpen()) << path;
    EXPECT_EQ(device.OpenError().fault, fault) << path;
  }
  PtyPair free;
  platform::PosixSerialDevice device;
  ASSERT_TRUE(device.Open(free.SlavePath()));
  EXPECT_EQ(device.OpenError().fault, SerialFault::kNone);
}

// The causes a test cannot provoke as the superuser, such as a device of a
// group the user is not in.
TEST(SerialOpenFailure, SystemCodesMapToTheirReason) {
  const std::pair<int, SerialFault> cases[] = {
      {ENOENT, SerialFault::kNoDevice},     {ENXIO, SerialFault::kNoDevice},
      {ENODEV, SerialFault::kNoDevice},     {EIO, SerialFault::kNoDevice},
      {EACCES, SerialFault::kNoPermission}, {EPERM, SerialFault::kNoPermission},
      {EBUSY, SerialFault::kBusy},          {EWOULDBLOCK, SerialFault::kBusy},
      {EISDIR, SerialFault::kNotSerial},    {ENOTTY, SerialFault::kNotSerial},
      {EMFILE, SerialFault::kOther},
  };
  for (const auto& [error, fault] : cases) {
    EXPECT_EQ(platform::SerialFaultOfErrno(error), fault) << error;
  }
  EXPECT_EQ(platform::SystemErrorText(0), "");
  EXPECT_EQ(platform::SystemErrorText(EMFILE), std::string(std::strerror(EMFILE)));
}

}  // namespace
#endif
