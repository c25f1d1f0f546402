// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether standard error is a terminal: the command-line tool redraws its
// progress bars in place there, and writes plain lines into a log or pipe.

namespace platform {

bool StandardErrorIsTerminal();

}  // namespace platform
