// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/steady_loop.h"

#include <algorithm>
#include <thread>

namespace platform {

struct SteadyLoop::Entry {
  std::function<void()> onTick;
  bool alive = true;
  bool active = false;
  bool finalTick = false;
  int interval = 0;
  Clock::time_point due;
  std::uint64_t startSeq = 0;
};

namespace {

// Holds only shared state, so it may outlive the loop.
class SteadyTimer : public Timer {
 public:
  SteadyTimer(std::shared_ptr<SteadyLoop::Entry> entry, std::shared_ptr<std::uint64_t> startSeq)
      : entry_(std::move(entry)), startSeq_(std::move(startSeq)) {}
  ~SteadyTimer() override {
    entry_->alive = false;
    entry_->active = false;
  }
  void Start(int intervalMs) override {
    entry_->interval = std::max(intervalMs, 1);
    entry_->active = true;
    entry_->due = SteadyLoop::Clock::now() + std::chrono::milliseconds(entry_->interval);
    entry_->startSeq = ++*startSeq_;
  }
  void Stop() override { entry_->active = false; }
  bool IsActive() const override { return entry_->active; }
  int Interval() const override { return entry_->interval; }
  void SetFinalTick(bool on) override { entry_->finalTick = on; }

 private:
  std::shared_ptr<SteadyLoop::Entry> entry_;
  std::shared_ptr<std::uint64_t> startSeq_;
};

}  // namespace

SteadyLoop::SteadyLoop() : startSeq_(std::make_shared<std::uint64_t>(0)) {}

SteadyLoop::~SteadyLoop() {
  const auto entries = entries_;
  for (const auto& e : entries) {
    if (e->alive && e->active && e->finalTick && e->onTick) e->onTick();
  }
  for (auto& e : entries_) e->active = false;
}

std::unique_ptr<Timer> SteadyLoop::CreateTimer(std::function<void()> onTick) {
  if (depth_ == 0) std::erase_if(entries_, [](const auto& e) { return !e->alive; });
  auto entry = std::make_shared<Entry>();
  entry->onTick = std::move(onTick);
  entries_.push_back(entry);
  return std::make_unique<SteadyTimer>(entry, startSeq_);
}

SteadyLoop::Clock::time_point SteadyLoop::FireDue(Clock::time_point now) {
  std::vector<std::shared_ptr<Entry>> due;
  for (const auto& e : entries_) {
    if (e->alive && e->active && e->due <= now) due.push_back(e);
  }
  std::sort(due.begin(), due.end(), [](const auto& a, const auto& b) {
    return a->due != b->due ? a->due < b->due : a->startSeq < b->startSeq;
  });
  ++depth_;
  for (const auto& e : due) {
    if (quit_) break;
    // A callback before this one may have stopped or restarted the timer.
    if (!e->alive || !e->active || e->due > now) continue;
    // The next tick is set first, so a callback that restarts or stops its
    // timer has the last word.
    e->due = std::max(e->due + std::chrono::milliseconds(e->interval), now);
    if (e->onTick) e->onTick();
  }
  --depth_;
  Clock::time_point next = Clock::time_point::max();
  for (const auto& e : entries_) {
    if (e->alive && e->active) next = std::min(next, e->due);
  }
  return next;
}

void SteadyLoop::Run() {
  quit_ = false;
  while (!quit_) {
    const Clock::time_point next = FireDue(Clock::now());
    if (quit_) break;
    // Wake at least every 50 ms, so that a timer started from outside a
    // tick is never slept past for long.
    const Clock::time_point wake = std::min(next, Clock::now() + std::chrono::milliseconds(50));
    std::this_thread::sleep_until(wake);
  }
  quit_ = false;
}

}  // namespace platform
