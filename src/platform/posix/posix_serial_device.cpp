// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <iterator>

#ifndef CMSPAR
#define CMSPAR 0  // no mark or space parity on this system
#endif

namespace platform {
namespace {

struct SpeedEntry {
  std::uint32_t baud;
  speed_t code;
};

constexpr SpeedEntry kSpeeds[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool SpeedCode(std::uint32_t baud, speed_t* code) {
  for (const SpeedEntry& e : kSpeeds) {
    if (e.baud == baud) {
      *code = e.code;
      return true;
    }
  }
  return false;
}

// Devices without modem lines (pseudo-terminals) refuse the request.
bool ModemLine(int fd, unsigned long request, int line) {
  if (::ioctl(fd, request, &line) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

}  // namespace

SerialFault SerialFaultOfErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
    case EIO:  // a serial node without its hardware
    case ELOOP:
    case ENAMETOOLONG: return SerialFault::kNoDevice;
    case EACCES:
    case EPERM:
    case EROFS: return SerialFault::kNoPermission;
    case EBUSY:        // another holder set TIOCEXCL
    case EWOULDBLOCK:  // another holder has the lock
      return SerialFault::kBusy;
    case EISDIR:
    case ENOTTY: return SerialFault::kNotSerial;
    default: return SerialFault::kOther;
  }
}

PosixSerialDevice::~PosixSerialDevice() { Close(); }

bool PosixSerialDevice::Refuse(int error) {
  SetOpenError(SerialFaultOfErrno(error), error);
  return false;
}

bool PosixSerialDevice::Open(const std::string& path) {
  if (fd_ >= 0) return false;
  // Only a character device can be a serial line; anything else is refused
  // before it is opened, so that opening a FIFO or a file never has effects.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Refuse(errno);
  if (!S_ISCHR(st.st_mode)) return Refuse(S_ISDIR(st.st_mode) ? EISDIR : ENOTTY);
  // O_NONBLOCK: neither the open (no carrier) nor any read may wait.
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Refuse(errno);
  int error = 0;
  if (!::isatty(fd)) {
    error = ENOTTY;
  } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::close(fd);
    return Refuse(error);
  }
  fd_ = fd;
  timeouts_ = SerialTimeouts{};
  SetOpenError(SerialFault::kNone);
  return true;
}

void PosixSerialDevice::Close() {
  if (fd_ < 0) return;
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);  // also drops the lock
  fd_ = -1;
}

bool PosixSerialDevice::SetQueueSizes(int inputBytes, int outputBytes) {
  // termios has no adjustable driver queues; the kernel's are larger than
  // anything the program asks for.
  return fd_ >= 0 && inputBytes > 0 && outputBytes > 0;
}

bool PosixSerialDevice::Purge() { return fd_ >= 0 && ::tcflush(fd_, TCIOFLUSH) == 0; }

bool PosixSerialDevice::SetTimeouts(const SerialTimeouts& timeouts) {
  if (fd_ < 0) return false;
  // Reads never block here whatever the read fields say; the write fields
  // bound Write.
  timeouts_ = timeouts;
  return true;
}

bool PosixSerialDevice::SetLine(const SerialLineSettings& line) {
  if (fd_ < 0) return false;
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) return false;
  ::cfmakeraw(&t);

  speed_t speed;
  if (!SpeedCode(line.baudRate, &speed)) return false;
  if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0) return false;

  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | CMSPAR);
  switch (line.byteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    case 8: t.c_cflag |= CS8; break;
    default: return false;  // termios has no 4-bit characters
  }
  switch (line.parity) {
    case kParityNone: break;
    case kParityOdd: t.c_cflag |= PARENB | PARODD; break;
    case kParityEven: t.c_cflag |= PARENB; break;
    case kParityMark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case kParitySpace: t.c_cflag |= PARENB | CMSPAR; break;
    default: return false;
  }
  if (line.parity != kParityNone && (line.flags & kDcbParity)) t.c_iflag |= INPCK;
  // One and a half stop bits exist only with 5-bit characters, where the
  // UART gives them for CSTOPB.
  if (line.stopBits == kStopTwo || line.stopBits == kStopOneAndHalf) t.c_cflag |= CSTOPB;
  t.c_cflag |= CLOCAL | CREAD;
  if ((line.flags & kDcbOutxCtsFlow) || line.RtsControl() == 2) t.c_cflag |= CRTSCTS;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  if (line.flags & kDcbOutX) t.c_iflag |= IXON;
  if (line.flags & kDcbInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = line.xonChar;
  t.c_cc[VSTOP] = line.xoffChar;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (::tcsetattr(fd_, TCSANOW, &t) != 0) return false;

  // DTR and RTS follow their control modes: 0 low, otherwise high (the
  // handshake modes start high as well).
  const bool dtr = line.DtrControl() != 0;
  const bool rts = line.RtsControl() != 0;
  return ModemLine(fd_, dtr ? TIOCMBIS : TIOCMBIC, TIOCM_DTR) &&
         ModemLine(fd_, rts ? TIOCMBIS : TIOCMBIC, TIOCM_RTS);
}

int PosixSerialDevice::Read(void* buffer, int maxBytes) {
  if (fd_ < 0) return -1;
  if (maxBytes <= 0) return 0;
  const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(maxBytes));
  if (n >= 0) return static_cast<int>(n);
  return (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? 0 : -1;
}

int PosixSerialDevice::Write(const void* bytes, int count) {
  if (fd_ < 0) return -1;
  if (count <= 0) return 0;
  using Clock = std::chrono::steady_clock;
  const bool bounded = timeouts_.writeTotalConstant != 0 || timeouts_.writeTotalMultiplier != 0;
  const auto limit = std::chrono::milliseconds(timeouts_.writeTotalConstant +
                                               std::uint64_t{timeouts_.writeTotalMultiplier} *
                                                   static_cast<std::uint64_t>(count));
  const auto deadline = Clock::now() + limit;

  const auto* p = static_cast<const std::uint8_t*>(bytes);
  int written = 0;
  while (written < count) {
    const ssize_t n = ::write(fd_, p + written, static_cast<size_t>(count - written));
    if (n > 0) {
      written += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return written > 0 ? written : -1;
    // The device is full: wait for room, but not past the write time-out.
    int waitMs = -1;
    if (bounded) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) break;
      waitMs = static_cast<int>(left.count());
    }
    pollfd pfd{fd_, POLLOUT, 0};
    const int ready = ::poll(&pfd, 1, waitMs);
    if (ready == 0) break;
    if (ready < 0 && errno != EINTR) break;
    if (ready > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(pfd.revents & POLLOUT))
      break;
  }
  return written;
}

int PosixSerialDevice::InputCount() {
  int n = 0;
  if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &n) != 0) return -1;
  return n;
}

int PosixSerialDevice::OutputQueued() {
  int n = 0;
  if (fd_ < 0 || ::ioctl(fd_, TIOCOUTQ, &n) != 0) return -1;
  return n;
}

std::unique_ptr<SerialDevice> CreateNativeSerialDevice() {
  return std::make_unique<PosixSerialDevice>();
}

}  // namespace platform
