// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private folder in the system's temporary folder, removed with all it
// holds when the object goes.

#include <string>

namespace platform {

class TemporaryFolder {
 public:
  // prefix starts the folder's name ("seaclone-cli").
  explicit TemporaryFolder(const std::string& prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // False when no folder could be made; Path() is then "".
  bool IsValid() const { return !path_.empty(); }
  // The folder, without a trailing separator.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace platform
