// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/evman.h"

#include <algorithm>

cmcEvMan::cmcEvMan() : task_(MakeTask()) {
  task_->SetCallback([this](cmcTask*) { Tick(); });
  task_->SetInterval(kTickMs);
}

cmcEvMan::~cmcEvMan() {
  task_.reset();
  queue_.clear();
  subscriptions_.clear();
}

void cmcEvMan::Add(int number, const void* owner, std::function<void(const void*)> call) {
  for (Subscription& s : subscriptions_) {
    if (s.number == number && s.owner == owner) s.removed = true;
  }
  subscriptions_.push_front({number, owner, std::move(call), false});
}

void cmcEvMan::Unsubscribe(const void* owner) {
  for (Subscription& s : subscriptions_) {
    if (s.owner == owner) s.removed = true;
  }
}

int cmcEvMan::SubscriberCount() const {
  return static_cast<int>(std::count_if(subscriptions_.begin(), subscriptions_.end(),
                                        [](const Subscription& s) { return !s.removed; }));
}

void cmcEvMan::Deliver(int number, const void* event) {
  // New subscriptions go in before begin(), so they are not reached by this
  // walk; list iterators survive those insertions, and nothing is erased
  // while any walk is under way.
  ++walking_;
  for (auto it = subscriptions_.begin(); it != subscriptions_.end(); ++it) {
    if (!it->removed && it->number == number) it->call(event);
  }
  --walking_;
}

void cmcEvMan::Enqueue(std::function<void()> deliver) {
  queue_.push_back({std::move(deliver), true, false});
}

void cmcEvMan::Tick() {
  for (QueueEntry& entry : queue_) entry.isNew = false;
  // Events posted from the handlers are appended as new and wait for the
  // next tick; appending leaves the walk's iterator valid.
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (it->isNew || it->delivered) continue;
    it->delivered = true;
    it->deliver();
  }
  std::erase_if(queue_, [](const QueueEntry& e) { return e.delivered; });
  FreeRemoved();
}

void cmcEvMan::FreeRemoved() {
  // A handler of a sent event may run a modal loop in which this tick
  // comes; the interrupted walk still stands on its subscription, so
  // removed subscriptions wait until no walk is under way.
  if (walking_ > 0) return;
  std::erase_if(subscriptions_, [](const Subscription& s) { return s.removed; });
}
