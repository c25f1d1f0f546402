// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Periodic callbacks on the user-interface thread. Every timer task of the
// program (event delivery, the protocol driver's step, output flushing, ...)
// gets its ticks from the process-wide timer service: Qt timers in the
// programs (or the steady-clock loop without Qt), a virtual-time scheduler in tests, so that a 2000
// ms time-out costs no wall time there. Timers keep the service that made them, so install the
// service before creating the objects that use it.

#include <functional>
#include <memory>

namespace platform {

class Timer {
 public:
  virtual ~Timer() = default;
  // (Re)starts with the given interval in milliseconds (at least 1); the
  // first tick comes one interval from now.
  virtual void Start(int intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool IsActive() const = 0;
  // The last interval given to Start, 0 before the first.
  virtual int Interval() const = 0;
  // Asks for one last tick if the service ends while this timer runs, for
  // an owner that waits for a tick to free itself. Services that end with
  // the process may ignore it.
  virtual void SetFinalTick(bool /*on*/) {}
};

class TimerService {
 public:
  virtual ~TimerService() = default;
  // A stopped timer that calls onTick on every tick while it runs. The timer
  // may be destroyed from inside its own onTick.
  virtual std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) = 0;
};

// The service in use: the one installed last, else DefaultTimers().
TimerService& Timers();
// Installs a service (not owned) and returns the one installed before;
// nullptr goes back to the default service.
TimerService* SetTimerService(TimerService* service);
// The service of the program's event loop (platform/event_loop.h): Qt
// timers where Qt runs the loop, the steady-clock loop elsewhere.
TimerService& DefaultTimers();

}  // namespace platform
