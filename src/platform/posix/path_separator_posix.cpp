#include "platform/paths.h"

namespace platform {

bool IsPathSeparator(char c) { return c == '/'; }

}  // namespace platform
