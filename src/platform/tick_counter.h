// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system millisecond tick counter: 32 bits that wrap after about 49.7
// days, which is why countdowns compare ticks with a wrap rule rather than
// with a plain subtraction of larger numbers. Tests replace the counter with
// a virtual clock.

#include <cstdint>

namespace platform {

class TickCounter {
 public:
  virtual ~TickCounter() = default;
  virtual std::uint32_t Now() const = 0;
};

// Milliseconds of a steady clock, truncated to 32 bits.
class SteadyTickCounter : public TickCounter {
 public:
  std::uint32_t Now() const override;
};

// Reads the counter in use.
std::uint32_t TickCount();
// Installs a counter (not owned) and returns the one installed before;
// nullptr goes back to the steady clock.
TickCounter* SetTickCounter(TickCounter* counter);

}  // namespace platform
