// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operating system's half of file_sync.h, one per backend folder; the
// watch is consulted before these are called.

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace platform::native {

bool SyncToDisk(std::FILE* file);
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error);

}  // namespace platform::native
