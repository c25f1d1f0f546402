// SPDX-License-Identifier: GPL-3.0-or-later
// The ports present on this machine, for the port dialog's lists. Where the
// system numbers its ports itself (Windows), its list of ports is the whole
// answer. Elsewhere devices are numbered by the port map (the `Ports`
// settings first, then Wine's automatic numbering), and the system's list
// supplies the friendly names (from udev: vendor and model), matched by
// device path because a port may be reached through a symbolic link.
#include <algorithm>
#include <filesystem>

#include "platform/port_naming.h"
#include "platform/serial_ports.h"
#include "radio/port_choice.h"
#include "radio/port_map.h"

namespace portchoice {
namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

fs::path Canonical(const std::string& path) {
  std::error_code error;
  fs::path canonical = fs::canonical(path, error);
  if (!error) return canonical;
  canonical = fs::absolute(path, error);
  return error ? fs::path(path) : canonical.lexically_normal();
}

bool SystemNumbersPorts() { return !platform::NativePortDevice(1).empty(); }

// "COM3" → 3, 0 for a device the system does not name by number.
int NativeNumber(const std::string& device) {
  return device.rfind("COM", 0) == 0 ? NumberFromDeviceName(device) : 0;
}

}  // namespace

std::vector<int> PresentPortNumbers() {
  std::vector<int> numbers;
  if (SystemNumbersPorts()) {
    for (const platform::SerialPortEntry& port : platform::AvailableSerialPorts()) {
      if (const int n = NativeNumber(port.device); n > 0) numbers.push_back(n);
    }
  } else {
    for (const clsPortMapping& m : PortMappings()) {
      // A settings entry is the user's own choice and is offered even while
      // its device is unplugged; the automatic ones exist by construction.
      if (m.fromSettings || Exists(m.path)) numbers.push_back(m.number);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

std::vector<PortDevice> PresentPortDevices() {
  const std::vector<platform::SerialPortEntry> ports = platform::AvailableSerialPorts();
  std::vector<PortDevice> devices;
  if (SystemNumbersPorts()) {
    for (const platform::SerialPortEntry& port : ports) {
      if (NativeNumber(port.device) <= 0 || port.description.empty()) continue;
      devices.push_back({port.device, port.description + " (" + port.device + ")"});
    }
    return devices;
  }
  for (const clsPortMapping& m : PortMappings()) {
    // A device that is not there cannot be picked by its name; its number
    // stays in the number list for a cable about to be plugged in.
    if (!Exists(m.path)) continue;
    const fs::path path = Canonical(m.path);
    std::string friendly;
    for (const platform::SerialPortEntry& port : ports) {
      if (Canonical(port.device) != path) continue;
      friendly = port.description;
      break;
    }
    if (friendly.empty() && m.fromSettings) friendly = m.path;
    if (friendly.empty()) continue;
    const std::string port = "COM" + std::to_string(m.number);
    devices.push_back({port, friendly + " (" + port + ")"});
  }
  return devices;
}

bool SameDevice(const std::string& a, const std::string& b) { return Canonical(a) == Canonical(b); }

std::vector<std::string> SystemNumberList() { return NumberList(PresentPortNumbers()); }

std::vector<std::string> SystemNameList() {
  return NameList(PresentPortDevices(), PresentPortNumbers());
}

}  // namespace portchoice
