// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_application.h"

namespace cli {

std::shared_ptr<void> StartApplication(int& /*argc*/, char** /*argv*/, Command /*command*/) {
  return {};
}

}  // namespace cli
