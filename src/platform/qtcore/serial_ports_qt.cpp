// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSerialPortInfo>

#include "platform/serial_ports.h"

namespace platform {

std::vector<SerialPortEntry> AvailableSerialPorts() {
  std::vector<SerialPortEntry> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    ports.push_back({info.systemLocation().toStdString(),
                     (info.manufacturer() + " " + info.description()).trimmed().toStdString()});
  }
  return ports;
}

}  // namespace platform
