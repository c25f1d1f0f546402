// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the system names serial port n. Windows names its ports itself
// ("\\.\COM7"); elsewhere ports have no numbers of their own and the port
// map (radio/port_map.h) numbers the devices it finds.

#include <string>

namespace platform {

// The system's own device name of port n (n > 0), or "" where the system
// has no numbered ports.
std::string NativePortDevice(int portNumber);

}  // namespace platform
