// SPDX-License-Identifier: GPL-3.0-or-later
// The commands whose files still need Qt (the list cli_pending_qt_free in
// src/CMakeLists.txt); goes with that list.
#include "cli/cli_commands.h"
#include "cli/cli_output.h"

namespace cli {
namespace {
int Unavailable(const char* command) {
  StandardError().Message(std::string("seaclone-cli: this build has no ") + command + " command yet");
  return kExitUsage;
}
}  // namespace

int RunExport(const Options& /*options*/) { return Unavailable("export"); }
int RunImport(const Options& /*options*/) { return Unavailable("import"); }
int RunFleet(const Options& /*options*/) { return Unavailable("fleet"); }

}  // namespace cli
