#pragma once
// Lets only one copy of the program run for the logged-on user. The first
// copy holds a named marker for as long as it lives; a later copy finds it
// held and knows it must leave. On Windows the marker is a named mutex; here
// it is a lock file in the user's runtime folder, named after the mutex, so
// that a copy that crashed does not lock the user out: its lock is taken
// over once its process is gone.

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

  // The user's runtime folder where the markers lie (created if missing).
  static std::string RuntimeFolder();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
