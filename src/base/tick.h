// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A one-shot millisecond countdown on the system tick counter: the deferred
// refresh of the main controller and the time-outs of the protocol driver.
// It is polled, not signalled: Remaining() turns 0 once the time is up.

#include <cstdint>

class cmcTick {
 public:
  // Starts counting ms down from now.
  void Start(std::uint32_t ms);
  // Milliseconds left; 0 when not running, and 0 (stopping the countdown)
  // once the time is up.
  std::uint32_t Remaining();
  bool IsRunning() const { return running_; }
  void Stop() { running_ = false; }

 private:
  std::uint32_t duration_ = 0;
  std::uint32_t start_ = 0;
  bool running_ = false;
};
