// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/evman.h"

#include <algorithm>

cmcEvMan* gEvMan = nullptr;

namespace {

std::vector<std::uint8_t> TextBlock(std::string_view text) {
  std::vector<std::uint8_t> block(text.begin(), text.end());
  block.push_back(0);
  return block;
}

cmcEvent MakeEvent(int type, int mode, std::intptr_t first, std::intptr_t second) {
  cmcEvent event;
  event.type = type;
  event.mode = mode;
  event.first = first;
  event.second = second;
  return event;
}

}  // namespace

std::string cmcEvent::Text() const {
  const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
  return std::string(data.begin(), end);
}

cmcEvMan::cmcEvMan() : root_(new cmcEvAns), current_(root_), task_(MakeTask()) {
  task_->SetCallback(&cmcEvMan::OnTick, this);
  task_->SetInterval(kTickMs);
}

cmcEvMan::~cmcEvMan() {
  task_.reset();
  queue_.clear();
  subscriptions_.clear();
  FreeAnswers(root_);
}

void cmcEvMan::Subscribe(Callback callback, void* context) {
  if (callback == nullptr) return;
  for (Subscription& s : subscriptions_) {
    if (s.callback == callback && s.context == context) s.removed = true;
  }
  subscriptions_.push_front({callback, context, false});
}

void cmcEvMan::Unsubscribe(Callback callback, void* context) {
  for (Subscription& s : subscriptions_) {
    if (s.callback == callback && s.context == context) s.removed = true;
  }
}

int cmcEvMan::SubscriberCount() const {
  return static_cast<int>(std::count_if(subscriptions_.begin(), subscriptions_.end(),
                                        [](const Subscription& s) { return !s.removed; }));
}

void cmcEvMan::Deliver(const cmcEvent& event) {
  // New subscriptions go in before begin(), so they are not reached by this
  // walk; list iterators survive those insertions, and nothing is erased
  // while any walk is under way.
  ++walking_;
  for (auto it = subscriptions_.begin(); it != subscriptions_.end(); ++it) {
    if (!it->removed) it->callback(it->context, event);
  }
  --walking_;
}

void cmcEvMan::Send(int type, std::intptr_t first, std::intptr_t second) {
  Deliver(MakeEvent(type, kEvModeSent, first, second));
}

void cmcEvMan::SendText(int type, std::intptr_t first, std::intptr_t second, std::string_view text) {
  cmcEvent event = MakeEvent(type, kEvModeSent, first, second);
  event.data = TextBlock(text);
  Deliver(event);
}

void cmcEvMan::Enqueue(cmcEvent&& event) {
  queue_.push_back({std::move(event), true, false});
}

void cmcEvMan::Post(int type, std::intptr_t first, std::intptr_t second) {
  Enqueue(MakeEvent(type, kEvModePosted, first, second));
}

void cmcEvMan::PostText(int type, std::intptr_t first, std::intptr_t second, std::string_view text) {
  cmcEvent event = MakeEvent(type, kEvModePosted, first, second);
  event.data = TextBlock(text);
  Enqueue(std::move(event));
}

const cmcEvAns* cmcEvMan::Ask(int type, std::intptr_t first, std::intptr_t second) {
  cmcEvAns* level = current_;
  FreeAnswers(level->first_);
  level->first_ = nullptr;

  auto* slot = new cmcEvAns;
  slot->level_ = level;
  level->first_ = slot;
  current_ = slot;

  ++asking_;
  Deliver(MakeEvent(type, kEvModeAsked, first, second));
  --asking_;

  // current_ is now the empty slot after the last reply.
  cmcEvAns* trailing = current_;
  if (trailing->prev_ != nullptr) {
    trailing->prev_->next_ = nullptr;
  } else {
    level->first_ = nullptr;
  }
  trailing->prev_ = nullptr;
  FreeAnswers(trailing);
  current_ = level;
  return level->first_;
}

void cmcEvMan::Reply(const void* data, int length) { Reply(0, 0, data, length); }

void cmcEvMan::Reply(int value, std::intptr_t argument, const void* data, int length) {
  // Outside an ask the current level is the root, which is no answer slot.
  if (asking_ == 0 || current_ == root_) return;
  cmcEvAns* slot = current_;
  slot->value_ = value;
  slot->argument_ = argument;
  if (data != nullptr && length > 0) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    slot->data_.assign(bytes, bytes + length);
  }
  auto* fresh = new cmcEvAns;
  fresh->prev_ = slot;
  fresh->level_ = slot->level_;
  slot->next_ = fresh;
  current_ = fresh;
}

void cmcEvMan::FreeAnswers(cmcEvAns* first) {
  while (first != nullptr) {
    cmcEvAns* next = first->next_;
    FreeAnswers(first->first_);  // answers of asks nested inside this one
    delete first;
    first = next;
  }
}

void cmcEvMan::OnTick(void* context, cmcTask*) { static_cast<cmcEvMan*>(context)->Tick(); }

void cmcEvMan::Tick() {
  for (QueueEntry& entry : queue_) entry.isNew = false;
  // Events posted from the handlers are appended as new and wait for the
  // next tick; appending leaves the walk's iterator valid.
  for (auto it = queue_.begin(); it != queue_.end(); ++it) {
    if (it->isNew || it->delivered) continue;
    it->delivered = true;
    Deliver(it->event);
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
