// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/serial_device.h"

#include <system_error>

namespace platform {
namespace {
SerialDeviceFactory& Factory() {
  static SerialDeviceFactory factory;
  return factory;
}
}  // namespace

std::unique_ptr<SerialDevice> CreateSerialDevice() {
  if (Factory()) return Factory()();
  return CreateNativeSerialDevice();
}

std::string SystemErrorText(int systemCode) {
  // strerror on POSIX, FormatMessage on Windows.
  return systemCode == 0 ? std::string() : std::system_category().message(systemCode);
}

void SetSerialDeviceFactory(SerialDeviceFactory factory) { Factory() = std::move(factory); }

}  // namespace platform
