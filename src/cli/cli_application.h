// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the command-line tool needs of an application object: with Qt, a
// core application for the event loop, or a widget application for the
// print command; without Qt, nothing (the core's own loop runs the timers).

#include <memory>

#include "cli/cli_options.h"

namespace cli {

// Kept for the life of the process; may be null.
std::shared_ptr<void> StartApplication(int& argc, char** argv, Command command);

}  // namespace cli
