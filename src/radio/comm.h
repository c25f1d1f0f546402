// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One serial port to the radio: reads that never block, and writes that are
// queued and handed to the device in chunks by a 10 ms flush task, at most
// one chunk in the driver at a time. The radio link has no worker thread,
// so every call here returns after a bounded amount of work; the longest is
// a device write, bounded by the write time-out (3000 ms plus the time the
// bytes take on the line).
//
//   cmcComm port;
//   if (port.Open(3, "9600,N,8,1")) { port.Write(frame); ... port.Read(buf, 256); }

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/buff.h"
#include "base/task.h"
#include "platform/serial_device.h"

// Which port the last failed open tried and why it failed.
struct clsPortFailure {
  platform::SerialError error;
  int portNumber = 0;  // 0 when the device was given by its path
  std::string path;    // "" when the number names no device
  bool operator==(const clsPortFailure&) const = default;
};

class cmcComm {
 public:
  static constexpr int kInputQueueSize = 32000;
  // Also the largest chunk handed to the device at once.
  static constexpr int kOutputQueueSize = 1024;
  static constexpr int kFlushRetryMs = 10;
  static constexpr std::uint32_t kWriteConstantMs = 3000;
  // Binary mode, transmit continues after XOFF, DTR low, RTS high.
  static constexpr std::uint32_t kDefaultFlags =
      platform::kDcbBinary | platform::kDcbTxContinueOnXoff | (1u << platform::kDcbRtsControlShift);

  // The device comes from platform::CreateSerialDevice().
  cmcComm();
  explicit cmcComm(std::unique_ptr<platform::SerialDevice> device);
  ~cmcComm();
  cmcComm(const cmcComm&) = delete;
  cmcComm& operator=(const cmcComm&) = delete;

  // Opens COM port n (see radio/port_map.h) framed by a line format, or by
  // a settings text such as "9600,N,8,1". False, with nothing left open,
  // when the port is missing, busy or refuses its settings; false at once,
  // changing nothing, when this port is already open.
  bool Open(int portNumber, const std::string& settings);
  bool Open(int portNumber, const platform::LineFormat& format);
  // The same for a device given by its path (port number 0).
  bool OpenDevice(const std::string& path, const std::string& settings);
  bool OpenDevice(const std::string& path, const platform::LineFormat& format);
  // Why the last Open or OpenDevice that got as far as trying a device
  // failed; it stays until the next one.
  const clsPortFailure& Failure() const { return failure_; }
  // Closes, drops pending output and clears the write-failed flag.
  void Close();
  bool IsOpen() const;

  // Queues bytes for the device and hands the first chunk over at once;
  // dropped when closed. Always returns 0.
  int Write(const void* bytes, int count);
  int Write(const cmcBuff& bytes) { return Write(bytes.Data(), bytes.Size()); }
  // Bytes read without waiting: at most max and at most what the driver
  // holds; 0 when closed or when the read fails.
  int Read(void* buffer, int max);
  // Bytes in the driver's receive queue; 0 when closed or unknown.
  int InputCount();
  // Bytes still in the driver's transmit queue; 0 when closed or unknown.
  int OutputQueued();
  // Bytes not yet sent: the driver's transmit queue plus the pending
  // output. 0 means everything has gone out.
  int PendingOutput();
  // A device write took fewer bytes than it was given.
  bool WriteFailed() const { return writeFailed_; }

  int PortNumber() const { return portNumber_; }
  const std::string& DevicePath() const { return devicePath_; }
  // The line settings and time-outs of the last open.
  const platform::SerialLineSettings& Line() const { return line_; }
  platform::SerialTimeouts Timeouts() const;
  platform::SerialDevice& Device() { return *device_; }

  // Reads a settings text of four comma-separated fields (baud rate, parity
  // letter, data bits, stop bits) into line. Data bits are clamped to 4..8;
  // stop bits "1.5" and "2" give one and a half and two, anything else one.
  // False when the baud rate is not a positive number.
  static bool ParseSettings(std::string_view text, platform::SerialLineSettings* line);
  // The same into a line format.
  static bool ParseFormat(std::string_view text, platform::LineFormat* format);

 private:
  // format nullptr: a settings text that could not be read.
  bool OpenNumber(int portNumber, const platform::LineFormat* format);
  bool OpenNamed(const std::string& path, const platform::LineFormat* format);
  bool OpenPath(const std::string& path, const platform::LineFormat* format);
  bool Refuse(platform::SerialError error);
  static void OnFlush(void* context, cmcTask* task);
  void FlushStep();

  std::unique_ptr<platform::SerialDevice> device_;
  int portNumber_ = 0;
  std::string devicePath_;
  clsPortFailure failure_;
  bool writeFailed_ = false;
  cmcBuff pending_;
  platform::SerialLineSettings line_;
  cmcTaskPtr flush_;
};
