// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string& Override() {
  static std::string dir;
  return dir;
}

fs::path ExecutableFolder() { return fs::path(ExecutablePath()).parent_path(); }

std::string WithSeparator(fs::path dir) {
  std::string d = dir.make_preferred().string();
  if (d.empty() || !IsPathSeparator(d.back()))
    d += static_cast<char>(fs::path::preferred_separator);
  return d;
}

bool HoldsOverlay(const fs::path& dir) {
  std::error_code error;
  return fs::exists(dir / "TB58.OVL", error);
}

}  // namespace

std::string ExecutableFileName() { return fs::path(ExecutablePath()).filename().string(); }

std::string ExecutableDir() { return WithSeparator(ExecutableFolder()); }

std::string DataDir() {
  if (!Override().empty()) return Override();
  const fs::path exeDir = ExecutableFolder();
  if (HoldsOverlay(exeDir)) return WithSeparator(exeDir);
  const fs::path installed = (exeDir / ".." / "share" / "seaclone").lexically_normal();
  if (HoldsOverlay(installed)) return WithSeparator(installed);
  return WithSeparator(exeDir);
}

std::string BackupDir() {
  const char* chosen = std::getenv("SEACLONE_BACKUP_DIR");
  if (chosen && *chosen) return WithSeparator(chosen);
  return WithSeparator(fs::path(UserDataFolder()) / "seaclone" / "backups");
}

void SetDataDirOverride(const std::string& dir) {
  if (dir.empty() || dir.back() == '/' || dir.back() == '\\')
    Override() = dir;
  else
    Override() = dir + "/";
}

}  // namespace platform
