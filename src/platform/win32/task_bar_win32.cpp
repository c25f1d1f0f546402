// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "platform/task_bar.h"

namespace platform {

void ShowTaskBar() {
  if (HWND bar = ::FindWindowA("Shell_TrayWnd", nullptr)) ::ShowWindow(bar, SW_SHOW);
}

}  // namespace platform
