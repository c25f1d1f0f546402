// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/tick.h"

#include "platform/tick_counter.h"

void cmcTick::Start(std::uint32_t ms) {
  duration_ = ms;
  start_ = platform::TickCount();
  running_ = true;
}

std::uint32_t cmcTick::Remaining() {
  if (!running_) return 0;
  const std::uint32_t now = platform::TickCount();
  // The counter wraps after 49.7 days. The wrapped case comes out 2 ms short
  // of the true span, which is harmless for time-outs of seconds and keeps
  // countdowns across the wrap exactly as the radio link was timed.
  const std::uint32_t elapsed = now >= start_ ? now - start_ : 0xFFFFFFFFu - (start_ - now + 1);
  if (elapsed < duration_) return duration_ - elapsed;
  running_ = false;
  return 0;
}
