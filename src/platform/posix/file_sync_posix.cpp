// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <cerrno>

#include "platform/file_sync.h"
#include "platform/file_sync_native.h"

namespace platform {

std::FILE* CreateNewFile(const std::filesystem::path& path) {
  return std::fopen(path.c_str(), "wbx");
}

namespace native {

bool SyncToDisk(std::FILE* file) {
  return ::fsync(fileno(file)) == 0 || errno == EINVAL || errno == ENOTSUP;
}

// rename() replaces the target atomically here.
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) {
  std::filesystem::rename(from, to, error);
  return !error;
}

}  // namespace native
}  // namespace platform
