// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/evman.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/virtual_timer_service.h"

namespace {

// A subscriber that logs "name:number" for every event of the scenarios
// and then runs whatever the scenario gave it to do for that event.
struct Sub {
  std::string name;
  std::string* log;
  std::function<void(int number)> react;

  template <class E>
  void Subscribe(cmcEvMan& bus) {
    bus.Subscribe<E>(this, [this](const E&) {
      *log += name + ":" + std::to_string(E::kNumber) + " ";
      if (react) react(E::kNumber);
    });
  }
};

struct Harness {
  platform::ScopedVirtualTime time;
  std::string log;
  std::unique_ptr<cmcEvMan> bus = std::make_unique<cmcEvMan>();
  Sub a{"a", &log, {}}, b{"b", &log, {}}, c{"c", &log, {}};

  void Subscribe(Sub& s) {
    s.Subscribe<ev::ShowAbout>(*bus);
    s.Subscribe<ev::RefreshMenus>(*bus);
    s.Subscribe<ev::RedrawAllCells>(*bus);
    s.Subscribe<ev::RedrawCellsOfNumber>(*bus);
    s.Subscribe<ev::RefreshToolBar>(*bus);
    s.Subscribe<ev::CommitEditor>(*bus);
  }
  void Unsubscribe(Sub& s) { bus->Unsubscribe(&s); }
  void Mark(const char* text) { log += std::string("| ") + text + " "; }
};

struct Scenario {
  const char* name;
  std::function<void(Harness&)> run;
  const char* expect;
};

const Scenario kScenarios[] = {
    {"most recent subscriber first",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Subscribe(h.b);
       h.Subscribe(h.c);
       h.bus->Send(ev::RefreshMenus{});
     },
     "c:9 b:9 a:9 "},
    {"each event reaches only its own handlers",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.c.Subscribe<ev::RefreshToolBar>(*h.bus);
       h.bus->Send(ev::RefreshMenus{});
       h.bus->Send(ev::RefreshToolBar{});
       h.bus->Send(ev::StatusText{});  // nobody subscribed to it
     },
     "a:9 c:20 a:20 "},
    {"unsubscribed during delivery is not called for it",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Subscribe(h.b);
       h.b.react = [&h](int) { h.Unsubscribe(h.a); };
       h.bus->Send(ev::RefreshMenus{});
       h.Mark("tick");
       h.time.AdvanceBy(10);  // the removed subscriptions are freed here
       h.bus->Send(ev::RefreshToolBar{});
     },
     "b:9 | tick b:20 "},
    {"subscribed during delivery waits for the next event",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.a.react = [&h](int) {
         h.Subscribe(h.b);
         h.a.react = nullptr;
       };
       h.bus->Send(ev::RefreshMenus{});
       h.bus->Send(ev::RefreshToolBar{});
     },
     "a:9 b:20 a:20 "},
    {"subscribing twice leaves one, at the front",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Subscribe(h.b);
       h.Subscribe(h.a);
       h.bus->Send(ev::RefreshMenus{});
     },
     "a:9 b:9 "},
    {"unsubscribe then subscribe again",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Unsubscribe(h.a);
       h.bus->Send(ev::RefreshMenus{});
       h.Subscribe(h.a);
       h.bus->Send(ev::RefreshToolBar{});
     },
     "a:20 "},
    {"posted events wait for the tick and keep their order",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.bus->Post(ev::RedrawAllCells{});
       h.bus->Post(ev::ShowAbout{});
       h.Mark("9ms");
       h.time.AdvanceBy(9);
       h.Mark("10ms");
       h.time.AdvanceBy(1);
       h.Mark("later");
       h.time.AdvanceBy(50);
     },
     "| 9ms | 10ms a:13 a:3 | later "},
    {"posted from a handler during a tick lands on the next tick",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.a.react = [&h](int number) {
         if (number == ev::RedrawAllCells::kNumber) h.bus->Post(ev::RedrawCellsOfNumber{7});
       };
       h.bus->Post(ev::RedrawAllCells{});
       h.time.AdvanceBy(10);
       h.Mark("next");
       h.time.AdvanceBy(10);
     },
     "a:13 | next a:16 "},
    {"a tick during a tick's delivery is skipped",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.a.react = [&h](int number) {
         if (number != ev::ShowAbout::kNumber) return;
         // A handler that shows a modal dialog lets timer ticks through.
         h.bus->Post(ev::RedrawAllCells{});
         h.Mark("modal");
         h.time.AdvanceBy(30);
         h.Mark("closed");
       };
       h.bus->Post(ev::ShowAbout{});
       h.time.AdvanceBy(10);
       h.Mark("next");
       h.time.AdvanceBy(10);
     },
     "a:3 | modal | closed | next a:13 "},
    {"removed during a modal loop inside a sent event",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Subscribe(h.b);
       h.Subscribe(h.c);
       h.b.react = [&h](int number) {
         if (number != ev::CommitEditor::kNumber) return;
         h.Unsubscribe(h.a);
         h.time.AdvanceBy(20);  // the bus ticks while the walk stands on b
       };
       h.bus->Send(ev::CommitEditor{});
       h.bus->Send(ev::RefreshMenus{});
     },
     "c:21 b:21 c:9 b:9 "},
    {"destroying the bus drops queued events",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.bus->Post(ev::RedrawAllCells{});
       h.bus->Post(ev::ShowAbout{});
       h.bus.reset();
       h.Mark("gone");
       h.time.AdvanceBy(100);
     },
     "| gone "},
    {"an empty handler is ignored",
     [](Harness& h) {
       h.bus->Subscribe<ev::RefreshMenus>(&h.a, nullptr);
       h.bus->Send(ev::RefreshMenus{});
       h.log += std::to_string(h.bus->SubscriberCount());
     },
     "0"},
};

