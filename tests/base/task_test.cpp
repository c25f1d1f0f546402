// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/task.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/virtual_timer_service.h"

namespace {

struct Counter {
  int calls = 0;
  std::vector<std::uint64_t> at;  // virtual time of each call
};

TEST(Task, IntervalRequestsAsTable) {
  struct Case {
    int interval;
    int callsIn20Ms;
    bool idle;
  };
  const Case cases[] = {
      {-1, 0, true},  {-50, 0, true}, {0, 20, false},  // 0 means every millisecond
      {1, 20, false}, {5, 4, false},  {30, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.interval);
    platform::ScopedVirtualTime time;
    cmcTask task;
    int calls = 0;
    task.SetCallback([&calls](cmcTask*) { ++calls; });
    task.SetInterval(c.interval);
    EXPECT_EQ(task.IsIdle(), c.idle);
    EXPECT_EQ(task.IntervalRequest(), c.interval);
    time.AdvanceBy(20);
    EXPECT_EQ(calls, c.callsIn20Ms);
  }
}

TEST(Task, PlainCallbackGetsItsContextAndTheTask) {
  platform::ScopedVirtualTime time;
  cmcTask task;
  struct Seen {
    cmcTask* task = nullptr;
    int calls = 0;
  } seen;
  task.SetCallback(
      [](void* context, cmcTask* t) {
        auto* s = static_cast<Seen*>(context);
        s->task = t;
        ++s->calls;
        if (s->calls == 3) t->SetInterval(-1);
      },
      &seen);
  task.SetInterval(10);
  time.AdvanceBy(100);
  EXPECT_EQ(seen.calls, 3);
  EXPECT_EQ(seen.task, &task);
  EXPECT_TRUE(task.IsIdle());
}

TEST(Task, StopRemovesTheCallback) {
  platform::ScopedVirtualTime time;
  cmcTask task;
  int calls = 0;
  task.SetCallback([&calls](cmcTask*) { ++calls; });
  task.SetInterval(1);
  time.AdvanceBy(3);
  task.Stop();
  EXPECT_TRUE(task.IsIdle());
  EXPECT_FALSE(task.HasCallback());
  task.SetInterval(1);  // running again, but with nothing to call
  time.AdvanceBy(10);
  EXPECT_EQ(calls, 3);
}

TEST(Task, TickArrivingWhileTheCallbackRunsDoesNothing) {
  platform::ScopedVirtualTime time;
  cmcTask task;
  int calls = 0;
  int nested = 0;
  task.SetCallback([&](cmcTask*) {
    ++calls;
    if (calls == 1) {
      // A handler that runs a modal loop lets further ticks arrive.
      time.AdvanceBy(50);
      task.Tick();
      nested = calls;
    }
  });
  task.SetInterval(10);
  time.AdvanceBy(10);
  EXPECT_EQ(nested, 1);
  EXPECT_FALSE(task.IsBusy());
  time.AdvanceBy(10);
  EXPECT_GT(calls, 1);  // not stuck busy afterwards
}

TEST(Task, ReleasedWhileRunningDeletesItselfOnItsNextTick) {
  platform::ScopedVirtualTime time;
  int calls = 0;
  auto* task = new cmcTask;
  task->SetCallback([&calls](cmcTask*) { ++calls; });
  task->SetInterval(10);
  time.AdvanceBy(20);
  ASSERT_EQ(calls, 2);
  cmcTask::Release(task);  // the owner goes away while the timer runs
  EXPECT_EQ(time.LiveCount(), 1);
  time.AdvanceBy(1);  // DestroyLater asks for a tick after 1 ms
  EXPECT_EQ(time.LiveCount(), 0);
  time.AdvanceBy(100);
  EXPECT_EQ(calls, 2);
}

TEST(Task, IdleTaskIsReleasedAtOnce) {
  platform::ScopedVirtualTime time;
  cmcTaskPtr task = MakeTask();
  task->SetInterval(5);
  task->SetInterval(-1);
  EXPECT_EQ(time.LiveCount(), 1);
  task.reset();
  EXPECT_EQ(time.LiveCount(), 0);
}

TEST(Task, ReleasedFromInsideItsOwnTickWaitsForTheNext) {
  platform::ScopedVirtualTime time;
  int calls = 0;
  cmcTaskPtr task = MakeTask();
  task->SetCallback([&](cmcTask* self) {
    ++calls;
    self->SetInterval(-1);  // idle now, but still inside its tick
    task.reset();
  });
  task->SetInterval(10);
  time.AdvanceBy(10);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(time.LiveCount(), 1);
  time.AdvanceBy(1);
  EXPECT_EQ(time.LiveCount(), 0);
  EXPECT_EQ(calls, 1);
}

TEST(Task, DestroyLaterDeletesWithoutCallingBack) {
  platform::ScopedVirtualTime time;
  int calls = 0;
  auto* task = new cmcTask;
  task->SetCallback([&calls](cmcTask*) { ++calls; });
  task->DestroyLater();
  EXPECT_TRUE(task->IsDestroyPending());
  EXPECT_FALSE(task->IsIdle());
  time.AdvanceBy(5);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(time.LiveCount(), 0);
}

}  // namespace
