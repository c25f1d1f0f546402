// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/timer_service.h"

namespace platform {
namespace {
TimerService*& Installed() {
  static TimerService* service = nullptr;
  return service;
}
}  // namespace

TimerService& Timers() {
  TimerService* service = Installed();
  return service ? *service : DefaultTimers();
}

TimerService* SetTimerService(TimerService* service) {
  TimerService* previous = Installed();
  Installed() = service;
  return previous;
}

}  // namespace platform
