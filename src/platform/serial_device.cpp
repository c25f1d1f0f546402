#include "platform/serial_device.h"

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

void SetSerialDeviceFactory(SerialDeviceFactory factory) { Factory() = std::move(factory); }

}  // namespace platform
