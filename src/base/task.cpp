// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/task.h"

cmcTask::cmcTask() : timer_(platform::Timers().CreateTimer([this] { Tick(); })) {}

cmcTask::~cmcTask() = default;

void cmcTask::SetCallback(Callback callback, void* context) {
  if (callback == nullptr) {
    callback_ = nullptr;
    return;
  }
  callback_ = [callback, context](cmcTask* task) { callback(context, task); };
}

void cmcTask::SetCallback(std::function<void(cmcTask*)> callback) {
  callback_ = std::move(callback);
}

void cmcTask::SetInterval(int ms) {
  request_ = ms;
  if (ms < 0) {
    timer_->Stop();
  } else {
    timer_->Start(ms == 0 ? 1 : ms);
  }
  idle_ = !timer_->IsActive();
}

void cmcTask::Stop() {
  callback_ = nullptr;
  SetInterval(-1);
}

void cmcTask::DestroyLater() {
  destroyPending_ = true;
  timer_->SetFinalTick(true);
  SetInterval(1);
}

void cmcTask::Release(cmcTask* task) {
  if (task == nullptr) return;
  // A task stopped from inside its own callback is idle but still on the
  // stack of its tick; it must wait for the next tick like a running one.
  if (task->idle_ && !task->busy_) {
    delete task;
    return;
  }
  task->Stop();
  task->DestroyLater();
}

void cmcTask::Tick() {
  if (destroyPending_) {
    delete this;
    return;
  }
  if (busy_ || !callback_) return;
  busy_ = true;
  // A copy, so that a callback replacing or removing itself stays intact
  // until it returns.
  const std::function<void(cmcTask*)> callback = callback_;
  callback(this);
  busy_ = false;
}
