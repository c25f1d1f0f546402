// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pushes what the system still holds of a file in its cache to the disk, so
// that a save renames a new file into place only once its blocks are
// written.

#include <cstdio>

namespace platform {

// True when the file's data reached the disk, or when its file system cannot
// sync at all (that is no failure of the save).
bool SyncToDisk(std::FILE* file);

}  // namespace platform
