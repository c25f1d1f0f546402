// SPDX-License-Identifier: GPL-3.0-or-later
// Without Qt the programs' timers tick on the steady-clock loop.
#include <windows.h>

#include <timeapi.h>

#include "platform/event_loop.h"
#include "platform/steady_loop.h"

namespace platform {
namespace {
SteadyLoop& Loop() {
  static SteadyLoop loop;
  return loop;
}
}  // namespace

TimerService& DefaultTimers() { return Loop(); }

void RunEventLoop() {
  // The system's sleeps last 15.6 ms by default; the protocol's steps are
  // shorter.
  ::timeBeginPeriod(1);
  Loop().Run();
  ::timeEndPeriod(1);
}

void QuitEventLoop() { Loop().Quit(); }

}  // namespace platform
