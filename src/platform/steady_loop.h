// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A timer service with its own event loop on the steady clock, for a
// program that has no Qt event loop (the command-line tool on Windows).
// Ticks arrive as QTimer's do: a timer that falls behind skips the ticks it
// missed rather than firing them in a burst, and ticks due at the same
// moment come in the order their timers were started.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/timer_service.h"

namespace platform {

class SteadyLoop : public TimerService {
 public:
  using Clock = std::chrono::steady_clock;

  SteadyLoop();
  // Gives the timers that asked for it their final tick.
  ~SteadyLoop() override;
  SteadyLoop(const SteadyLoop&) = delete;
  SteadyLoop& operator=(const SteadyLoop&) = delete;

  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override;

  // Fires ticks as they fall due, sleeping in between, until Quit is called.
  void Run();
  // Ends Run once the current tick has returned.
  void Quit() { quit_ = true; }

  // Fires every tick due at now; returns the time of the next one, or
  // Clock::time_point::max() when no timer runs.
  Clock::time_point FireDue(Clock::time_point now);

  struct Entry;

 private:
  std::vector<std::shared_ptr<Entry>> entries_;
  std::shared_ptr<std::uint64_t> startSeq_;
  bool quit_ = false;
  int depth_ = 0;
};

}  // namespace platform
