// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <io.h>

#include <cstdio>

#include "platform/terminal.h"

namespace platform {

bool StandardErrorIsTerminal() {
  if (_isatty(_fileno(stderr)) == 0) return false;
  // A console older than Windows 10 shows cursor movements as text: it
  // gets the plain lines instead.
  HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode)) return false;
  return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
         SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace platform
