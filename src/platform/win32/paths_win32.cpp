// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <shlobj.h>

#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"

namespace platform {

// Windows accepts either slash in a path.
bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return std::filesystem::path(path).string();
    }
    path.resize(path.size() * 2);
  }
}

std::string UserDataFolder() {
  PWSTR folder = nullptr;
  std::string result;
  if (::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder) == S_OK) {
    result = std::filesystem::path(folder).string();
  }
  ::CoTaskMemFree(folder);
  if (result.empty()) {
    if (const char* local = std::getenv("LOCALAPPDATA")) result = local;
  }
  return result;
}

}  // namespace platform