TEST(EvMan, DeliveryScenarios) {
  for (const Scenario& s : kScenarios) {
    SCOPED_TRACE(s.name);
    Harness h;
    s.run(h);
    EXPECT_EQ(h.log, s.expect);
    if (h.bus) {
      h.Unsubscribe(h.a);
      h.Unsubscribe(h.b);
      h.Unsubscribe(h.c);
    }
  }
}

TEST(EvMan, EventsCarryTheirFieldsAndAPostedOneIsACopy) {
  Harness h;
  std::vector<ev::StatusText> seen;
  h.bus->Subscribe<ev::StatusText>(&seen, [&seen](const ev::StatusText& e) { seen.push_back(e); });
  {
    ev::StatusText status{0x0000FF, 0xFFFFFF, "Ready"};
    h.bus->Send(status);
    h.bus->Post(status);
    status.text = "changed";  // the bus holds its own copy
    status.color = 1;
  }
  EXPECT_EQ(seen.size(), 1u);  // the posted one waits for the tick
  h.time.AdvanceBy(10);
  ASSERT_EQ(seen.size(), 2u);
  for (const ev::StatusText& e : seen) {
    EXPECT_EQ(e.color, 0x0000FFu);
    EXPECT_EQ(e.background, 0xFFFFFFu);
    EXPECT_EQ(e.text, "Ready");
  }
  h.bus->Unsubscribe(&seen);
  EXPECT_EQ(h.bus->SubscriberCount(), 0);
}

// Test-only asks: the answer is a number.
struct Outer {
  static constexpr int kNumber = 100;
  using Answer = int;
  const void* root = nullptr;
};
struct Inner {
  static constexpr int kNumber = 200;
  using Answer = int;
};

TEST(EvMan, AskCollectsRepliesInOrder) {
  Harness h;
  int root = 0;
  std::function<void(const Outer&)> a, b, c;
  h.bus->Subscribe<Outer>(&h.a, [&](const Outer& e) {
    if (a) a(e);
  });
  h.bus->Subscribe<Outer>(&h.b, [&](const Outer& e) {
    if (b) b(e);
  });
  h.bus->Subscribe<Outer>(&h.c, [&](const Outer& e) {
    if (c) c(e);
  });

  // Nobody replies.
  EXPECT_TRUE(h.bus->Ask(Outer{&root}).empty());

  // Two reply (c is called before a); a reply to another ask is no answer.
  c = [&](const Outer& e) {
    if (e.root == &root) h.bus->Reply<Outer>(3);
  };
  b = [&](const Outer&) { h.bus->Reply<Inner>(99); };
  a = [&](const Outer&) { h.bus->Reply<Outer>(1); };
  EXPECT_EQ(h.bus->Ask(Outer{&root}), (std::vector<int>{3, 1}));

  // A reply outside an ask answers nothing.
  a = b = c = nullptr;
  h.bus->Reply<Outer>(5);
  EXPECT_TRUE(h.bus->Ask(Outer{}).empty());
  for (Sub* s : {&h.a, &h.b, &h.c}) h.Unsubscribe(*s);
}

TEST(EvMan, AskInsideAnAskKeepsBothAnswerLists) {
  Harness h;
  std::vector<int> inner;
  // b answers both asks; a, when asked the outer question, first asks the
  // inner one and then answers the outer one itself.
  h.bus->Subscribe<Outer>(&h.a, [&](const Outer&) {
    inner = h.bus->Ask(Inner{});
    h.bus->Reply<Outer>(-1);
  });
  h.bus->Subscribe<Outer>(&h.b, [&](const Outer&) { h.bus->Reply<Outer>(100); });
  h.bus->Subscribe<Inner>(&h.b, [&](const Inner&) { h.bus->Reply<Inner>(200); });
  EXPECT_EQ(h.bus->Ask(Outer{}), (std::vector<int>{100, -1}));
  EXPECT_EQ(inner, (std::vector<int>{200}));
  h.Unsubscribe(h.a);
  h.Unsubscribe(h.b);
}

}  // namespace
