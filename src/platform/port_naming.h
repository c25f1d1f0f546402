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

// Whether the device is a console of the system (a machine booted with
// console=ttyS0 writes its kernel messages there and may log in on it):
// nothing may be sent to it and its line settings must stay as they are.
// Links are followed. Windows has no such ports.
bool IsSystemConsole(const std::string& device);

}  // namespace platform
