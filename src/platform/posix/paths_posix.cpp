// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"

namespace platform {

bool IsPathSeparator(char c) { return c == '/'; }

std::string ExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::string UserDataFolder() {
  // A relative $XDG_DATA_HOME is invalid and ignored, as the XDG rules ask.
  const char* chosen = std::getenv("XDG_DATA_HOME");
  if (chosen && *chosen == '/') return chosen;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.local/share";
}

}  // namespace platform
