// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which device is COM port n. On Windows it is the device "\\.\COMn". On
// Linux the numbers follow Wine's rules, so that a user who knows the port
// from Wine finds it under the same number: first the `Ports` group of the
// settings ("COM7=/dev/serial/by-id/..."), then /dev/ttyS*, /dev/ttyUSB*
// and /dev/ttyACM* in that order, each family from 0 up to its first
// missing node, numbered on from COM1 and skipping the numbers the group
// already uses.

#include <string>
#include <vector>

struct clsPortMapping {
  int number = 0;
  std::string path;
  bool fromSettings = false;  // an entry of the `Ports` group
  bool operator==(const clsPortMapping&) const = default;
};

// Every numbered port, ordered by number. devDir is the device folder
// ("/dev"), a parameter so that tests can lay out their own nodes.
std::vector<clsPortMapping> PortMappings(const std::string& devDir = "/dev");

// The device of port n, or "" when n names none.
std::string PortDevicePath(int portNumber, const std::string& devDir = "/dev");
