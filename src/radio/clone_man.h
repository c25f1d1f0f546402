// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clone manager sits between the document's clone commands and the
// protocol driver. It configures the driver for this radio before every
// exchange, shows the progress of reads and writes, lets the document's
// handlers judge what came back, reports every failure in exactly one
// message, and only then hands the result to the command that started the
// exchange. Completions run exactly once and may start the next exchange.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/task.h"
#include "model/addr_range.h"
#include "model/eeprom.h"
#include "model/user_questions.h"
#include "radio/clone_drv.h"
#include "radio/clone_drv_result.h"
#include "radio/progress_sink.h"

class indCloneMan {
 public:
  using Completion = std::function<void(dst_CDrv_Result* result)>;
  // Handlers judge a successful result and may replace its status.
  using Handler = std::function<void(dst_CDrv_Result* result)>;

  // The line never runs faster, whatever the high-speed setting says.
  // 9600 baud, no parity, 8 data bits, 1 stop bit.
  static constexpr platform::LineFormat kLineFormat{};

  indCloneMan();
  // The serial device comes from devices (empty: the platform's own).
  explicit indCloneMan(const platform::SerialDeviceFactory& devices);
  ~indCloneMan();
  indCloneMan(const indCloneMan&) = delete;
  indCloneMan& operator=(const indCloneMan&) = delete;

  void SetRequestValues(std::uint16_t value1, std::uint16_t value2);
  void SetImageSize(int bytes);
  // The current port setting, used for every exchange ...
  void SetPortNumber(int port) { port_ = port; }
  int PortNumber() const { return port_; }
  // ... unless a device path is given (command-line tool, tests); "" goes
  // back to the number.
  void SetPortDevice(const std::string& path) { device_ = path; }
  const std::string& PortDevice() const { return device_; }

  // Not owned; nullptr shows no progress.
  void SetProgressSink(cmcProgressSink* sink) { sink_ = sink; }
  // Where the message of a failed exchange goes (not owned); nullptr:
  // DefaultQuestions().
  void SetQuestions(UserQuestions* questions) { questions_ = questions; }
  UserQuestions& Questions() const { return questions_ ? *questions_ : DefaultQuestions(); }

  void SetInformationHandler(Handler handler) { infoHandler_ = std::move(handler); }
  void SetReadHandler(Handler handler) { readHandler_ = std::move(handler); }

  // Each returns false, doing nothing, while an exchange runs (or when the
  // driver refuses the ranges).
  bool StartInformation(Completion completion);
  bool StartRead(const clsAddrRangeList& ranges, Completion completion);
  bool StartWrite(const cmcEeprom& image, const clsAddrRangeList& ranges, Completion completion);

  bool IsBusy() const { return driver_.IsBusy(); }
  CloneOperation GetOperation() const { return operation_; }
  // Bytes the running read or write moves in all, and has moved so far.
  int TotalBytes() const { return totalBytes_; }
  int DataBytes() const { return driver_.DataBytes(); }

  cmcCloneDrv& Driver() { return driver_; }

 private:
  void Begin(CloneOperation operation, Completion completion);
  void Abandon();
  void Configure();
  void OpenProgress(const clsAddrRangeList& ranges);
  void StopProgress();
  void Done(dst_CDrv_Result* result);
  static void OnRepaint(void* context, cmcTask* task);

  cmcCloneDrv driver_;
  int port_ = 1;
  std::string device_;
  cmcProgressSink* sink_ = nullptr;
  UserQuestions* questions_ = nullptr;
  bool progressOpen_ = false;

  Handler infoHandler_;
  Handler readHandler_;

  Completion completion_;
  CloneOperation operation_ = CloneOperation::kNone;
  int totalBytes_ = 0;
  cmcTaskPtr repaint_;
};
