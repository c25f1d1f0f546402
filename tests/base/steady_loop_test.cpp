// SPDX-License-Identifier: GPL-3.0-or-later
// The steady-clock loop that runs the timers of a program without Qt.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/steady_loop.h"

namespace {

using namespace std::chrono_literals;
using platform::SteadyLoop;

TEST(SteadyLoop, FiresDueTicksInOrderAndSkipsMissedOnes) {
  SteadyLoop loop;
  std::string log;
  auto a = loop.CreateTimer([&] { log += "a"; });
  auto b = loop.CreateTimer([&] { log += "b"; });
  auto idle = loop.CreateTimer([&] { log += "x"; });
  auto late = loop.CreateTimer([&] { log += "l"; });
  b->Start(10);
  a->Start(10);  // due no earlier than b: after it
  late->Start(60 * 1000);
  idle->Start(10);
  idle->Stop();
  const auto start = SteadyLoop::Clock::now();
  EXPECT_LE(loop.FireDue(start), start + 10ms);  // nothing due yet; b's tick is next
  EXPECT_EQ(log, "");
  // A whole second late: each running timer ticks once, not a hundred times.
  const auto next = loop.FireDue(start + 1s);
  EXPECT_EQ(log, "ba");
  EXPECT_GE(next, start + 1s);
  EXPECT_LE(next, start + 1s + 10ms);
  EXPECT_TRUE(a->IsActive());
  EXPECT_FALSE(idle->IsActive());
}

TEST(SteadyLoop, RunsUntilATickQuitsAndSurvivesTimersFreedInTheirTick) {
  SteadyLoop loop;
  int ticks = 0;
  std::unique_ptr<platform::Timer> once;
  once = loop.CreateTimer([&] { once.reset(); });
  once->Start(1);
  auto counter = loop.CreateTimer([&] {
    if (++ticks == 3) loop.Quit();
  });
  counter->Start(5);
  const auto start = SteadyLoop::Clock::now();
  loop.Run();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(once, nullptr);
  EXPECT_GE(SteadyLoop::Clock::now() - start, 15ms);
}

TEST(SteadyLoop, GivesTheFinalTickToRunningTimersThatAskForIt) {
  std::string log;
  std::unique_ptr<platform::Timer> asking;
  std::unique_ptr<platform::Timer> quiet;
  {
    SteadyLoop loop;
    asking = loop.CreateTimer([&] { log += "final"; });
    quiet = loop.CreateTimer([&] { log += "quiet"; });
    asking->SetFinalTick(true);
    asking->Start(1000);
    quiet->Start(1000);
  }
  EXPECT_EQ(log, "final");
  EXPECT_FALSE(asking->IsActive());  // the timers outlive the loop, stopped
}

}  // namespace
