// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

namespace platform {

bool IsPathSeparator(char c) { return c == '/'; }

}  // namespace platform
