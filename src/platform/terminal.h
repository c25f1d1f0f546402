// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether standard error is a terminal that takes cursor movements (ANSI
// escape sequences): the command-line tool redraws its progress lines in
// place there, and writes plain lines into a log, a pipe or an old console.

namespace platform {

bool StandardErrorIsTerminal();

}  // namespace platform
