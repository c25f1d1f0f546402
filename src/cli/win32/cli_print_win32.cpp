// SPDX-License-Identifier: GPL-3.0-or-later
// Printing paints with Qt's widgets, which a build without Qt lacks.
#include "cli/cli_commands.h"
#include "cli/cli_output.h"

namespace cli {

int RunPrint(const Options& /*options*/) {
  StandardError().Message(
      "seaclone-cli: this build cannot print (it has no Qt); print on a build with Qt");
  return kExitUsage;
}

}  // namespace cli
