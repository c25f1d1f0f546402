// SPDX-License-Identifier: GPL-3.0-or-later
#include <io.h>

#include "platform/file_sync.h"

namespace platform {

bool SyncToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

}  // namespace platform
