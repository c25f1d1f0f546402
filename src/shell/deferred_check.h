// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The warning check that waits until the user has paused: every change to
// the image starts the countdown afresh, and the window's tick runs the
// check once it has run out, so that typing stays quick on a large page.

#include <optional>

#include "base/tick.h"

namespace shell {

class DeferredCheck {
 public:
  static constexpr int kDelayMs = 250;

  void Restart() {
    tick_.emplace();
    tick_->Start(kDelayMs);
  }
  // True once when the countdown has run out.
  bool TakeDue() {
    if (!tick_ || tick_->Remaining() != 0) return false;
    tick_.reset();
    return true;
  }

 private:
  std::optional<cmcTick> tick_;
};

}  // namespace shell
