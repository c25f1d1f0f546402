// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real pseudo-terminal pair for tests of the serial link: the program
// opens SlavePath() like any serial device, the test plays the far end on
// the master side. Header-only so that any test folder can use it.
//
//   PtyPair pty;
//   ASSERT_TRUE(pty.Ok());
//   port.OpenDevice(pty.SlavePath(), "9600,N,8,1");
//   pty.WriteMaster("\xFE\xFE");
//   std::string got = pty.ReadMaster(10);   // waits up to a few seconds

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

class PtyPair {
 public:
  PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return;
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
      CloseMaster();
      return;
    }
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
      CloseMaster();
      return;
    }
    slavePath_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    // Raw from the start, so that bytes written before the program sets the
    // line up are not cooked or echoed by the line discipline.
    termios t{};
    if (::tcgetattr(master_, &t) == 0) {
      ::cfmakeraw(&t);
      ::tcsetattr(master_, TCSANOW, &t);
    }
  }
  ~PtyPair() { CloseMaster(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool Ok() const { return master_ >= 0 && !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }
  int MasterFd() const { return master_; }

  // The far end hangs up.
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  bool WriteMaster(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else if (!WaitFd(POLLOUT, 1000)) {
        return false;
      }
    }
    return true;
  }

  // Reads until count bytes have arrived or waitMs pass without any byte.
  std::string ReadMaster(std::size_t count, int waitMs = 3000) {
    std::string got;
    char buf[4096];
    while (got.size() < count) {
      const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - got.size()));
      if (n > 0) {
        got.append(buf, static_cast<std::size_t>(n));
      } else if (!WaitFd(POLLIN, waitMs)) {
        break;
      }
    }
    return got;
  }

  // Everything that has arrived so far, without waiting.
  std::string DrainMaster() {
    std::string got;
    char buf[4096];
    for (ssize_t n; (n = ::read(master_, buf, sizeof buf)) > 0;)
      got.append(buf, static_cast<std::size_t>(n));
    return got;
  }

  // The kernel moves bytes between the two sides a moment after a write;
  // polls cond until it holds or waitMs have passed.
  static bool WaitUntil(const std::function<bool()>& cond, int waitMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!cond()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

 private:
  bool WaitFd(short events, int waitMs) {
    pollfd p{master_, events, 0};
    return ::poll(&p, 1, waitMs) > 0 && (p.revents & events);
  }

  int master_ = -1;
  std::string slavePath_;
};
