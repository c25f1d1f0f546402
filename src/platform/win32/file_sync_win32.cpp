// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "platform/file_sync.h"
#include "platform/file_sync_native.h"

namespace platform {

// The C library here knows no "x" mode of fopen.
std::FILE* CreateNewFile(const std::filesystem::path& path) {
  const int fd = ::_wopen(path.wstring().c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                          _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = ::_fdopen(fd, "wb");
  if (!file) ::_close(fd);
  return file;
}

namespace native {

bool SyncToDisk(std::FILE* file) { return _commit(_fileno(file)) == 0; }

// A plain rename fails here when the target exists; MoveFileExW replaces it,
// and write-through returns only once the new name is on the disk.
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) {
  if (::MoveFileExW(from.wstring().c_str(), to.wstring().c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error.clear();
    return true;
  }
  error = std::error_code(static_cast<int>(::GetLastError()), std::system_category());
  return false;
}

}  // namespace native
}  // namespace platform
