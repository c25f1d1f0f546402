// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include "platform/terminal.h"

namespace platform {

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace platform
