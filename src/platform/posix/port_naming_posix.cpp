// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/port_naming.h"

namespace platform {

std::string NativePortDevice(int /*portNumber*/) { return {}; }

}  // namespace platform
