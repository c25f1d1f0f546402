// SPDX-License-Identifier: GPL-3.0-or-later
#include <QString>

#include "platform/qtcore/settings_store.h"
#include "platform/settings_group.h"

namespace platform {

std::vector<SettingsValue> ReadSettingsGroup(const std::string& group, const std::string& keyPath) {
  std::vector<SettingsValue> values;
  const std::unique_ptr<QSettings> settings = OpenSettingsStore(keyPath);
  settings->beginGroup(QString::fromStdString(group));
  for (const QString& key : settings->childKeys()) {
    values.push_back({key.toStdString(), settings->value(key).toString().toStdString()});
  }
  return values;
}

bool WriteSettingsValue(const std::string& group, const std::string& name, const std::string& value,
                        const std::string& keyPath) {
  const std::unique_ptr<QSettings> settings = OpenSettingsStore(keyPath);
  settings->setValue(QString::fromStdString(group + "/" + name), QString::fromStdString(value));
  settings->sync();
  return settings->status() == QSettings::NoError;
}

bool RemoveSettingsGroup(const std::string& group, const std::string& keyPath) {
  const std::unique_ptr<QSettings> settings = OpenSettingsStore(keyPath);
  settings->remove(QString::fromStdString(group));
  settings->sync();
  return settings->status() == QSettings::NoError;
}

}  // namespace platform
