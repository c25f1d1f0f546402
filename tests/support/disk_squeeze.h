// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ways to make a file that is being written run out of room half way, as a
// full disk or a file-size limit does, for the process and every program it
// starts afterwards. Each returns how to undo it, or an empty function when
// it cannot be done here (the caller skips).

#include <QByteArray>
#include <QString>

#include <csignal>
#include <functional>
#include <string>

#ifdef __linux__
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#endif

namespace testsupport {

using Undo = std::function<void()>;

struct Squeeze {
  const char* what;
  // Applied to an empty folder, before anything is written there.
  Undo (*apply)(const QString& folder);
};

// The folder becomes a file system of two pages: a small file fits, a
// whole clone data file beside it does not. The mount lives in a private
// mount namespace of this process, so nothing outside the test sees it.
inline Undo FullDisk(const QString& folder) {
#ifdef __linux__
  const QByteArray path = folder.toLocal8Bit();
  if (::unshare(CLONE_NEWNS) != 0) return {};
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return {};
  if (::mount("tmpfs", path.constData(), "tmpfs", 0, "size=8k") != 0) return {};
  return [path] { ::umount2(path.constData(), MNT_DETACH); };
#else
  (void)folder;
  return {};
#endif
}

// No file may grow past 2000 bytes; the signal that would end the process
// is ignored, so the write fails with an error instead.
inline Undo FileSizeLimit(const QString&) {
#ifdef __linux__
  rlimit before{};
  if (::getrlimit(RLIMIT_FSIZE, &before) != 0) return {};
  rlimit limited = before;
  limited.rlim_cur = 2000;
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  if (::setrlimit(RLIMIT_FSIZE, &limited) != 0) {
    std::signal(SIGXFSZ, handler);
    return {};
  }
  return [before, handler] {
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
  };
#else
  return {};
#endif
}

inline const Squeeze kSqueezes[] = {{"disk full", &FullDisk}, {"file-size limit", &FileSizeLimit}};

}  // namespace testsupport
