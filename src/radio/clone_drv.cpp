// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/clone_drv.h"

#include <algorithm>

#include "radio/comm.h"

namespace cf = cloneframe;

cmcCloneDrv::cmcCloneDrv() : cmcCloneDrv(platform::CreateSerialDevice()) {}

cmcCloneDrv::cmcCloneDrv(std::unique_ptr<platform::SerialDevice> device)
    : port_(std::make_unique<cmcComm>(std::move(device))), task_(MakeTask()) {
  task_->SetCallback(&cmcCloneDrv::OnTick, this);
}

cmcCloneDrv::~cmcCloneDrv() {
  // The task goes first so that no tick reaches a half-destroyed driver.
  task_.reset();
  port_->Close();
}

void cmcCloneDrv::SetRequestValues(std::uint16_t value1, std::uint16_t value2) {
  value1_ = value1;
  value2_ = value2;
}

void cmcCloneDrv::SetImageSize(int bytes) { imageSize_ = bytes < 0 ? 0 : bytes; }

void cmcCloneDrv::SetPort(int portNumber, const platform::LineFormat& format) {
  portNumber_ = portNumber;
  devicePath_.clear();
  format_ = format;
}

void cmcCloneDrv::SetPortDevice(const std::string& devicePath, const platform::LineFormat& format) {
  portNumber_ = 0;
  devicePath_ = devicePath;
  format_ = format;
}

bool cmcCloneDrv::StartInformation(CompletionFn completion) {
  return Begin(CloneOperation::kInformation, {}, nullptr, std::move(completion));
}

bool cmcCloneDrv::StartRead(const clsAddrRangeList& ranges, CompletionFn completion) {
  return Begin(CloneOperation::kRead, ranges, nullptr, std::move(completion));
}

bool cmcCloneDrv::StartWrite(const cmcEeprom& source, const clsAddrRangeList& ranges,
                             CompletionFn completion) {
  return Begin(CloneOperation::kWrite, ranges, &source, std::move(completion));
}

bool cmcCloneDrv::Begin(CloneOperation operation, const clsAddrRangeList& ranges,
                        const cmcEeprom* source, CompletionFn completion) {
  if (IsBusy()) return false;
  // Data frames are cut from the image and coverage bits are set per
  // address, so a range reaching outside the image would read or mark
  // memory that is not there; and a frame has only four hex digits for
  // its address.
  const int limit = std::min(source ? source->Size() : imageSize_, 0x10000);
  for (const clsAddrRange& r : ranges) {
    if (r.IsTerminator()) break;
    if (r.first < 0 || r.last >= limit) return false;
  }

  result_ = std::make_unique<dst_CDrv_Result>();
  result_->operation = operation;
  result_->status = CloneStatus::kPortFailed;
  result_->value1 = value1_;
  result_->value2 = value2_;
  result_->image.SetSize(imageSize_);
  if (source) result_->image.Assign(*source);

  ranges_ = ranges;
  rangeIndex_ = 0;
  address_ = ranges_.empty() ? 0 : ranges_.front().first;
  dataFrames_ = 0;
  dataBytes_ = 0;
  receive_.Clear();
  assembler_.Reset();
  batch_.Clear();
  echo_.Clear();
  countdown_.Stop();
  completion_ = std::move(completion);
  state_ = kStart;
  task_->SetInterval(kStepMs);
  return true;
}

void cmcCloneDrv::OnTick(void* context, cmcTask*) { static_cast<cmcCloneDrv*>(context)->Tick(); }

void cmcCloneDrv::Tick() {
  if (state_ != kIdle) Step();
  // A short device write means bytes the radio never saw: nothing that
  // follows can succeed, and draining would only wait on a stuck device.
  if (state_ != kIdle && port_->WriteFailed()) {
    result_->status = CloneStatus::kShortWrite;
    state_ = kFinish;
  }
  if (state_ == kFinish) Finish();
  if (state_ == kIdle) task_->SetInterval(-1);
}

void cmcCloneDrv::Step() {
  const int before = state_;
  bool progress = false;
  bool act = true;
  if (state_ != kDrain && !echo_.Empty()) act = CheckEcho(progress);
  if (act && state_ == before) StepState(progress);

  if (state_ != before || progress) {
    countdown_.Start(state_ == kAwaitWriteResult ? kWriteResultTimeoutMs : kTimeoutMs);
  } else if (countdown_.Remaining() == 0) {
    TimeOut();
    countdown_.Start(kTimeoutMs);  // gives the drain its own time
  }

  // Each step consumes what it reads, so neither queue should ever hold
  // this much; should a device flood the line, the blocks stay no larger
  // than what is live.
  if (receive_.Size() > cmcBuff::kCompactAfter) receive_.Compact();
  if (echo_.Size() > cmcBuff::kCompactAfter) echo_.Compact();
}

