// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_naming.h"

namespace platform {

std::string NativePortDevice(int portNumber) {
  // The device namespace prefix reaches COM10 and above too.
  return "\\\\.\\COM" + std::to_string(portNumber);
}

bool IsSystemConsole(const std::string& /*device*/) { return false; }

}  // namespace platform
