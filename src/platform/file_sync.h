// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pushes what the system still holds of a file in its cache to the disk, so
// that a save renames a new file into place only once its blocks are
// written; and that renaming, which replaces the target in one step.

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace platform {

// True when the file's data reached the disk, or when its file system cannot
// sync at all (that is no failure of the save).
bool SyncToDisk(std::FILE* file);

// Creates path for writing in binary, failing with errno EEXIST when a file
// of that name is there already: a save never opens a file that someone else
// has put in its place.
std::FILE* CreateNewFile(const std::filesystem::path& path);

// Renames from over to, replacing a file that is there in one step: a
// reader sees the old file or the new one, never neither. On failure both
// stay as they were and error says why.
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error);

}  // namespace platform
