// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/port_map.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <set>

#include "platform/port_naming.h"
#include "platform/settings_store.h"

namespace {

// "COM7" (any case) → 7; 0 for anything else.
int PortNumberOfKey(const QString& key) {
  if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)) return 0;
  bool ok = false;
  const int n = key.mid(3).toInt(&ok);
  return ok && n > 0 ? n : 0;
}

std::vector<clsPortMapping> SettingsMappings() {
  std::vector<clsPortMapping> mappings;
  const std::unique_ptr<QSettings> settings = platform::OpenSettingsStore();
  settings->beginGroup("Ports");
  for (const QString& key : settings->childKeys()) {
    const int n = PortNumberOfKey(key);
    const QString path = settings->value(key).toString().trimmed();
    if (n == 0 || path.isEmpty()) continue;
    if (std::any_of(mappings.begin(), mappings.end(), [n](const auto& m) { return m.number == n; }))
      continue;  // "COM7" and "com7" both present: the first one read wins
    mappings.push_back({n, path.toStdString(), true});
  }
  return mappings;
}

}  // namespace

std::vector<clsPortMapping> PortMappings(const std::string& devDir) {
  if (!platform::NativePortDevice(1).empty()) return {};  // the system numbers its ports itself
  std::vector<clsPortMapping> mappings = SettingsMappings();
  std::set<int> used;
  for (const auto& m : mappings) used.insert(m.number);

  const QString dir = QString::fromStdString(devDir);
  int next = 1;
  for (const char* family : {"ttyS", "ttyUSB", "ttyACM"}) {
    for (int i = 0;; ++i) {
      const QString node = dir + "/" + family + QString::number(i);
      if (!QFileInfo::exists(node)) break;
      while (used.count(next)) ++next;
      mappings.push_back({next, node.toStdString(), false});
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
