// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace sim {

namespace {

std::string Errno(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

PtyLine::~PtyLine() {
  if (master_ >= 0) ::close(master_);
  if (!linkPath_.empty()) ::unlink(linkPath_.c_str());
}

std::string PtyLine::Open() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) return Errno("posix_openpt");
  if (::grantpt(master_) != 0) return Errno("grantpt");
  if (::unlockpt(master_) != 0) return Errno("unlockpt");
  const char* name = ::ptsname(master_);
  if (!name) return Errno("ptsname");
  slavePath_ = name;
  // Set on the master, the line settings belong to the slave: raw, so that
  // the terminal neither echoes nor translates bytes before the program has
  // configured its side.
  termios t{};
  if (::tcgetattr(master_, &t) != 0) return Errno("tcgetattr");
  ::cfmakeraw(&t);
  ::cfsetispeed(&t, B9600);
  ::cfsetospeed(&t, B9600);
  if (::tcsetattr(master_, TCSANOW, &t) != 0) return Errno("tcsetattr");
  const int flags = ::fcntl(master_, F_GETFL);
  if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) return Errno("fcntl");
  return "";
}

std::string PtyLine::MakeLink(const std::string& path) {
  ::unlink(path.c_str());  // a link left behind by an earlier run
  if (::symlink(slavePath_.c_str(), path.c_str()) != 0) return Errno(("symlink " + path).c_str());
  linkPath_ = path;
  return "";
}

void PtyLine::Send(const Bytes& bytes) {
  if (queueHead_ == queue_.size()) {
    queue_.clear();
    queueHead_ = 0;
  }
  queue_.insert(queue_.end(), bytes.begin(), bytes.end());
  queued_ += bytes.size();
}

void PtyLine::HangUp() {
  if (!hangUpAt_ || *hangUpAt_ > queued_) hangUpAt_ = queued_;
}

void PtyLine::DropOutput() {
  written_ += queue_.size() - queueHead_;
  queue_.clear();
  queueHead_ = 0;
  // Whatever the terminal still holds for the program is stale as well.
  ::tcflush(master_, TCIOFLUSH);
}

void PtyLine::AwaitProgramRead() {
  using namespace std::chrono;
  // Closing the master discards what the program has not read yet, and a
  // hang-up "after N frames" must deliver those frames first. Only a look
  // into the slave's input queue tells when they have been read.
  int peer = -1;
#ifdef TIOCGPTPEER
  peer = ::ioctl(master_, TIOCGPTPEER, O_RDONLY | O_NOCTTY | O_NONBLOCK);
#endif
  if (peer < 0) peer = ::open(slavePath_.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
  // Bytes just written may not have reached the slave's queue yet.
  std::this_thread::sleep_for(20ms);
  if (peer < 0) return;  // the program holds the port exclusively: no way to look
  const Clock::time_point deadline = Clock::now() + 3s;
  int unread = 0;
  while (::ioctl(peer, FIONREAD, &unread) == 0 && unread > 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(2ms);
  ::close(peer);
}

bool PtyLine::ReadInput(const Handlers& handlers) {
  std::uint8_t buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) {
      handlers.input(buffer, static_cast<std::size_t>(n));
      continue;
    }
    // EIO: the program has closed its side and nothing is left to read.
    return !(n < 0 && errno == EIO);
  }
}

bool PtyLine::WriteOutput() {
  std::size_t pending = queue_.size() - queueHead_;
  if (hangUpAt_)
    pending = std::min<std::uint64_t>(pending, *hangUpAt_ - std::min(*hangUpAt_, written_));
  if (pending == 0) return true;
  std::size_t allowed = pending;
  if (pace_) {
    // Bytes leave one by one on a steady grid of byte times. A late wake-up
    // may release the few bytes that fell due meanwhile, never a burst.
    const Clock::time_point now = Clock::now();
    if (nextDue_ + 4 * kBytePeriod < now) nextDue_ = now;
    if (now < nextDue_) return true;
    allowed = std::min<std::size_t>(pending,
                                    static_cast<std::size_t>((now - nextDue_) / kBytePeriod) + 1);
  }
  const ssize_t n = ::write(master_, queue_.data() + queueHead_, allowed);
  if (n < 0) {
    // A full terminal (the program is not reading) is waited out with poll
    // rather than by trying again at every byte time.
    if (errno == EAGAIN) full_ = true;
    return errno == EAGAIN || errno == EINTR || errno == EIO;
  }
  queueHead_ += static_cast<std::size_t>(n);
  written_ += static_cast<std::uint64_t>(n);
  if (pace_) nextDue_ += n * kBytePeriod;
  return true;
}

namespace {

// The stop signals stay blocked except while waiting, so that one arriving
// between the check of the stop flag and the wait still ends the wait.
class StopSignalsBlocked {
 public:
  StopSignalsBlocked() {
    sigset_t stops;
    sigemptyset(&stops);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&stops, s);
    ::sigprocmask(SIG_BLOCK, &stops, &waitMask_);
  }
  ~StopSignalsBlocked() { ::sigprocmask(SIG_SETMASK, &waitMask_, nullptr); }
  const sigset_t* WaitMask() const { return &waitMask_; }

 private:
  sigset_t waitMask_;
};

}  // namespace

PtyLine::End PtyLine::Run(const Handlers& handlers, const volatile std::sig_atomic_t& stop,
                          bool once) {
  using namespace std::chrono;
  const StopSignalsBlocked blocked;
  bool peerClosed = false;
  Clock::time_point closedAt{};
  while (!stop) {
    if (HangUpDue()) {
      AwaitProgramRead();
      ::close(master_);
      master_ = -1;
      return End::HungUp;
    }
    if (peerClosed) {
      // A closed slave keeps the master's poll reporting a hang-up, so look
      // again every 10 ms until the program reopens the port.
      const timespec tenMs{0, 10'000'000};
      if (::ppoll(nullptr, 0, &tenMs, blocked.WaitMask()) < 0 && errno != EINTR) return End::Failed;
      if (stop) break;
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 0) < 0 && errno != EINTR) return End::Failed;
      if (p.revents & POLLHUP) {
        if (once && Clock::now() - closedAt >= 2s) return End::PeerGone;
        continue;
      }
      peerClosed = false;
    }

    const bool pending = queueHead_ < queue_.size();
    pollfd p{master_, static_cast<short>(POLLIN | (pending && (!pace_ || full_) ? POLLOUT : 0)), 0};
    timespec wait{};
    timespec* timeout = nullptr;
    if (pending && pace_ && !full_) {
      const auto left = std::max(Clock::duration::zero(), nextDue_ - Clock::now());
      wait.tv_sec = static_cast<time_t>(duration_cast<seconds>(left).count());
      wait.tv_nsec = static_cast<long>((duration_cast<nanoseconds>(left) % 1s).count());
      timeout = &wait;
    }
    if (::ppoll(&p, 1, timeout, blocked.WaitMask()) < 0) {
      if (errno == EINTR) continue;
      return End::Failed;
    }
    bool open = true;
    if (p.revents & POLLIN) open = ReadInput(handlers);
    if (!open || (p.revents & POLLHUP)) {
      peerClosed = true;
      closedAt = Clock::now();
      DropOutput();
      handlers.closed();
      continue;
    }
    if (p.revents & POLLOUT) full_ = false;
    if (!WriteOutput()) return End::Failed;
  }
  return End::Stopped;
}

}  // namespace sim
