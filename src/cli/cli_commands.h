#pragma once
// The commands of seaclone-cli. Each returns the process exit status.

#include "cli/cli_options.h"

namespace cli {

int RunInfo(const Options& options);
int RunRead(const Options& options);
int RunWrite(const Options& options);
int RunCheck(const Options& options);
// In cli_pages.cpp.
int RunPages(const Options& options);

}  // namespace cli
