// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/evman.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/virtual_timer_service.h"

namespace {

// A subscriber that logs "name:type" for every event and then runs
// whatever the scenario gave it to do for that event.
struct Sub {
  std::string name;
  std::string* log;
  std::function<void(const cmcEvent&)> react;

  static void OnEvent(void* context, const cmcEvent& e) {
    auto* self = static_cast<Sub*>(context);
    *self->log += self->name + ":" + std::to_string(e.type) + " ";
    if (self->react) self->react(e);
  }
};

struct Harness {
  platform::ScopedVirtualTime time;
  std::string log;
  std::unique_ptr<cmcEvMan> bus = std::make_unique<cmcEvMan>();
  Sub a{"a", &log, {}}, b{"b", &log, {}}, c{"c", &log, {}};

  void Subscribe(Sub& s) { bus->Subscribe(&Sub::OnEvent, &s); }
  void Unsubscribe(Sub& s) { bus->Unsubscribe(&Sub::OnEvent, &s); }
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
       h.bus->Send(kEvRefreshMenus, 0, 0);
     },
     "c:9 b:9 a:9 "},
    {"unsubscribed during delivery is not called for it",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Subscribe(h.b);
       h.b.react = [&h](const cmcEvent&) { h.Unsubscribe(h.a); };
       h.bus->Send(kEvRefreshMenus, 0, 0);
       h.Mark("tick");
       h.time.AdvanceBy(10);  // the removed subscription is freed here
       h.bus->Send(kEvRefreshToolBar, 0, 0);
     },
     "b:9 | tick b:20 "},
    {"subscribed during delivery waits for the next event",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.a.react = [&h](const cmcEvent&) {
         h.Subscribe(h.b);
         h.a.react = nullptr;
       };
       h.bus->Send(kEvRefreshMenus, 0, 0);
       h.bus->Send(kEvRefreshToolBar, 0, 0);
     },
     "a:9 b:20 a:20 "},
    {"subscribing twice leaves one, at the front",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Subscribe(h.b);
       h.Subscribe(h.a);
       h.bus->Send(kEvRefreshMenus, 0, 0);
     },
     "a:9 b:9 "},
    {"unsubscribe then subscribe again",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.Unsubscribe(h.a);
       h.bus->Send(kEvRefreshMenus, 0, 0);
       h.Subscribe(h.a);
       h.bus->Send(kEvRefreshToolBar, 0, 0);
     },
     "a:20 "},
    {"posted events wait for the tick and keep their order",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.bus->Post(kEvRedrawAllCells, 0, 0);
       h.bus->Post(kEvShowAbout, 0, 0);
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
       h.a.react = [&h](const cmcEvent& e) {
         if (e.type == kEvRedrawAllCells) h.bus->Post(kEvRedrawCellsOfNumber, 0, 7);
       };
       h.bus->Post(kEvRedrawAllCells, 0, 0);
       h.time.AdvanceBy(10);
       h.Mark("next");
       h.time.AdvanceBy(10);
     },
     "a:13 | next a:16 "},
    {"a tick during a tick's delivery is skipped",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.a.react = [&h](const cmcEvent& e) {
         if (e.type != kEvShowAbout) return;
         // A handler that shows a modal dialog lets timer ticks through.
         h.bus->Post(kEvRedrawAllCells, 0, 0);
         h.Mark("modal");
         h.time.AdvanceBy(30);
         h.Mark("closed");
       };
       h.bus->Post(kEvShowAbout, 0, 0);
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
       h.b.react = [&h](const cmcEvent& e) {
         if (e.type != kEvCommitEditor) return;
         h.Unsubscribe(h.a);
         h.time.AdvanceBy(20);  // the bus ticks while the walk stands on b
       };
       h.bus->Send(kEvCommitEditor, 0, 0);
       h.bus->Send(kEvRefreshMenus, 0, 0);
     },
     "c:21 b:21 c:9 b:9 "},
    {"destroying the bus drops queued events",
     [](Harness& h) {
       h.Subscribe(h.a);
       h.bus->Post(kEvRedrawAllCells, 0, 0);
       h.bus->PostText(kEvStatusText, 0, 0, "queued");
       h.bus.reset();
       h.Mark("gone");
       h.time.AdvanceBy(100);
     },
     "| gone "},
    {"a null callback is ignored",
     [](Harness& h) {
       h.bus->Subscribe(nullptr, &h.a);
       h.bus->Send(kEvRefreshMenus, 0, 0);
       h.log += std::to_string(h.bus->SubscriberCount());
     },
     "0"},
};

TEST(EvMan, DeliveryScenarios) {
  for (const Scenario& s : kScenarios) {
    Harness h;
    s.run(h);
    EXPECT_EQ(h.log, s.expect) << s.name;
    if (h.bus) {
      h.Unsubscribe(h.a);
      h.Unsubscribe(h.b);
      h.Unsubscribe(h.c);
    }
  }
}

