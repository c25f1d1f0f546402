// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual-time scheduler that the tests of the bus, the port and the
// protocol driver run on: its order of ticks is what those tests rely on.
#include <gtest/gtest.h>

#include <string>

#include "platform/tick_counter.h"
#include "platform/virtual_timer_service.h"

namespace {

TEST(VirtualTime, TicksFireInTimeOrderThenStartOrder) {
  platform::ScopedVirtualTime time;
  std::string log;
  auto a =
      platform::Timers().CreateTimer([&] { log += "a" + std::to_string(time.Elapsed()) + " "; });
  auto b =
      platform::Timers().CreateTimer([&] { log += "b" + std::to_string(time.Elapsed()) + " "; });
  b->Start(10);
  a->Start(10);  // same period, started later: after b at equal moments
  auto c =
      platform::Timers().CreateTimer([&] { log += "c" + std::to_string(time.Elapsed()) + " "; });
  c->Start(15);
  time.AdvanceBy(30);
  EXPECT_EQ(log, "b10 a10 c15 b20 a20 b30 a30 c30 ");
  EXPECT_EQ(platform::TickCount(), 30u);
}

TEST(VirtualTime, CallbacksMayStartStopAndDestroyTimers) {
  platform::ScopedVirtualTime time;
  std::string log;
  std::unique_ptr<platform::Timer> late;
  std::unique_ptr<platform::Timer> self;
  late =
      platform::Timers().CreateTimer([&] { log += "late" + std::to_string(time.Elapsed()) + " "; });
  self = platform::Timers().CreateTimer([&] {
    log += "self" + std::to_string(time.Elapsed()) + " ";
    late->Start(3);  // due within the same advance
    self.reset();    // a timer freed from its own tick
  });
  self->Start(5);
  time.AdvanceBy(20);
  EXPECT_EQ(log, "self5 late8 late11 late14 late17 late20 ");
  EXPECT_EQ(time.LiveCount(), 1);
}

TEST(VirtualTime, AdvanceUntilStopsAtTheTickThatSatisfies) {
  platform::ScopedVirtualTime time(0xFFFFFFFEu);
  int ticks = 0;
  auto t = platform::Timers().CreateTimer([&] { ++ticks; });
  t->Start(10);
  EXPECT_TRUE(time.AdvanceUntil([&] { return ticks == 3; }, 1000));
  EXPECT_EQ(time.Elapsed(), 30u);
  EXPECT_EQ(platform::TickCount(), 28u);  // wrapped at 32 bits
  EXPECT_FALSE(time.AdvanceUntil([&] { return ticks == 100; }, 95));
  EXPECT_EQ(time.Elapsed(), 125u);
  EXPECT_EQ(ticks, 12);
}

TEST(VirtualTime, TimerOutlivingItsServiceNeverFires) {
  int ticks = 0;
  std::unique_ptr<platform::Timer> t;
  {
    platform::ScopedVirtualTime time;
    t = platform::Timers().CreateTimer([&] { ++ticks; });
    t->Start(1);
  }
  t->Start(1);
  EXPECT_FALSE(t->IsActive());
  platform::ScopedVirtualTime other;
  other.AdvanceBy(10);
  EXPECT_EQ(ticks, 0);
}

TEST(VirtualTime, ScopesRestoreWhatWasInstalledBefore) {
  platform::ScopedVirtualTime outer(1000);
  {
    platform::ScopedVirtualTime inner(5);
    EXPECT_EQ(platform::TickCount(), 5u);
    EXPECT_EQ(&platform::Timers(), &inner);
  }
  EXPECT_EQ(platform::TickCount(), 1000u);
  EXPECT_EQ(&platform::Timers(), &outer);
}

}  // namespace
