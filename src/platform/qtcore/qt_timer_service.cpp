// SPDX-License-Identifier: GPL-3.0-or-later
// Timer service on QTimer, the default where Qt runs the event loop; ticks
// arrive through the thread's event loop.
#include <QTimer>

#include <vector>

#include "platform/timer_service.h"

namespace platform {
namespace {

struct TickState {
  std::function<void()> onTick;
  int firing = 0;  // depth: a callback that pumps events may be re-entered
  bool alive = true;
  bool running = false;
};

// Timers that asked for a final tick at the end of the process.
using FinalTickList = std::vector<std::weak_ptr<TickState>>;

class QtTimer : public Timer {
 public:
  QtTimer(std::function<void()> onTick, FinalTickList* finalTicks)
      : state_(std::make_shared<TickState>()), finalTicks_(finalTicks) {
    state_->onTick = std::move(onTick);
    timer_ = new QTimer;
    timer_->setTimerType(Qt::PreciseTimer);
    std::shared_ptr<TickState> state = state_;
    QObject::connect(timer_, &QTimer::timeout, [state] {
      // Keep the state alive even if the owner deletes the timer from the
      // callback.
      std::shared_ptr<TickState> keep =
          state;  // NOLINT(performance-unnecessary-copy-initialization)
      if (!keep->onTick) return;
      ++keep->firing;
      keep->onTick();
      --keep->firing;
    });
  }

  ~QtTimer() override {
    state_->alive = false;
    state_->running = false;
    timer_->stop();
    if (state_->firing > 0) {
      // Deleting a QTimer inside its own timeout signal is unsafe; the
      // event loop frees it once the signal has returned.
      QObject::disconnect(timer_, nullptr, nullptr, nullptr);
      timer_->deleteLater();
    } else {
      delete timer_;
    }
  }

  void Start(int intervalMs) override {
    interval_ = intervalMs < 1 ? 1 : intervalMs;
    timer_->start(interval_);
    state_->running = true;
  }
  void Stop() override {
    timer_->stop();
    state_->running = false;
  }
  void SetFinalTick(bool on) override {
    if (on) finalTicks_->push_back(state_);
  }
  bool IsActive() const override { return timer_->isActive(); }
  int Interval() const override { return interval_; }

 private:
  std::shared_ptr<TickState> state_;
  FinalTickList* finalTicks_;  // the service's, which lives to the end of the process
  QTimer* timer_ = nullptr;
  int interval_ = 0;
};

class QtTimerService : public TimerService {
 public:
  // Runs after the event loop has gone: tasks still waiting for the tick
  // that frees them get it now, so nothing is left allocated at exit.
  ~QtTimerService() override {
    const FinalTickList states = finalTicks_;
    for (const auto& weak : states) {
      const std::shared_ptr<TickState> state = weak.lock();
      if (state && state->alive && state->running && state->onTick) state->onTick();
    }
    finalTicks_.clear();
  }

  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override {
    // Forget the timers that have gone meanwhile, so the list stays short.
    std::erase_if(finalTicks_, [](const auto& weak) { return weak.expired(); });
    return std::make_unique<QtTimer>(std::move(onTick), &finalTicks_);
  }

 private:
  FinalTickList finalTicks_;
};

}  // namespace

TimerService& DefaultTimers() {
  static QtTimerService service;
  return service;
}

}  // namespace platform