bool cmcCloneDrv::CheckEcho(bool& progress) {
  ReadPort();
  while (!echo_.Empty() && !receive_.Empty()) {
    if (receive_[0] != echo_[0]) {
      Fail(CloneStatus::kEchoFailed);
      return false;
    }
    receive_.PopFront();
    echo_.PopFront();
    progress = true;
  }
  if (echo_.Empty()) echo_.Clear();
  const int allowed = state_ == kSendData ? kEchoAllowance : 0;
  return echo_.Size() <= allowed;
}

void cmcCloneDrv::StepState(bool& progress) {
  switch (state_) {
    case kStart: state_ = kPrepare; break;
    case kPrepare:
      if (port_->PendingOutput() == 0) state_ = kOpenPort;
      break;
    case kOpenPort: OpenPort(); break;
    case kSettle: Settle(); break;
    case kSendInfoRequest:
      SendRequest(cf::kInfoRequest);
      state_ = kAwaitInfoReply;
      break;
    case kAwaitInfoReply: {
      cmcBuff frame;
      if (TakeReplyFrame(frame)) {
        result_->status =
            cf::CheckInformationReply(frame, result_->value1, result_->value2, result_->payload);
        state_ = kDrain;
      }
      break;
    }
    case kSendReadRequest:
      SendRequest(cf::kReadRequest);
      state_ = kReceiveData;
      break;
    case kReceiveData: ReceiveData(progress); break;
    case kSendWriteRequest:
      SendRequest(cf::kWriteRequest);
      state_ = kSendData;
      break;
    case kSendData: SendData(progress); break;
    case kSendEndFrame:
      Send(cf::EndFrame(dataFrames_));
      state_ = kAwaitWriteResult;
      break;
    case kAwaitWriteResult: {
      cmcBuff frame;
      if (TakeReplyFrame(frame)) {
        result_->status = cf::CheckWriteResult(frame);
        state_ = kDrain;
      }
      break;
    }
    case kDrain:
      if (port_->PendingOutput() == 0) state_ = kFinish;
      break;
    default: break;
  }
}

void cmcCloneDrv::TimeOut() {
  if (state_ == kDrain) {
    // The exchange has already ended with its status; a device that never
    // drains must not keep the driver busy for ever.
    state_ = kFinish;
    return;
  }
  Fail(echo_.Empty() ? CloneStatus::kNoAnswer : CloneStatus::kEchoFailed);
}

void cmcCloneDrv::Fail(CloneStatus status) {
  result_->status = status;
  state_ = kDrain;
}

void cmcCloneDrv::Finish() {
  port_->Close();
  state_ = kIdle;
  countdown_.Stop();
  settle_.Stop();
  receive_.Clear();
  assembler_.Reset();
  batch_.Clear();
  echo_.Clear();
  // Detached before the call, which may start the next exchange.
  std::unique_ptr<dst_CDrv_Result> result = std::move(result_);
  CompletionFn completion = std::move(completion_);
  completion_ = nullptr;
  if (completion) completion(*result);
}

void cmcCloneDrv::OpenPort() {
  port_->Close();
  const bool open = devicePath_.empty() ? port_->Open(portNumber_, format_)
                                        : port_->OpenDevice(devicePath_, format_);
  if (!open) {
    Fail(CloneStatus::kPortFailed);
    return;
  }
  // Lets the cable's adapter settle after the line changed; what the radio
  // or the adapter sends meanwhile is thrown away when the pause is over.
  settle_.Start(kSettleMs);
  state_ = kSettle;
}

void cmcCloneDrv::Settle() {
  if (settle_.Remaining() > 0) return;
  std::uint8_t stale;
  for (int i = 0; i < 65535 && port_->Read(&stale, 1) > 0; ++i) {}
  switch (result_->operation) {
    case CloneOperation::kInformation: state_ = kSendInfoRequest; break;
    case CloneOperation::kRead: state_ = kSendReadRequest; break;
    default: state_ = kSendWriteRequest; break;
  }
}

