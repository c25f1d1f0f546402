// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/instance_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <cerrno>

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
  QFile::setPermissions(folder,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return true;
}

// A folder of the user's own: a real folder (not a link to one) owned by
// this user id.
bool OwnedFolder(const std::string& path, struct stat* info) {
  return ::lstat(path.c_str(), info) == 0 && S_ISDIR(info->st_mode) && info->st_uid == ::getuid();
}

}  // namespace

std::string InstanceGuard::RuntimeFolder() {
  const QString chosen = qEnvironmentVariable(kFolderVariable);
  if (!chosen.isEmpty()) return UsableFolder(chosen) ? chosen.toStdString() : std::string();
  return UserFolder();
}

std::string InstanceGuard::UserFolder(const std::string& runUserRoot, const std::string& tempRoot) {
  const std::string uid = std::to_string(::getuid());
  struct stat info {};
  std::string run = runUserRoot + "/" + uid;
  if (OwnedFolder(run, &info)) return run;

  // A fixed root rather than $TMPDIR, which may differ between two starts
  // just as XDG_RUNTIME_DIR does.
  std::string own = tempRoot + "/seaclone-" + uid;
  if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) return {};
  if (!OwnedFolder(own, &info)) return {};
  // Ours but opened up to others (made by hand, say): closed again, so that
  // nobody else can put a lock file of theirs in it.
  if ((info.st_mode & 077) != 0 && ::chmod(own.c_str(), 0700) != 0) return {};
  return own;
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
