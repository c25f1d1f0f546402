// SPDX-License-Identifier: GPL-3.0-or-later
// cmcComm over a real pseudo-terminal pair: the termios backend, exclusive
// use, bytes in both directions, the far end hanging up, and the `Ports`
// map naming a pseudo-terminal as COM7.
#include <dirent.h>
#include <termios.h>

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <string>

#include "platform/qtcore/settings_store.h"
#include "platform/virtual_timer_service.h"
#include "radio/comm.h"
#include "support/pty_pair.h"

namespace {

int OpenDescriptors() {
  int count = 0;
  if (DIR* d = ::opendir("/proc/self/fd")) {
    while (::readdir(d) != nullptr) ++count;
    ::closedir(d);
  }
  return count;
}

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 31 + 7) & 0xFF);
  return s;
}

class CommPty : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty.Ok()); }
  platform::ScopedVirtualTime time;
  PtyPair pty;
};

TEST_F(CommPty, ConfiguresTheLineAsRaw9600_8N1) {
  cmcComm port;
  ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  termios t{};
  ASSERT_EQ(::tcgetattr(pty.MasterFd(), &t), 0);  // the master reports the slave's settings
  EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B9600));
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
}

TEST_F(CommPty, SecondOpenOfTheSameDeviceFails) {
  cmcComm first;
  cmcComm second;
  ASSERT_TRUE(first.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  EXPECT_FALSE(second.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  EXPECT_FALSE(second.IsOpen());
  EXPECT_FALSE(first.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  // The first port still works.
  first.Write("ok", 2);
  EXPECT_EQ(pty.ReadMaster(2), "ok");
  first.Close();
  EXPECT_TRUE(second.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
}

TEST_F(CommPty, BytesTravelBothWays) {
  cmcComm port;
  ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  const std::string frame("\xFE\xFE\xEE\xEF\xE0\x58\x16\x00\x00\xFD", 10);
  port.Write(frame.data(), static_cast<int>(frame.size()));
  EXPECT_EQ(pty.ReadMaster(frame.size()), frame);

  std::uint8_t buf[64];
  EXPECT_EQ(port.Read(buf, sizeof buf), 0);  // nothing waiting: returns at once
  const std::string reply("\xFE\xFE\xEF\xEE\xE6\x00\xFD", 7);
  ASSERT_TRUE(pty.WriteMaster(reply));
  ASSERT_TRUE(PtyPair::WaitUntil([&] { return port.InputCount() == 7; }));
  EXPECT_EQ(port.Read(buf, 3), 3);  // never more than asked
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 3), reply.substr(0, 3));
  EXPECT_EQ(port.InputCount(), 4);
  EXPECT_EQ(port.Read(buf, sizeof buf), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 4), reply.substr(3));
  EXPECT_EQ(port.Read(buf, sizeof buf), 0);
}

TEST_F(CommPty, OpenDiscardsStaleInput) {
  {
    cmcComm port;
    ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
    ASSERT_TRUE(pty.WriteMaster("stale"));
    ASSERT_TRUE(PtyPair::WaitUntil([&] { return port.InputCount() == 5; }));
    port.Close();
  }
  cmcComm port;
  ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  EXPECT_EQ(port.InputCount(), 0);
}

TEST_F(CommPty, ALongWriteArrivesWhole) {
  cmcComm port;
  ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  const std::string data = Pattern(3000);
  port.Write(data.data(), 3000);
  ASSERT_TRUE(time.AdvanceUntil([&] { return port.PendingOutput() == 0; }, 1000));
  EXPECT_EQ(pty.ReadMaster(3000), data);
  EXPECT_FALSE(port.WriteFailed());
}

TEST_F(CommPty, HungUpPeerSetsWriteFailed) {
  cmcComm port;
  ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  pty.CloseMaster();
  port.Write("hello", 5);
  EXPECT_TRUE(port.WriteFailed());
  std::uint8_t buf[8];
  EXPECT_EQ(port.Read(buf, sizeof buf), 0);
  time.AdvanceBy(100);
  EXPECT_EQ(time.ActiveCount(), 0);  // flushing stopped
  port.Close();
  EXPECT_FALSE(port.WriteFailed());
}

TEST_F(CommPty, ClosedPortReadsAndCountsNothing) {
  cmcComm port;
  std::uint8_t buf[8];
  const auto check = [&] {
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Read(buf, sizeof buf), 0);
    EXPECT_EQ(port.InputCount(), 0);
    EXPECT_EQ(port.OutputQueued(), 0);
    EXPECT_EQ(port.PendingOutput(), 0);
    port.Write("dropped", 7);
    EXPECT_EQ(port.PendingOutput(), 0);
  };
  check();  // never opened
  ASSERT_TRUE(port.OpenDevice(pty.SlavePath(), "9600,N,8,1"));
  ASSERT_TRUE(pty.WriteMaster("xy"));
  ASSERT_TRUE(PtyPair::WaitUntil([&] { return port.InputCount() == 2; }));
  port.Close();
  check();  // opened and closed
  EXPECT_EQ(pty.DrainMaster(), "");
}

TEST_F(CommPty, MissingOrNonSerialPathsLeaveNothingOpen) {
  QTemporaryDir dir;
  const std::string plain = dir.filePath("plain").toStdString();
  ASSERT_TRUE(QFile(QString::fromStdString(plain)).open(QIODevice::WriteOnly));
  const int before = OpenDescriptors();
  for (const std::string& path :
       {dir.filePath("missing").toStdString(), plain, std::string("/dev/null"),
        dir.path().toStdString(), std::string("")}) {
    cmcComm port;
    EXPECT_FALSE(port.OpenDevice(path, "9600,N,8,1")) << path;
    EXPECT_FALSE(port.IsOpen()) << path;
  }
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(CommPty, PortsEntryMakesComPortNumberOpenThePseudoTerminal) {
  auto settings = platform::OpenSettingsStore();
  settings->setValue("Ports/COM7", QString::fromStdString(pty.SlavePath()));
  settings->sync();
  cmcComm port;
  ASSERT_TRUE(port.Open(7, "9600,N,8,1"));
  EXPECT_EQ(port.PortNumber(), 7);
  EXPECT_EQ(port.DevicePath(), pty.SlavePath());
  port.Write("COM7", 4);
  EXPECT_EQ(pty.ReadMaster(4), "COM7");
  port.Close();
  cmcComm other;
  EXPECT_FALSE(other.Open(250, "9600,N,8,1"));  // a number nothing names
  EXPECT_EQ(other.PortNumber(), 250);
  settings->remove("Ports");
  settings->sync();
}

}  // namespace