TEST(EvMan, EventsCarryTheirArgumentsAndAnOwnedTextCopy) {
  Harness h;
  std::vector<cmcEvent> seen;
  h.Subscribe(h.a);
  h.a.react = [&seen](const cmcEvent& e) { seen.push_back(e); };
  int object = 0;
  {
    std::string text = "Ready";
    h.bus->SendText(kEvStatusText, 0x0000FF, 0xFFFFFF, text);
    h.bus->PostText(kEvStatusText, 1, 2, text);
    text = "changed";  // the bus holds its own copy
  }
  h.bus->Send(kEvSheetDestroyed, 0, reinterpret_cast<std::intptr_t>(&object));
  h.time.AdvanceBy(10);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].mode, kEvModeSent);
  EXPECT_EQ(seen[0].first, 0x0000FF);
  EXPECT_EQ(seen[0].second, 0xFFFFFF);
  EXPECT_EQ(seen[0].Text(), "Ready");
  EXPECT_EQ(seen[0].Length(), 6);  // with the terminating zero
  EXPECT_EQ(seen[1].SecondAs<int>(), &object);
  EXPECT_FALSE(seen[1].HasData());
  EXPECT_EQ(seen[2].mode, kEvModePosted);
  EXPECT_EQ(seen[2].Text(), "Ready");
  h.Unsubscribe(h.a);
}

TEST(EvMan, AskCollectsRepliesInOrder) {
  Harness h;
  h.Subscribe(h.a);
  h.Subscribe(h.b);
  h.Subscribe(h.c);
  int root = 0;

  // Nobody replies.
  EXPECT_EQ(h.bus->Ask(kEvAskCellDefinition, reinterpret_cast<std::intptr_t>(&root), 0), nullptr);

  // Two reply (c is called before a): the first answer is c's.
  h.c.react = [&h, &root](const cmcEvent& e) {
    EXPECT_EQ(e.mode, kEvModeAsked);
    if (e.FirstAs<int>() == &root) h.bus->Reply("C", 2);
  };
  h.a.react = [&h](const cmcEvent&) { h.bus->Reply(5, 6, "A1", 3); };
  const cmcEvAns* first = h.bus->Ask(kEvAskCellDefinition, reinterpret_cast<std::intptr_t>(&root), 0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Value(), 0);
  EXPECT_EQ(first->Argument(), 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(first->Data().data()), "C");
  const cmcEvAns* second = first->Next();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Prev(), first);
  EXPECT_EQ(second->Value(), 5);
  EXPECT_EQ(second->Argument(), 6);
  EXPECT_EQ(second->Length(), 3);
  EXPECT_EQ(second->Next(), nullptr);  // no trailing empty answer

  // A reply outside an ask answers nothing.
  h.c.react = nullptr;
  h.a.react = nullptr;
  h.bus->Reply("x", 1);
  EXPECT_EQ(h.bus->Ask(kEvAskCellDefinition, 0, 0), nullptr);
  for (Sub* s : {&h.a, &h.b, &h.c}) h.Unsubscribe(*s);
}

TEST(EvMan, AskInsideAnAskKeepsBothAnswerLists) {
  Harness h;
  h.Subscribe(h.a);
  h.Subscribe(h.b);
  const cmcEvAns* inner = nullptr;
  // b answers both asks; a, when asked the outer question, first asks the
  // inner one and then answers the outer one itself.
  h.b.react = [&h](const cmcEvent& e) { h.bus->Reply(e.type, 0, nullptr, 0); };
  h.a.react = [&](const cmcEvent& e) {
    if (e.type != 100) return;
    inner = h.bus->Ask(200, 0, 0);
    h.bus->Reply(-1, 0, nullptr, 0);
  };
  const cmcEvAns* outer = h.bus->Ask(100, 0, 0);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(outer->Value(), 100);
  ASSERT_NE(outer->Next(), nullptr);
  EXPECT_EQ(outer->Next()->Value(), -1);
  EXPECT_EQ(outer->Next()->Next(), nullptr);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Value(), 200);
  EXPECT_EQ(inner->Next(), nullptr);
  h.Unsubscribe(h.a);
  h.Unsubscribe(h.b);
}

TEST(EvMan, MemberAdapterCallsTheObject) {
  Harness h;
  struct Sheet {
    int redraws = 0;
    void OnEvent(const cmcEvent& e) {
      if (e.type == kEvRedrawAllCells) ++redraws;
    }
  } sheet;
  h.bus->Subscribe(&cmcEvMan::Member<Sheet, &Sheet::OnEvent>, &sheet);
  h.bus->Post(kEvRedrawAllCells, 0, 0);
  h.bus->Send(kEvRedrawAllCells, 0, 0);
  h.time.AdvanceBy(10);
  EXPECT_EQ(sheet.redraws, 2);
  h.bus->Unsubscribe(&cmcEvMan::Member<Sheet, &Sheet::OnEvent>, &sheet);
  EXPECT_EQ(h.bus->SubscriberCount(), 0);
}

}  // namespace
