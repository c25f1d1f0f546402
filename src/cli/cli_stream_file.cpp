// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_stream_file.h"

#include <QFile>

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
  if (dir_.isValid()) path_ = QFile::encodeName(dir_.filePath("stream.dat")).toStdString();
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
  QFile file(QFile::decodeName(path_.c_str()));
  if (!file.open(QIODevice::ReadOnly)) {
    Say("the saved file could not be read back", 0);
    return false;
  }
  const QByteArray bytes = file.readAll();
  errno = 0;
  const std::size_t size = static_cast<std::size_t>(bytes.size());
  const int error = std::fwrite(bytes.constData(), 1, size, stdout) == size ? 0 : errno;
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
