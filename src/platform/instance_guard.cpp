#ifndef _WIN32
#include "platform/instance_guard.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

namespace platform {

struct InstanceGuard::Impl {
  std::unique_ptr<QLockFile> lock;
  bool created = false;
  bool first = false;
};

namespace {

// A mutex name may hold characters a file name cannot.
QString FileNameFor(const std::string& name) {
  QString file = QString::fromStdString(name);
  file.replace(QLatin1Char('/'), QLatin1Char('_'));
  file.replace(QLatin1Char('\\'), QLatin1Char('_'));
  return file + QStringLiteral(".lock");
}

bool UsableFolder(const QString& folder) {
  if (folder.isEmpty()) return false;
  QDir dir(folder);
  if (dir.exists()) return true;
  if (!dir.mkpath(QStringLiteral("."))) return false;
  // The runtime folder is private to the user; one made here is too.
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ExeOwner);
  return true;
}

}  // namespace

std::string InstanceGuard::RuntimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!UsableFolder(folder)) {
    folder = QDir::tempPath() + QStringLiteral("/runtime-") + qEnvironmentVariable("USER");
    if (!UsableFolder(folder)) return {};
  }
  return folder.toStdString();
}

InstanceGuard::InstanceGuard(const std::string& name, const std::string& folder)
    : impl_(std::make_unique<Impl>()) {
  QString place = QString::fromStdString(folder.empty() ? RuntimeFolder() : folder);
  if (!UsableFolder(place)) return;
  impl_->lock = std::make_unique<QLockFile>(place + QLatin1Char('/') + FileNameFor(name));
  // The lock lives as long as the process: age alone never makes it stale,
  // only the death of the process that holds it.
  impl_->lock->setStaleLockTime(0);
  if (impl_->lock->tryLock(0)) {
    impl_->created = true;
    impl_->first = true;
  } else {
    // Held by a running copy: the marker exists, this process is not first.
    // Any other error means the marker could not be made at all.
    impl_->created = impl_->lock->error() == QLockFile::LockFailedError;
  }
}

InstanceGuard::~InstanceGuard() {
  if (impl_->lock && impl_->first) impl_->lock->unlock();
}

bool InstanceGuard::Created() const { return impl_->created; }
bool InstanceGuard::IsFirst() const { return impl_->first; }

}  // namespace platform
#endif
