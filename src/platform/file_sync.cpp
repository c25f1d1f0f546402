// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_sync.h"

#include <atomic>

#include "platform/file_sync_native.h"

namespace platform {
namespace {

std::atomic<FileStepWatch*> gWatch{nullptr};

bool Allowed(FileStep step) {
  FileStepWatch* watch = gWatch.load();
  return watch == nullptr || watch->Allow(step);
}

}  // namespace

FileStepWatch* SetFileStepWatch(FileStepWatch* watch) { return gWatch.exchange(watch); }

bool WriteToFile(std::FILE* file, std::string_view bytes) {
  if (!Allowed(FileStep::kWrite)) {
    // A disk that fills up takes the first part of a write and refuses the rest.
    std::fwrite(bytes.data(), 1, bytes.size() / 2, file);
    return false;
  }
  return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

bool FlushFile(std::FILE* file) {
  if (!Allowed(FileStep::kFlush)) return false;
  return std::fflush(file) == 0 && !std::ferror(file);
}

bool SyncToDisk(std::FILE* file) { return Allowed(FileStep::kSync) && native::SyncToDisk(file); }

bool CloseFile(std::FILE* file) {
  const bool allowed = Allowed(FileStep::kClose);
  return std::fclose(file) == 0 && allowed;
}

bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error) {
  if (!Allowed(FileStep::kRename)) {
    error = std::make_error_code(std::errc::io_error);
    return false;
  }
  return native::MoveIntoPlace(from, to, error);
}

}  // namespace platform
