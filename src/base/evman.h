// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The event bus. User-interface objects do not hold pointers to each other;
// they talk by numbered events (base/events.h) that every subscriber
// receives, each picking out the numbers that concern it. An event is sent
// (delivered before the call returns), posted (delivered on the next 10 ms
// tick, so a handler never runs inside the code that caused it) or asked
// (delivered at once, and the receivers may reply).
//
// Everything runs on the user-interface thread; there are no locks.
// Subscribers unsubscribe in their destructors with the same (callback,
// context) pair, and all of them go before the bus.

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

#include "base/events.h"
#include "base/task.h"

// One event as handed to the subscribers; owned by the bus.
struct cmcEvent {
  int type = 0;
  int mode = kEvModeSent;
  // Wide enough for a pointer, since some events carry an object here.
  std::intptr_t first = 0;
  std::intptr_t second = 0;
  // An owned copy of the sender's block; a text carries its terminating
  // zero, so its length is the text length plus 1. Empty when none.
  std::vector<std::uint8_t> data;

  bool HasData() const { return !data.empty(); }
  int Length() const { return static_cast<int>(data.size()); }
  // The data as text, up to its terminating zero ("" when none).
  std::string Text() const;
  template <class T>
  T* FirstAs() const { return reinterpret_cast<T*>(first); }
  template <class T>
  T* SecondAs() const { return reinterpret_cast<T*>(second); }
};

// One answer to an ask. Answers of one ask form a list in reply order.
class cmcEvAns {
 public:
  int Value() const { return value_; }
  std::intptr_t Argument() const { return argument_; }
  const std::vector<std::uint8_t>& Data() const { return data_; }
  int Length() const { return static_cast<int>(data_.size()); }
  const cmcEvAns* Next() const { return next_; }
  const cmcEvAns* Prev() const { return prev_; }

 private:
  friend class cmcEvMan;
  int value_ = 0;
  std::intptr_t argument_ = 0;
  std::vector<std::uint8_t> data_;
  cmcEvAns* next_ = nullptr;
  cmcEvAns* prev_ = nullptr;
  cmcEvAns* level_ = nullptr;  // the enclosing answer level
  cmcEvAns* first_ = nullptr;  // first answer of an ask made at this level
};

class cmcEvMan {
 public:
  using Callback = void (*)(void* context, const cmcEvent& event);

  // Delivery interval of posted events.
  static constexpr int kTickMs = 10;

  // Starts the delivery task on the timer service installed now.
  cmcEvMan();
  // Queued events are dropped undelivered.
  ~cmcEvMan();
  cmcEvMan(const cmcEvMan&) = delete;
  cmcEvMan& operator=(const cmcEvMan&) = delete;

  // A pair subscribed again moves to the front (the older subscription is
  // removed). A null callback is ignored.
  void Subscribe(Callback callback, void* context);
  // Removes every subscription of the pair; it is not called again, even
  // by a delivery already under way.
  void Unsubscribe(Callback callback, void* context);

  void Send(int type, std::intptr_t first, std::intptr_t second);
  void SendText(int type, std::intptr_t first, std::intptr_t second, std::string_view text);
  void Post(int type, std::intptr_t first, std::intptr_t second);
  void PostText(int type, std::intptr_t first, std::intptr_t second, std::string_view text);
  // Delivers at once and returns the first answer (its Next() leads to the
  // others), or nullptr when nobody replied. The answers stay valid until
  // the next ask at the same level or the end of the bus.
  const cmcEvAns* Ask(int type, std::intptr_t first, std::intptr_t second);
  // Answers the ask being delivered with value 0, argument 0 and a copy of
  // the block. Ignored when no ask is being delivered.
  void Reply(const void* data, int length);
  // The same with a value and an argument of the replier's choice.
  void Reply(int value, std::intptr_t argument, const void* data, int length);

  // Adapts a member function to a subscription callback:
  //   bus.Subscribe(&cmcEvMan::Member<Sheet, &Sheet::OnEvent>, this);
  template <class T, void (T::*Method)(const cmcEvent&)>
  static void Member(void* context, const cmcEvent& event) {
    (static_cast<T*>(context)->*Method)(event);
  }

  // Subscriptions not removed.
  int SubscriberCount() const;
  // Posted events not yet delivered.
  int QueuedCount() const { return static_cast<int>(queue_.size()); }

 private:
  struct Subscription {
    Callback callback;
    void* context;
    bool removed;
  };
  struct QueueEntry {
    cmcEvent event;
    bool isNew;
    bool delivered;
  };

  static void OnTick(void* context, cmcTask* task);
  void Tick();
  void Deliver(const cmcEvent& event);
  void Enqueue(cmcEvent&& event);
  void FreeRemoved();
  static void FreeAnswers(cmcEvAns* first);

  std::list<Subscription> subscriptions_;  // most recent first
  std::list<QueueEntry> queue_;            // in posting order
  cmcEvAns* root_;
  cmcEvAns* current_;
  int walking_ = 0;   // deliveries under way (handlers may nest them)
  int asking_ = 0;    // asks under way
  cmcTaskPtr task_;
};

// The one bus of the process, set by start-up.
extern cmcEvMan* gEvMan;
