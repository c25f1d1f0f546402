// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The event loop that delivers the timer service's ticks (timer_service.h)
// to a program without windows: Qt's where Qt runs, else a loop on the
// steady clock (steady_loop.h).

namespace platform {

// Runs the loop until QuitEventLoop is called from one of its callbacks.
void RunEventLoop();
// Ends RunEventLoop once the current callback returns.
void QuitEventLoop();

}  // namespace platform
