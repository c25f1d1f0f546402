// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {
std::string& Override() {
  static std::string dir;
  return dir;
}

QString ExecutablePath() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

std::string WithSeparator(const QString& dir) {
  QString d = QDir::toNativeSeparators(dir);
  if (!d.endsWith(QDir::separator())) d += QDir::separator();
  return QFile::encodeName(d).toStdString();
}
}  // namespace

std::string ExecutableFileName() {
  return QFile::encodeName(QFileInfo(ExecutablePath()).fileName()).toStdString();
}

std::string ExecutableDir() {
  return WithSeparator(QFileInfo(ExecutablePath()).absolutePath());
}

std::string DataDir() {
  if (!Override().empty()) return Override();
  const QString exeDir = QFileInfo(ExecutablePath()).absolutePath();
  if (QFileInfo::exists(exeDir + QStringLiteral("/TB58.OVL"))) return WithSeparator(exeDir);
  const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/seaclone"));
  if (QFileInfo::exists(installed + QStringLiteral("/TB58.OVL"))) return WithSeparator(installed);
  return WithSeparator(exeDir);
}

std::string BackupDir() {
  const QString chosen = qEnvironmentVariable("SEACLONE_BACKUP_DIR");
  if (!chosen.isEmpty()) return WithSeparator(chosen);
  return WithSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                       QStringLiteral("/seaclone/backups"));
}

void SetDataDirOverride(const std::string& dir) {
  if (dir.empty() || dir.back() == '/' || dir.back() == '\\')
    Override() = dir;
  else
    Override() = dir + "/";
}

}  // namespace platform
