// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

namespace platform {

// Windows accepts either slash in a path.
bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace platform
