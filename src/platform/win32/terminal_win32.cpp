// SPDX-License-Identifier: GPL-3.0-or-later
#include <io.h>

#include <cstdio>

#include "platform/terminal.h"

namespace platform {

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace platform
