// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_stream_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/cli_options.h"
#include "cli/cli_output.h"

namespace cli {
namespace {

void Say(const std::string& what, int error) {
  std::string text = "seaclone-cli: " + what;
  if (error != 0) text += std::string(": ") + std::strerror(error);
  StandardError().Message(text);
}

}  // namespace

StreamFile::StreamFile() {
  if (dir_.IsValid()) path_ = dir_.Path() + "/stream.dat";
}

bool StreamFile::FromStandardInput() {
  if (path_.empty()) {
    Say("no temporary folder for standard input", 0);
    return false;
  }
  std::FILE* file = std::fopen(path_.c_str(), "wb");
  if (!file) {
    Say("no temporary file for standard input", errno);
    return false;
  }
  char buffer[4096];
  std::size_t n;
  bool written = true;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
    written = written && std::fwrite(buffer, 1, n, file) == n;
  }
  const bool read = !std::ferror(stdin);
  written = std::fclose(file) == 0 && written;
  if (!read)
    Say("standard input could not be read", errno);
  else if (!written)
    Say("standard input could not be kept in a temporary file", errno);
  return read && written;
}

bool StreamFile::ToStandardOutput() {
  std::FILE* file = std::fopen(path_.c_str(), "rb");
  if (!file) {
    Say("the saved file could not be read back", 0);
    return false;
  }
  std::string bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    bytes.append(buffer, n);
  const bool read = !std::ferror(file);
  std::fclose(file);
  if (!read) {
    Say("the saved file could not be read back", 0);
    return false;
  }
  errno = 0;
  const int error = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() ? 0 : errno;
  return FlushStandardOutput(error);
}

bool InputPath(const std::string& file, std::optional<StreamFile>& stream, std::string* path) {
  if (file != kStdStream) {
    *path = file;
    return true;
  }
  stream.emplace();
  *path = stream->Path();
  return stream->FromStandardInput();
}

}  // namespace cli
