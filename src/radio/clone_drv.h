// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clone protocol: one exchange with the radio at a time (information,
// read or write) over the serial port, stepped by the driver's own 10 ms
// task on the user-interface thread. Every byte sent comes back as the
// cable's echo and is checked; every frame received is checked before its
// data are accepted; the first failure ends the exchange, and the port is
// drained and closed before the completion runs. No call blocks longer than
// one port write: even the settling pause after opening the port is a state
// of its own, so that the exchanges of several drivers on one thread (a
// fleet on several cables) never wait for each other.
//
//   drv.SetRequestValues(0x5816, 0);
//   drv.SetImageSize(image.Size());
//   drv.SetPort(3, platform::LineFormat{});  // 9600 baud, no parity, 8 data bits, 1 stop bit
//   drv.StartRead({{0x000, 0xCEF}}, [](dst_CDrv_Result& r) { ... });

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/buff.h"
#include "base/task.h"
#include "base/tick.h"
#include "model/addr_range.h"
#include "platform/serial_device.h"
#include "radio/clone_drv_result.h"
#include "radio/clone_frames.h"

class cmcComm;

class cmcCloneDrv {
 public:
  // Called exactly once per started exchange, after the port is closed and
  // the driver is idle again, so it may start the next exchange at once. The
  // result is destroyed when the call returns. It runs inside the driver's
  // tick, so it must not destroy the driver.
  using CompletionFn = std::function<void(dst_CDrv_Result& result)>;

  enum State : int {
    kIdle = 0,
    kStart = 2,
    kPrepare = 3,
    kOpenPort = 4,
    kSendInfoRequest = 5,
    kAwaitInfoReply = 6,
    kSendReadRequest = 7,
    kReceiveData = 8,
    kSendWriteRequest = 9,
    kSendData = 10,
    kSendEndFrame = 11,
    kAwaitWriteResult = 12,
    kDrain = 13,
    kFinish = 14,
    kSettle = 15,
  };

  static constexpr int kStepMs = 10;
  static constexpr int kTimeoutMs = 1000;
  static constexpr int kWriteResultTimeoutMs = 2000;
  static constexpr int kBlockSize = 16;
  static constexpr int kFramesPerStep = 8;
  static constexpr int kEchoAllowance = 128;  // while data frames go out
  static constexpr int kReadChunk = 256;
  static constexpr int kSettleMs = 100;

  // The port's device comes from platform::CreateSerialDevice() ...
  cmcCloneDrv();
  // ... or is given, for tests and tools that talk to something else.
  explicit cmcCloneDrv(std::unique_ptr<platform::SerialDevice> device);
  // Destroying a busy driver abandons its exchange without a completion
  // (its owner is going away) and closes the port.
  ~cmcCloneDrv();
  cmcCloneDrv(const cmcCloneDrv&) = delete;
  cmcCloneDrv& operator=(const cmcCloneDrv&) = delete;

  void SetRequestValues(std::uint16_t value1, std::uint16_t value2);
  void SetImageSize(int bytes);
  // The COM port by number (mapped to a device by the port layer) ...
  void SetPort(int portNumber, const platform::LineFormat& format);
  // ... or a device by path, for the command-line tool and tests.
  void SetPortDevice(const std::string& devicePath, const platform::LineFormat& format);

  // Each returns false and changes nothing while an exchange runs, or when a
  // range lies outside the image (a write's ranges must lie inside the
  // source image, a read's inside the configured image size) or past the
  // 16-bit addresses of the frames. A list ends at its end or at its first
  // pair whose last address is below its first.
  bool StartInformation(CompletionFn completion);
  bool StartRead(const clsAddrRangeList& ranges, CompletionFn completion);
  bool StartWrite(const cmcEeprom& source, const clsAddrRangeList& ranges, CompletionFn completion);

  bool IsBusy() const { return state_ != kIdle; }
  int GetState() const { return state_; }
  // Image bytes moved so far in the running exchange (the progress bar).
  int DataBytes() const { return dataBytes_; }
  // Data frames sent (write) or accepted (read) so far.
  int DataFrames() const { return dataFrames_; }
  std::uint16_t RequestValue1() const { return value1_; }
  std::uint16_t RequestValue2() const { return value2_; }
  int ImageSize() const { return imageSize_; }
  int PortNumber() const { return portNumber_; }

  // The port the driver owns; closed whenever the driver is idle.
  cmcComm& Port() { return *port_; }

 private:
  bool Begin(CloneOperation operation, const clsAddrRangeList& ranges, const cmcEeprom* source,
             CompletionFn completion);
  static void OnTick(void* context, cmcTask* task);
  void Tick();
  void Step();
  // Matches the echo; false when the state must not act in this step.
  bool CheckEcho(bool& progress);
  void StepState(bool& progress);
  void TimeOut();
  void Fail(CloneStatus status);
  void Finish();

  void OpenPort();
  void Settle();
  int ReadPort();
  void Send(const cmcBuff& bytes);
  void SendRequest(std::uint8_t command);
  // Consumes the receive queue while one reply frame is awaited; true with
  // the last frame completed, if any.
  bool TakeReplyFrame(cmcBuff& frame);
  void ReceiveData(bool& progress);
  // A status that ends the read, or none to go on receiving.
  std::optional<CloneStatus> CheckReadFrame(const cmcBuff& frame, bool& progress);
  void SendData(bool& progress);
  bool AtRangeEnd() const;
  bool HandOverBatch();

  std::uint16_t value1_ = 0x5816;
  std::uint16_t value2_ = 0;
  int imageSize_ = 0;
  int portNumber_ = 0;
  std::string devicePath_;
  platform::LineFormat format_;

  std::unique_ptr<cmcComm> port_;
  cmcBuff receive_;
  cloneframe::Assembler assembler_;
  cmcBuff batch_;  // data frames built and not yet handed to the port
  cmcBuff echo_;
  std::uint8_t scratch_[kReadChunk] = {};

  int dataFrames_ = 0;
  int dataBytes_ = 0;
  clsAddrRangeList ranges_;
  std::size_t rangeIndex_ = 0;
  int address_ = 0;

  std::unique_ptr<dst_CDrv_Result> result_;
  CompletionFn completion_;
  int state_ = kIdle;
  cmcTick countdown_;
  cmcTick settle_;
  cmcTaskPtr task_;
};
