// The termios backend against a pseudo-terminal whose far end reads
// nothing: the user-interface thread may wait in a write only as long as
// the write time-out allows, and never in a read.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <chrono>
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

}  // namespace
#endif
