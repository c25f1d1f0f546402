// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial ports the system knows of right now, for the port lists: the
// devices found by Qt (udev) here, the SERIALCOMM list of the registry on
// Windows.

#include <string>
#include <vector>

namespace platform {

struct SerialPortEntry {
  std::string device;       // "/dev/ttyUSB0", or "COM3" on Windows
  std::string description;  // maker and model when the system knows them, else ""
};

std::vector<SerialPortEntry> AvailableSerialPorts();

}  // namespace platform
