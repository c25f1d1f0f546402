// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/virtual_timer_service.h"

#include <algorithm>

namespace platform {

struct VirtualTimerService::Entry {
  std::function<void()> onTick;
  bool alive = true;
  bool active = false;
  bool finalTick = false;
  int interval = 0;
  std::uint64_t due = 0;
  std::uint64_t startSeq = 0;
};

struct VirtualTimerService::Clock {
  std::uint64_t now = 0;
  std::uint64_t startSeq = 0;
  bool running = true;  // false once the service is gone
};

namespace {

// The timer holds only shared state, so it may outlive the service.
class VirtualTimer : public Timer {
 public:
  VirtualTimer(std::shared_ptr<VirtualTimerService::Entry> entry,
               std::shared_ptr<VirtualTimerService::Clock> clock)
      : entry_(std::move(entry)), clock_(std::move(clock)) {}
  ~VirtualTimer() override {
    entry_->alive = false;
    entry_->active = false;
  }
  void Start(int intervalMs) override;
  void Stop() override { entry_->active = false; }
  bool IsActive() const override { return entry_->active; }
  int Interval() const override { return entry_->interval; }
  void SetFinalTick(bool on) override { entry_->finalTick = on; }

 private:
  std::shared_ptr<VirtualTimerService::Entry> entry_;
  std::shared_ptr<VirtualTimerService::Clock> clock_;
};

void VirtualTimer::Start(int intervalMs) {
  entry_->interval = std::max(intervalMs, 1);
  entry_->active = clock_->running;
  entry_->due = clock_->now + static_cast<std::uint64_t>(entry_->interval);
  entry_->startSeq = ++clock_->startSeq;
}

}  // namespace

VirtualTimerService::VirtualTimerService(std::uint32_t startTick)
    : clock_(std::make_shared<Clock>()), base_(startTick) {}

VirtualTimerService::~VirtualTimerService() {
  // A task waiting for a tick to delete itself would otherwise leak when a
  // test ends before that tick.
  const auto entries = entries_;
  for (const auto& e : entries) {
    if (e->alive && e->active && e->finalTick && e->onTick) e->onTick();
  }
  // Timers that outlive the service must never fire again.
  clock_->running = false;
  for (auto& e : entries_) e->active = false;
}

std::uint64_t VirtualTimerService::Elapsed() const { return clock_->now; }

std::unique_ptr<Timer> VirtualTimerService::CreateTimer(std::function<void()> onTick) {
  auto entry = std::make_shared<Entry>();
  entry->onTick = std::move(onTick);
  entries_.push_back(entry);
  return std::make_unique<VirtualTimer>(entry, clock_);
}

std::uint32_t VirtualTimerService::Now() const {
  return static_cast<std::uint32_t>(base_ + clock_->now);
}

int VirtualTimerService::ActiveCount() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [](const auto& e) { return e->alive && e->active; }));
}

int VirtualTimerService::LiveCount() const {
  return static_cast<int>(
      std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return e->alive; }));
}

bool VirtualTimerService::FireNext(std::uint64_t limit) {
  std::shared_ptr<Entry> next;
  for (const auto& e : entries_) {
    if (!e->alive || !e->active || e->due > limit) continue;
    if (!next || e->due < next->due || (e->due == next->due && e->startSeq < next->startSeq))
      next = e;
  }
  if (!next) return false;
  clock_->now = std::max(clock_->now, next->due);
  // Schedule the following tick first, so a callback that restarts or stops
  // its timer has the last word.
  next->due += static_cast<std::uint64_t>(next->interval);
  ++fired_;
  ++depth_;
  std::shared_ptr<Entry> keep = next;  // the callback may destroy its timer
  if (keep->onTick) keep->onTick();
  --depth_;
  return true;
}

void VirtualTimerService::Sweep() {
  if (depth_ > 0) return;
  std::erase_if(entries_, [](const auto& e) { return !e->alive; });
}

void VirtualTimerService::AdvanceBy(int ms) {
  const std::uint64_t target = clock_->now + static_cast<std::uint64_t>(std::max(ms, 0));
  while (FireNext(target)) {}
  clock_->now = std::max(clock_->now, target);
  Sweep();
}

bool VirtualTimerService::AdvanceUntil(const std::function<bool()>& done, int limitMs) {
  const std::uint64_t target = clock_->now + static_cast<std::uint64_t>(std::max(limitMs, 0));
  while (!done()) {
    if (!FireNext(target)) {
      clock_->now = std::max(clock_->now, target);
      break;
    }
  }
  Sweep();
  return done();
}

ScopedVirtualTime::ScopedVirtualTime(std::uint32_t startTick)
    : VirtualTimerService(startTick),
      previousService_(SetTimerService(this)),
      previousCounter_(SetTickCounter(this)) {}

ScopedVirtualTime::~ScopedVirtualTime() {
  SetTimerService(previousService_);
  SetTickCounter(previousCounter_);
}

}  // namespace platform
