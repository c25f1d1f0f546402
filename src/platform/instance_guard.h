// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lets only one copy of the program run for the logged-on user. The first
// copy holds a named marker for as long as it lives; a later copy finds it
// held and knows it must leave. On Windows the marker is a named mutex; here
// it is a lock file named after the mutex, so that a copy that crashed does
// not lock the user out: its lock is taken over once its process is gone.
//
// The lock folder is keyed to the user id, never to the environment: a copy
// started from su, cron or an IDE with another or no XDG_RUNTIME_DIR must
// still find the first one's lock.

#include <memory>
#include <string>

namespace platform {

class InstanceGuard {
 public:
  // Creates (or finds held) the marker called name, in the user's runtime
  // folder; folder overrides the place (tests).
  explicit InstanceGuard(const std::string& name, const std::string& folder = {});
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // True when the marker could be created at all (a mutex handle exists).
  bool Created() const;
  // True when this process holds the marker: it is the only copy.
  bool IsFirst() const;

  // Names a lock folder that replaces the user's own; the tests point it at
  // a temporary folder so that parallel test programs do not meet.
  static constexpr char kFolderVariable[] = "SEACLONE_LOCK_DIR";

  // The folder where the markers lie: $SEACLONE_LOCK_DIR when set, else
  // UserFolder(). Empty when no usable folder can be had.
  static std::string RuntimeFolder();
  // runUserRoot/<uid> when that is a folder owned by the user, else the
  // private folder tempRoot/seaclone-<uid>, made with mode 0700 when missing.
  // One that is not a real folder owned by the user is refused (empty
  // result): someone else could otherwise hold or plant the lock.
  static std::string UserFolder(const std::string& runUserRoot = "/run/user",
                                const std::string& tempRoot = "/tmp");

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
