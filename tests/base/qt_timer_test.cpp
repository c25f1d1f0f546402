// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt timer service that the programs run on: ticks arrive through the
// event loop, and a task may free itself on its own tick there as well.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTest>

#include "base/evman.h"
#include "base/task.h"
#include "platform/timer_service.h"

namespace {

TEST(QtTimers, TasksTickThroughTheEventLoop) {
  platform::SetTimerService(nullptr);
  int calls = 0;
  cmcTask task;
  task.SetCallback([&calls](cmcTask* self) {
    if (++calls == 3) self->SetInterval(-1);
  });
  task.SetInterval(0);
  EXPECT_EQ(calls, 0);  // never inside SetInterval
  EXPECT_TRUE(QTest::qWaitFor([&] { return task.IsIdle(); }, 5000));
  EXPECT_EQ(calls, 3);
}

TEST(QtTimers, ReleasedRunningTaskFreesItselfOnItsTick) {
  platform::SetTimerService(nullptr);
  int calls = 0;
  bool released = false;
  cmcTaskPtr task = MakeTask();
  task->SetCallback([&](cmcTask*) {
    ++calls;
    if (calls == 2) {
      task.reset();  // from inside its own tick: deferred
      released = true;
    }
  });
  task->SetInterval(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return released; }, 5000));
  QTest::qWait(30);  // ticks after the release find nothing to call
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(calls, 2);
}

TEST(QtTimers, PostedEventsArriveOnTheBusTick) {
  platform::SetTimerService(nullptr);
  cmcEvMan bus;
  std::vector<int> seen;
  bus.Subscribe<ev::RedrawAllCells>(
      &seen, [&seen](const ev::RedrawAllCells&) { seen.push_back(ev::RedrawAllCells::kNumber); });
  bus.Subscribe<ev::ShowAbout>(
      &seen, [&seen](const ev::ShowAbout&) { seen.push_back(ev::ShowAbout::kNumber); });
  bus.Post(ev::RedrawAllCells{});
  bus.Post(ev::ShowAbout{});
  EXPECT_TRUE(seen.empty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 5000));
  EXPECT_EQ(seen, (std::vector<int>{ev::RedrawAllCells::kNumber, ev::ShowAbout::kNumber}));
  bus.Unsubscribe(&seen);
}

}  // namespace
