// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli backups: the images kept from every read, newest first.
#include <cstdio>

#include "cli/cli_commands.h"
#include "cli/exit_status.h"
#include "platform/paths.h"
#include "radio/read_backup.h"

namespace cli {

int RunBackups(const Options& /*options*/) {
  const std::string folder = platform::BackupDir();
  for (const backup::Entry& e : backup::ListBackups(folder)) {
    std::printf("%s%s\t%s\t%s\t%s\n", folder.c_str(), e.file.c_str(), e.date.c_str(),
                e.model.c_str(), e.comment.c_str());
  }
  return kExitOk;
}

}  // namespace cli
