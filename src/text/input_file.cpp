// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/input_file.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace text {
namespace fs = std::filesystem;

FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& text) {
  text.clear();
  std::error_code error;
  // Checked before opening: opening a FIFO with no writer would block.
  const fs::file_status status = fs::status(fs::path(path), error);
  if (error || !fs::exists(status)) return FileRead::kCannotOpen;
  if (!fs::is_regular_file(status)) return FileRead::kNotRegular;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return FileRead::kCannotOpen;
  char buffer[65536];
  std::size_t n = 0;
  FileRead result = FileRead::kOk;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (text.size() + n > limit) {
      result = FileRead::kTooLarge;
      break;
    }
    text.append(buffer, n);
  }
  if (result == FileRead::kOk && std::ferror(file)) result = FileRead::kReadError;
  std::fclose(file);
  if (result != FileRead::kOk) text.clear();
  return result;
}

std::string FileReadReason(FileRead result, std::size_t limit) {
  switch (result) {
    case FileRead::kOk: return {};
    case FileRead::kCannotOpen: return "cannot be opened";
    case FileRead::kNotRegular: return "is not a regular file";
    case FileRead::kTooLarge:
      return "is larger than " + std::to_string(limit / (std::size_t{1024} * 1024)) + " MB";
    case FileRead::kReadError: return "could not be read to its end";
  }
  return {};
}

bool IsFileTarget(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(path), error);
  if (fs::is_regular_file(status)) return true;
  // A link to nothing is a free name as well: the save replaces the link.
  return status.type() == fs::file_type::not_found;
}

}  // namespace text
