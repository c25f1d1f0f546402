// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place where the core's result codes become seaclone-cli's exit
// statuses. Scripts test these numbers, so they follow the codes' own fixed
// numbers: a clone data file's code as it stands, a failed exchange offset
// by kExitExchange.

#include "cli/cli_options.h"
#include "model/clone_file.h"
#include "radio/clone_drv_result.h"

namespace cli {

constexpr int ExitStatus(CloneFileCode code) { return static_cast<int>(code); }

constexpr int ExitStatus(CloneStatus status) {
  return status == CloneStatus::kOk ? kExitOk : kExitExchange + static_cast<int>(status);
}

}  // namespace cli
