// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/tick_counter.h"

#include <chrono>

namespace platform {
namespace {
TickCounter*& Installed() {
  static TickCounter* counter = nullptr;
  return counter;
}
}  // namespace

std::uint32_t SteadyTickCounter::Now() const {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

std::uint32_t TickCount() {
  static const SteadyTickCounter steady;
  const TickCounter* counter = Installed();
  return counter ? counter->Now() : steady.Now();
}

TickCounter* SetTickCounter(TickCounter* counter) {
  TickCounter* previous = Installed();
  Installed() = counter;
  return previous;
}

}  // namespace platform
