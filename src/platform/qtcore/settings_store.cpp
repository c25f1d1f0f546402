// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtcore/settings_store.h"

#include <QStringList>

namespace platform {

std::unique_ptr<QSettings> OpenSettingsStore(const std::string& keyPath) {
  // Only the last two parts name the store; QSettings itself adds the
  // "Software" root of the registry on Windows.
  QStringList parts = QString::fromStdString(keyPath).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  const QString application = parts.isEmpty() ? QStringLiteral("K4T") : parts.takeLast();
  const QString organisation = parts.isEmpty() ? application : parts.takeLast();
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                     application);
}

}  // namespace platform
