// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <cerrno>

#include "platform/file_sync.h"

namespace platform {

bool SyncToDisk(std::FILE* file) {
  return ::fsync(fileno(file)) == 0 || errno == EINVAL || errno == ENOTSUP;
}

}  // namespace platform
