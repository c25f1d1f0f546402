// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A periodic task on the user-interface thread. All deferred work of the
// program (event delivery, the protocol step, output flushing, repaint of
// the progress bar, the print job) runs on such tasks; each tick does a
// bounded amount of work and returns, since there are no worker threads.
//
// A task must never be deleted from inside its own tick. Owners therefore
// release it with cmcTask::Release (or hold it in a cmcTaskPtr): an idle task
// goes at once, a running one stops and deletes itself on its next tick.

#include <functional>
#include <memory>

#include "platform/timer_service.h"

class cmcTask {
 public:
  using Callback = void (*)(void* context, cmcTask* task);

  // Takes its timer from the timer service installed now; the timer starts
  // disabled and the task has no callback.
  cmcTask();
  ~cmcTask();
  cmcTask(const cmcTask&) = delete;
  cmcTask& operator=(const cmcTask&) = delete;

  void SetCallback(Callback callback, void* context);
  void SetCallback(std::function<void(cmcTask*)> callback);

  // Below 0 disables the timer, 0 runs it every 1 ms, above 0 every ms.
  void SetInterval(int ms);
  // Removes the callback and disables the timer.
  void Stop();
  // Deletes the task on its next tick. Only for tasks made with new.
  void DestroyLater();

  // Releases a task made with new without ever deleting it inside its own
  // tick. Accepts nullptr.
  static void Release(cmcTask* task);

  int IntervalRequest() const { return request_; }
  bool IsIdle() const { return idle_; }
  bool IsBusy() const { return busy_; }
  bool IsDestroyPending() const { return destroyPending_; }
  bool HasCallback() const { return static_cast<bool>(callback_); }

  // The timer event. Public so that code driving a task by hand (and tests)
  // goes through exactly the same path as a timer tick.
  void Tick();

 private:
  std::unique_ptr<platform::Timer> timer_;
  std::function<void(cmcTask*)> callback_;
  int request_ = -1;
  bool busy_ = false;
  bool destroyPending_ = false;
  bool idle_ = true;
};

struct cmcTaskReleaser {
  void operator()(cmcTask* task) const { cmcTask::Release(task); }
};
// Owning handle that releases its task by the rule above.
using cmcTaskPtr = std::unique_ptr<cmcTask, cmcTaskReleaser>;
inline cmcTaskPtr MakeTask() { return cmcTaskPtr(new cmcTask); }
