// Timer service on QTimer. QTimer belongs to Qt Core, so this backend sits
// with the interfaces; ticks arrive through the thread's event loop.
#include <QTimer>

#include "platform/timer_service.h"

namespace platform {
namespace {

struct TickState {
  std::function<void()> onTick;
  int firing = 0;  // depth: a callback that pumps events may be re-entered
};

class QtTimer : public Timer {
 public:
  explicit QtTimer(std::function<void()> onTick) : state_(std::make_shared<TickState>()) {
    state_->onTick = std::move(onTick);
    timer_ = new QTimer;
    timer_->setTimerType(Qt::PreciseTimer);
    std::shared_ptr<TickState> state = state_;
    QObject::connect(timer_, &QTimer::timeout, [state] {
      // Keep the state alive even if the owner deletes the timer from the
      // callback.
      std::shared_ptr<TickState> keep = state;
      if (!keep->onTick) return;
      ++keep->firing;
      keep->onTick();
      --keep->firing;
    });
  }

  ~QtTimer() override {
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
  }
  void Stop() override { timer_->stop(); }
  bool IsActive() const override { return timer_->isActive(); }
  int Interval() const override { return interval_; }

 private:
  std::shared_ptr<TickState> state_;
  QTimer* timer_ = nullptr;
  int interval_ = 0;
};

class QtTimerService : public TimerService {
 public:
  std::unique_ptr<Timer> CreateTimer(std::function<void()> onTick) override {
    return std::make_unique<QtTimer>(std::move(onTick));
  }
};

TimerService*& Installed() {
  static TimerService* service = nullptr;
  return service;
}

}  // namespace

TimerService& QtTimers() {
  static QtTimerService service;
  return service;
}

TimerService& Timers() {
  TimerService* service = Installed();
  return service ? *service : QtTimers();
}

void SetTimerService(TimerService* service) { Installed() = service; }

}  // namespace platform
