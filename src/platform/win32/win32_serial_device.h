// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Serial devices through the Windows communication API. Compiled on
// Windows only.

#include <string>

#include "platform/serial_device.h"

namespace platform {

class Win32SerialDevice : public SerialDevice {
 public:
  Win32SerialDevice() = default;
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  bool Open(const std::string& path) override;
  bool IsOpen() const override;
  void Close() override;
  bool SetQueueSizes(int inputBytes, int outputBytes) override;
  bool Purge() override;
  bool SetTimeouts(const SerialTimeouts& timeouts) override;
  bool SetLine(const SerialLineSettings& line) override;
  int Read(void* buffer, int maxBytes) override;
  int Write(const void* bytes, int count) override;
  int InputCount() override;
  int OutputQueued() override;

 private:
  void* handle_ = nullptr;  // HANDLE; nullptr when closed
};

}  // namespace platform
