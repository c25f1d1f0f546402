// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serial_device.h"

#include <system_error>

namespace platform {
std::unique_ptr<SerialDevice> CreateSerialDevice() { return CreateNativeSerialDevice(); }

std::string SystemErrorText(int systemCode) {
  // strerror on POSIX, FormatMessage on Windows.
  return systemCode == 0 ? std::string() : std::system_category().message(systemCode);
}

}  // namespace platform
