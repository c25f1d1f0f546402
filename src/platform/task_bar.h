// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's task bar, which a program that ran full screen may have left
// hidden. Only Windows has one to show.

namespace platform {

// Shows the task bar whether or not it was hidden; nothing where there is none.
void ShowTaskBar();

}  // namespace platform
