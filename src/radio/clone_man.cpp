// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/clone_man.h"

#include "radio/clone_man_message.h"
#include "radio/clone_man_ranges.h"
#include "radio/comm.h"

indCloneMan::indCloneMan() : indCloneMan(platform::SerialDeviceFactory()) {}

indCloneMan::indCloneMan(const platform::SerialDeviceFactory& devices)
    : driver_(devices ? devices() : platform::CreateSerialDevice()), repaint_(MakeTask()) {
  repaint_->SetCallback(&indCloneMan::OnRepaint, this);
  driver_.SetPort(port_, kLineFormat);
}

indCloneMan::~indCloneMan() {
  // The driver abandons a running exchange without calling back; the
  // repaint task must not outlive us either.
  repaint_->Stop();
  if (sink_ && progressOpen_) sink_->CloseProgress();
}

void indCloneMan::SetRequestValues(std::uint16_t value1, std::uint16_t value2) {
  driver_.SetRequestValues(value1, value2);
}

void indCloneMan::SetImageSize(int bytes) { driver_.SetImageSize(bytes); }

void indCloneMan::Configure() {
  if (device_.empty()) {
    driver_.SetPort(port_, kLineFormat);
  } else {
    driver_.SetPortDevice(device_, kLineFormat);
  }
}

void indCloneMan::Begin(CloneOperation operation, Completion completion) {
  operation_ = operation;
  completion_ = std::move(completion);
  totalBytes_ = 0;
}

void indCloneMan::Abandon() { Begin(CloneOperation::kNone, nullptr); }

bool indCloneMan::StartInformation(Completion completion) {
  if (IsBusy()) return false;
  Configure();
  // Recorded first: the driver's completion must find the operation set.
  Begin(CloneOperation::kInformation, std::move(completion));
  if (!driver_.StartInformation([this](dst_CDrv_Result& result) { Done(&result); })) {
    Abandon();
    return false;
  }
  if (sink_) sink_->SetMainWindowEnabled(false);
  return true;
}

bool indCloneMan::StartRead(const clsAddrRangeList& ranges, Completion completion) {
  if (IsBusy()) return false;
  Configure();
  Begin(CloneOperation::kRead, std::move(completion));
  if (!driver_.StartRead(ranges, [this](dst_CDrv_Result& result) { Done(&result); })) {
    Abandon();
    return false;
  }
  OpenProgress(ranges);
  return true;
}

bool indCloneMan::StartWrite(const cmcEeprom& image, const clsAddrRangeList& ranges,
                             Completion completion) {
  if (IsBusy()) return false;
  Configure();
  Begin(CloneOperation::kWrite, std::move(completion));
  if (!driver_.StartWrite(image, ranges, [this](dst_CDrv_Result& result) { Done(&result); })) {
    Abandon();
    return false;
  }
  OpenProgress(ranges);
  return true;
}

void indCloneMan::OpenProgress(const clsAddrRangeList& ranges) {
  totalBytes_ = cloneman::TotalBytes(ranges);
  if (sink_) {
    sink_->SetMainWindowEnabled(false);
    sink_->OpenProgress(totalBytes_);
    progressOpen_ = true;
  }
  repaint_->SetCallback(&indCloneMan::OnRepaint, this);
  repaint_->SetInterval(progress::kRepaintMs);
}

void indCloneMan::OnRepaint(void* context, cmcTask* task) {
  auto* self = static_cast<indCloneMan*>(context);
  if (self->sink_ && self->progressOpen_) {
    self->sink_->ShowProgress(self->driver_.DataBytes(), self->totalBytes_);
  }
  if (!self->driver_.IsBusy()) task->SetInterval(-1);
}

void indCloneMan::StopProgress() {
  repaint_->SetInterval(-1);
  if (sink_) {
    if (progressOpen_) {
      // The last repaint may predate the final frames.
      sink_->ShowProgress(driver_.DataBytes(), totalBytes_);
      sink_->CloseProgress();
    }
    sink_->SetMainWindowEnabled(true);
  }
  progressOpen_ = false;
}

void indCloneMan::Done(dst_CDrv_Result* result) {
  // The handlers judge first, so their statuses are reported like the
  // driver's; a missing handler means nobody could accept the answer.
  if (operation_ == CloneOperation::kInformation) {
    if (infoHandler_) {
      infoHandler_(result);
    } else {
      result->status = CloneStatus::kInfoMismatch;
    }
  } else if (operation_ == CloneOperation::kRead) {
    if (readHandler_) {
      readHandler_(result);
    } else {
      result->status = CloneStatus::kMissingData;
    }
  }
  const clsPortFailure* failure =
      result->status == CloneStatus::kPortFailed ? &driver_.Port().Failure() : nullptr;
  // Once data frames have gone out, a write cut off may have left some of
  // them stored; a radio that refused the write has said it kept none.
  const bool partlyWritten = operation_ == CloneOperation::kWrite && driver_.DataBytes() > 0 &&
                             result->status != CloneStatus::kWriteRefused;
  cloneman::ShowCloneError(Questions(), result->status, port_, device_, failure, partlyWritten);
  StopProgress();
  // The completion may start the next exchange, which sets a new one.
  Completion completion = std::move(completion_);
  completion_ = nullptr;
  operation_ = CloneOperation::kNone;
  if (completion) completion(result);
}
