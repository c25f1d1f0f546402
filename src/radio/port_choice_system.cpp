// SPDX-License-Identifier: GPL-3.0-or-later
// The ports present on this machine, for the port dialog's lists. Devices
// are numbered by the port map (the `Ports` settings first, then Wine's
// automatic numbering); QSerialPortInfo supplies the friendly names (from
// udev: vendor and model), matched by device path because a port may be
// reached through a symbolic link.
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QString>

#include <algorithm>

#include "radio/port_choice.h"
#include "radio/port_map.h"

namespace portchoice {
namespace {

QString Canonical(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

std::vector<int> PresentPortNumbers() {
  std::vector<int> numbers;
  for (const clsPortMapping& m : PortMappings()) {
    // A settings entry is the user's own choice and is offered even while
    // its device is unplugged; the automatic ones exist by construction.
    if (m.fromSettings || QFileInfo::exists(QString::fromStdString(m.path))) {
      numbers.push_back(m.number);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

std::vector<PortDevice> PresentPortDevices() {
  const auto infos = QSerialPortInfo::availablePorts();
  std::vector<PortDevice> devices;
  for (const clsPortMapping& m : PortMappings()) {
    // A device that is not there cannot be picked by its name; its number
    // stays in the number list for a cable about to be plugged in.
    if (!QFileInfo::exists(QString::fromStdString(m.path))) continue;
    const QString path = Canonical(m.path);
    QString friendly;
    for (const QSerialPortInfo& info : infos) {
      if (Canonical(info.systemLocation().toStdString()) != path) continue;
      friendly = (info.manufacturer() + " " + info.description()).trimmed();
      break;
    }
    if (friendly.isEmpty() && m.fromSettings) friendly = QString::fromStdString(m.path);
    if (friendly.isEmpty()) continue;
    const std::string port = "COM" + std::to_string(m.number);
    devices.push_back({port, friendly.toStdString() + " (" + port + ")"});
  }
  return devices;
}

std::vector<std::string> SystemNumberList() { return NumberList(PresentPortNumbers()); }

std::vector<std::string> SystemNameList() {
  return NameList(PresentPortDevices(), PresentPortNumbers());
}

}  // namespace portchoice
