// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/tick.h"

#include <gtest/gtest.h>

#include "platform/virtual_timer_service.h"

namespace {

TEST(Tick, CountsDownAndStopsWhenDue) {
  platform::ScopedVirtualTime time(1000);
  cmcTick tick;
  EXPECT_EQ(tick.Remaining(), 0u);  // never started
  tick.Start(250);
  EXPECT_TRUE(tick.IsRunning());
  EXPECT_EQ(tick.Remaining(), 250u);
  time.AdvanceBy(249);
  EXPECT_EQ(tick.Remaining(), 1u);
  time.AdvanceBy(1);
  EXPECT_EQ(tick.Remaining(), 0u);
  EXPECT_FALSE(tick.IsRunning());
  time.AdvanceBy(0xFFFFFFF0u / 2);  // far later: still stopped, not counting again
  EXPECT_EQ(tick.Remaining(), 0u);
}

TEST(Tick, AcrossTheCounterWrap) {
  struct Case {
    std::uint32_t start;
    int advance;
    std::uint32_t remaining;
  };
  // Across the wrap the elapsed span is counted 2 ms short of the true span.
  const Case cases[] = {
      {0xFFFFFFF0u, 15, 985},  // not yet wrapped: plain difference
      {0xFFFFFFF0u, 16, 986},  // now 0: elapsed 0xFFFFFFFF - 0xFFFFFFF1 = 14
      {0xFFFFFFF0u, 32, 970},  // now 16: elapsed 30
      {0xFFFFFFF0u, 1001, 1},  // elapsed 999
      {0xFFFFFFF0u, 1002, 0},
  };
  for (const Case& c : cases) {
    platform::ScopedVirtualTime time(c.start);
    cmcTick tick;
    tick.Start(1000);
    time.AdvanceBy(c.advance);
    EXPECT_EQ(tick.Remaining(), c.remaining) << "advance " << c.advance;
  }
}

TEST(Tick, ZeroDurationIsDueAtOnce) {
  platform::ScopedVirtualTime time;
  cmcTick tick;
  tick.Start(0);
  EXPECT_EQ(tick.Remaining(), 0u);
  EXPECT_FALSE(tick.IsRunning());
}

}  // namespace
