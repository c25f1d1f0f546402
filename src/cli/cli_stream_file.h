// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The core reads and writes clone data files by name only, so "-" (standard
// input for check and write, standard output for read) passes through a
// file in a private temporary folder that goes with this object.

#include <optional>
#include <string>

#include "platform/temporary_folder.h"

namespace cli {

class StreamFile {
 public:
  StreamFile();
  const std::string& Path() const { return path_; }

  // Copies standard input into the file. False, said on standard error,
  // when either cannot be done.
  bool FromStandardInput();
  // Copies the file to standard output. False, said on standard error,
  // when standard output fails.
  bool ToStandardOutput();

 private:
  platform::TemporaryFolder dir_{"seaclone-cli"};
  std::string path_;
};

// The file to read for a FILE argument: FILE itself, or for "-" standard
// input kept in stream. False, said on standard error, when standard input
// could not be kept.
bool InputPath(const std::string& file, std::optional<StreamFile>& stream, std::string* path);

}  // namespace cli
