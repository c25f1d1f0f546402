// SPDX-License-Identifier: GPL-3.0-or-later
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/port_naming.h"

namespace platform {

std::string NativePortDevice(int /*portNumber*/) { return {}; }

bool IsSystemConsole(const std::string& device) {
  std::error_code error;
  std::filesystem::path node = std::filesystem::canonical(device, error);
  if (error) node = device;
  const std::string name = node.filename().string();
  if (name.empty()) return false;
  // The kernel marks each tty that carries its console; older kernels only
  // list the consoles in /proc/consoles, one a line, the name first.
  std::ifstream mark("/sys/class/tty/" + name + "/console");
  std::string value;
  if (mark && std::getline(mark, value) && value == "Y") return true;
  std::ifstream consoles("/proc/consoles");
  for (std::string line; std::getline(consoles, line);) {
    std::istringstream fields(line);
    std::string first;
    if (fields >> first && first == name) return true;
  }
  return false;
}

}  // namespace platform
