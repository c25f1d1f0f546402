// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/temporary_folder.h"

#include <filesystem>
#include <random>

namespace platform {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
  std::error_code error;
  const fs::path root = fs::temp_directory_path(error);
  if (error) return;
  std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < 64; ++attempt) {
    const fs::path folder = root / (prefix + "-" + std::to_string(random() % 100000000));
    // false without an error: someone else's folder of that name.
    if (!fs::create_directory(folder, error)) {
      if (error) return;
      continue;
    }
    fs::permissions(folder, fs::perms::owner_all, error);
    path_ = folder.string();
    return;
  }
}

TemporaryFolder::~TemporaryFolder() {
  if (path_.empty()) return;
  std::error_code error;
  fs::remove_all(path_, error);
}

}  // namespace platform
