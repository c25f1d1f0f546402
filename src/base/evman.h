// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The event bus. User-interface objects do not hold pointers to each other;
// they talk by events (base/events.h), each a small struct with a fixed
// number. A handler subscribes to one event struct and receives only that
// event. An event is sent (delivered before the call returns), posted
// (delivered on the next 10 ms tick, so a handler never runs inside the code
// that caused it) or asked (delivered at once, and the handlers may reply).
//
// The handlers of one event are called most recent subscription first.
// Everything runs on the user-interface thread; there are no locks. The
// bus is made once at start-up and handed by reference to what talks over
// it. Subscribers unsubscribe in their destructors, and all of them go
// before the bus.

#include <functional>
#include <list>
#include <utility>
#include <vector>

#include "base/events.h"
#include "base/task.h"

class cmcEvMan {
 public:
  // Delivery interval of posted events.
  static constexpr int kTickMs = 10;

  // Starts the delivery task on the timer service installed now.
  cmcEvMan();
  // Queued events are dropped undelivered.
  ~cmcEvMan();
  cmcEvMan(const cmcEvMan&) = delete;
  cmcEvMan& operator=(const cmcEvMan&) = delete;

  // Calls handler with every event E from now on. owner names the
  // subscriber for Unsubscribe; the same owner subscribing to E again moves
  // to the front (its older subscription to E is removed). An empty handler
  // is ignored.
  template <class E>
  void Subscribe(const void* owner, std::function<void(const E&)> handler) {
    if (!handler) return;
    Add(E::kNumber, owner,
        [h = std::move(handler)](const void* event) { h(*static_cast<const E*>(event)); });
  }
  // Removes every subscription of owner; none of them is called again, even
  // by a delivery already under way.
  void Unsubscribe(const void* owner);

  template <class E>
  void Send(const E& event) {
    Deliver(E::kNumber, &event);
  }
  // The bus keeps its own copy until delivery.
  template <class E>
  void Post(E event) {
    Enqueue([this, e = std::move(event)] { Deliver(E::kNumber, &e); });
  }
  // Delivers at once and returns the answers in reply order (none when
  // nobody replied).
  template <class E>
  std::vector<typename E::Answer> Ask(const E& event) {
    std::vector<typename E::Answer> answers;
    AskFrame frame(*this, E::kNumber, &answers);
    Deliver(E::kNumber, &event);
    return answers;
  }
  // Answers the innermost ask under way when it is an ask of E; ignored
  // otherwise.
  template <class E>
  void Reply(typename E::Answer answer) {
    if (asks_.empty() || asks_.back().number != E::kNumber) return;
    static_cast<std::vector<typename E::Answer>*>(asks_.back().answers)
        ->push_back(std::move(answer));
  }

  // Subscriptions not removed (one per owner and event).
  int SubscriberCount() const;
  // Posted events not yet delivered.
  int QueuedCount() const { return static_cast<int>(queue_.size()); }

 private:
  struct Subscription {
    int number;
    const void* owner;
    std::function<void(const void*)> call;
    bool removed;
  };
  struct QueueEntry {
    std::function<void()> deliver;
    bool isNew;
    bool delivered;
  };
  struct OpenAsk {
    int number;
    void* answers;  // the std::vector of the asked event's answers
  };
  // Keeps an ask on the stack of asks for the length of its delivery.
  class AskFrame {
   public:
    AskFrame(cmcEvMan& bus, int number, void* answers) : bus_(bus) {
      bus_.asks_.push_back({number, answers});
    }
    ~AskFrame() { bus_.asks_.pop_back(); }
    AskFrame(const AskFrame&) = delete;
    AskFrame& operator=(const AskFrame&) = delete;

   private:
    cmcEvMan& bus_;
  };

  void Add(int number, const void* owner, std::function<void(const void*)> call);
  void Deliver(int number, const void* event);
  void Enqueue(std::function<void()> deliver);
  void Tick();
  void FreeRemoved();

  std::list<Subscription> subscriptions_;  // most recent first
  std::list<QueueEntry> queue_;            // in posting order
  std::vector<OpenAsk> asks_;              // innermost last
  int walking_ = 0;                        // deliveries under way (handlers may nest them)
  cmcTaskPtr task_;
};
