// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/port_map.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <set>

#include "platform/port_naming.h"
#include "platform/settings_group.h"
#include "text/syntax.h"

namespace {

// "COM7" (any case) → 7; 0 for anything else.
int PortNumberOfKey(const std::string& key) {
  if (key.size() < 3) return 0;
  for (int i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(key[i])) != "COM"[i]) return 0;
  }
  std::string digits = key.substr(3);
  Trim(digits);
  if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
  int n = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return error == std::errc() && end == digits.data() + digits.size() && n > 0 ? n : 0;
}

std::vector<clsPortMapping> SettingsMappings() {
  std::vector<clsPortMapping> mappings;
  for (platform::SettingsValue& entry : platform::ReadSettingsGroup("Ports")) {
    const int n = PortNumberOfKey(entry.name);
    Trim(entry.value);
    if (n == 0 || entry.value.empty()) continue;
    if (std::any_of(mappings.begin(), mappings.end(), [n](const auto& m) { return m.number == n; }))
      continue;  // "COM7" and "com7" both present: the first one read wins
    mappings.push_back({n, entry.value, true});
  }
  return mappings;
}

}  // namespace

std::vector<clsPortMapping> PortMappings(const std::string& devDir) {
  if (!platform::NativePortDevice(1).empty()) return {};  // the system numbers its ports itself
  std::vector<clsPortMapping> mappings = SettingsMappings();
  std::set<int> used;
  for (const auto& m : mappings) used.insert(m.number);

  int next = 1;
  for (const char* family : {"ttyS", "ttyUSB", "ttyACM"}) {
    for (int i = 0;; ++i) {
      const std::string node = devDir + "/" + family + std::to_string(i);
      std::error_code error;
      if (!std::filesystem::exists(node, error)) break;
      while (used.count(next)) ++next;
      mappings.push_back({next, node, false});
      used.insert(next);
    }
  }
  std::sort(mappings.begin(), mappings.end(),
            [](const auto& a, const auto& b) { return a.number < b.number; });
  return mappings;
}

std::string PortDevicePath(int portNumber, const std::string& devDir) {
  if (portNumber <= 0) return {};
  if (std::string native = platform::NativePortDevice(portNumber); !native.empty()) return native;
  for (const auto& m : PortMappings(devDir)) {
    if (m.number == portNumber) return m.path;
  }
  return {};
}
