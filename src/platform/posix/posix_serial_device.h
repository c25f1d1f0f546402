// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Serial devices through termios. Exclusive use takes both TIOCEXCL (which
// the superuser may override) and an advisory lock on the device node, so a
// second opener fails either way. Pseudo-terminals have no modem lines;
// their ENOTTY on the DTR/RTS requests is expected and not an error.

#include <cstdint>
#include <string>

#include "platform/serial_device.h"

namespace platform {

// Why an open failed with this errno.
SerialFault SerialFaultOfErrno(int error);

class PosixSerialDevice : public SerialDevice {
 public:
  PosixSerialDevice() = default;
  ~PosixSerialDevice() override;
  PosixSerialDevice(const PosixSerialDevice&) = delete;
  PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

  bool Open(const std::string& path) override;
  bool IsOpen() const override { return fd_ >= 0; }
  void Close() override;
  bool SetQueueSizes(int inputBytes, int outputBytes) override;
  bool Purge() override;
  bool SetTimeouts(const SerialTimeouts& timeouts) override;
  bool SetLine(const SerialLineSettings& line) override;
  int Read(void* buffer, int maxBytes) override;
  int Write(const void* bytes, int count) override;
  int InputCount() override;
  int OutputQueued() override;

  int Descriptor() const { return fd_; }

 private:
  bool Refuse(int error);

  int fd_ = -1;
  SerialTimeouts timeouts_;
};

}  // namespace platform
