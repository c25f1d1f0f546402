// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Virtual time for tests: timers and the tick counter advance only when the
// test says so, and every due tick fires in time order on the way. A
// protocol time-out of 2000 ms then costs no wall time, and a test sees each
// tick in a fixed order.
//
//   platform::ScopedVirtualTime time;   // before creating tasks, buses, ...
//   cmcTask task; ...
//   time.AdvanceBy(100);

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/tick_counter.h"
#include "platform/timer_service.h"

namespace platform {

class VirtualTimerService : public TimerService, public TickCounter {
 public:
  // startTick lets tests begin just short of the 32-bit wrap.
  explicit VirtualTimerService(std::uint32_t startTick = 0);
  ~VirtualTimerService() override;

  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;
  // The virtual tick count, wrapping at 32 bits.
  std::uint32_t Now() const override;

  // Moves time forward by ms, firing every tick due up to then, earliest
  // first; ticks due at the same moment fire in the order their timers were
  // started. A timer started by a callback for a moment within the span
  // fires within this call as well.
  void AdvanceBy(int ms);
  // Fires ticks in time order until done() holds or limitMs have passed;
  // returns done(). Time stops at the tick that made done() true.
  bool AdvanceUntil(const std::function<bool()>& done, int limitMs);
  // Milliseconds of virtual time since construction.
  std::uint64_t Elapsed() const;
  // Running timers.
  int ActiveCount() const;
  // Timers not yet destroyed, running or not.
  int LiveCount() const;
  // Ticks fired so far.
  std::uint64_t FiredCount() const { return fired_; }

  struct Entry;
  struct Clock;

 private:
  // Fires the earliest tick due at or before limit; false if there is none.
  bool FireNext(std::uint64_t limit);
  void Sweep();

  std::vector<std::shared_ptr<Entry>> entries_;
  std::shared_ptr<Clock> clock_;  // shared with the timers, which may outlive the service
  std::uint32_t base_ = 0;
  std::uint64_t fired_ = 0;
  int depth_ = 0;
};

// Installs a virtual timer service and tick counter for the scope, and puts
// back whatever was installed before.
class ScopedVirtualTime : public VirtualTimerService {
 public:
  explicit ScopedVirtualTime(std::uint32_t startTick = 0);
  ~ScopedVirtualTime() override;
  ScopedVirtualTime(const ScopedVirtualTime&) = delete;
  ScopedVirtualTime& operator=(const ScopedVirtualTime&) = delete;

 private:
  TimerService* previousService_;
  TickCounter* previousCounter_;
};

}  // namespace platform