int cmcCloneDrv::ReadPort() {
  const int n = port_->Read(scratch_, kReadChunk);
  if (n > 0) receive_.Append(scratch_, n);
  return n;
}

void cmcCloneDrv::Send(const cmcBuff& bytes) {
  port_->Write(bytes);
  echo_.Append(bytes);
}

void cmcCloneDrv::SendRequest(std::uint8_t command) {
  Send(cf::RequestFrame(command, value1_, value2_));
  assembler_.Reset();
}

bool cmcCloneDrv::TakeReplyFrame(cmcBuff& frame) {
  ReadPort();
  bool taken = false;
  while (!receive_.Empty()) {
    switch (assembler_.Push(static_cast<std::uint8_t>(receive_.PopFront()))) {
      case cf::Assembler::kComplete:
        // A later frame replaces an earlier one: the last word counts.
        frame = assembler_.Frame();
        assembler_.Reset();
        taken = true;
        break;
      case cf::Assembler::kOverflow:
        frame = cmcBuff{0x00};  // fails every reply check
        return true;
      case cf::Assembler::kNone: break;
    }
  }
  return taken;
}

void cmcCloneDrv::ReceiveData(bool& progress) {
  ReadPort();
  // Consumes whatever is queued even when this read brought nothing: bytes
  // that came in with the echo of the request would otherwise wait for
  // further input that a radio which has finished never sends.
  while (!receive_.Empty()) {
    const auto pushed = assembler_.Push(static_cast<std::uint8_t>(receive_.PopFront()));
    if (pushed == cf::Assembler::kOverflow) {
      Fail(CloneStatus::kBadFrame);
      return;
    }
    if (pushed != cf::Assembler::kComplete) continue;
    const cmcBuff frame = assembler_.Frame();
    assembler_.Reset();
    if (const auto status = CheckReadFrame(frame, progress)) {
      result_->status = *status;
      state_ = kDrain;
      return;
    }
  }
}

std::optional<CloneStatus> cmcCloneDrv::CheckReadFrame(const cmcBuff& frame, bool& progress) {
  cf::ReadFrame decoded;
  if (const CloneStatus status = cf::DecodeReadFrame(frame, decoded); status != CloneStatus::kOk)
    return status;
  cmcEeprom& image = result_->image;
  if (decoded.command == cf::kEnd) {
    if (const CloneStatus status = cf::CheckEndFrame(frame, dataFrames_);
        status != CloneStatus::kOk)
      return status;
    return cf::CheckCoverage(result_->coverage, ranges_, image.Size());
  }
  const int n = decoded.data.Size();
  if (n > 0 &&
      !(image.IsValidAddress(decoded.address) && image.IsValidAddress(decoded.address + n - 1))) {
    return CloneStatus::kOutOfRange;
  }
  if (n > 0) {
    image.WriteBlock(decoded.address, decoded.data.Data(), n);
    cf::MarkCoverage(result_->coverage, decoded.address, n);
  }
  dataBytes_ += n;
  ++dataFrames_;
  progress = true;
  return std::nullopt;
}

bool cmcCloneDrv::AtRangeEnd() const {
  return rangeIndex_ >= ranges_.size() || ranges_[rangeIndex_].IsTerminator();
}

void cmcCloneDrv::SendData(bool& progress) {
  for (int i = 0; i < kFramesPerStep; ++i) {
    // No new frame while the cable still owes more echo than allowed.
    if (echo_.Size() > kEchoAllowance) return;
    if (AtRangeEnd()) {
      // Frames held back by a full port still have to go out before the
      // end frame may follow them.
      if (!batch_.Empty() && HandOverBatch()) progress = true;
      if (batch_.Empty() && port_->PendingOutput() == 0) state_ = kSendEndFrame;
      return;
    }
    const clsAddrRange& range = ranges_[rangeIndex_];
    if (address_ > range.last) {
      ++rangeIndex_;
      if (!AtRangeEnd()) address_ = ranges_[rangeIndex_].first;
      continue;
    }
    const int n = cf::DataFrameLength(address_, range.last);
    batch_.Append(cf::DataFrame(address_, result_->image.Data() + address_, n));
    ++dataFrames_;
    address_ += n;
    dataBytes_ += n;
    if (!HandOverBatch()) return;
    progress = true;
  }
}

bool cmcCloneDrv::HandOverBatch() {
  if (port_->PendingOutput() > 4 * batch_.Size()) return false;
  Send(batch_);
  batch_.Clear();
  return true;
}
