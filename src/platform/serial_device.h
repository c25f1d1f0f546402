// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One serial device, as the serial port class needs it: exclusive open of
// an existing device, driver queue sizes, purge, time-outs and line settings
// in the terms of the Windows communication API (which the port class was
// built around), non-blocking reads, writes bounded by the write time-out,
// and the counts of the driver's receive and transmit queues.
//
// Backends: POSIX termios (posix/), Win32 (win32/). Tests may install a
// factory that hands out a recording device instead.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// Flag bits of the Windows DCB record, in its bit order.
enum : std::uint32_t {
  kDcbBinary = 1u << 0,
  kDcbParity = 1u << 1,
  kDcbOutxCtsFlow = 1u << 2,
  kDcbOutxDsrFlow = 1u << 3,
  kDcbDtrControlShift = 4,  // 2 bits: 0 disable (low), 1 enable (high), 2 handshake
  kDcbDtrControlMask = 3u << kDcbDtrControlShift,
  kDcbDsrSensitivity = 1u << 6,
  kDcbTxContinueOnXoff = 1u << 7,
  kDcbOutX = 1u << 8,
  kDcbInX = 1u << 9,
  kDcbErrorChar = 1u << 10,
  kDcbNull = 1u << 11,
  kDcbRtsControlShift = 12,  // 2 bits: 0 disable (low), 1 enable (high), 2 handshake, 3 toggle
  kDcbRtsControlMask = 3u << kDcbRtsControlShift,
  kDcbAbortOnError = 1u << 14,
};

enum SerialParity : int {
  kParityNone = 0,
  kParityOdd = 1,
  kParityEven = 2,
  kParityMark = 3,
  kParitySpace = 4
};
enum SerialStopBits : int { kStopOne = 0, kStopOneAndHalf = 1, kStopTwo = 2 };

// How the bytes on the line are framed: speed, parity, data and stop bits.
// The rest of the line settings are the port's own.
struct LineFormat {
  std::uint32_t baudRate = 9600;
  int parity = kParityNone;
  int byteSize = 8;
  int stopBits = kStopOne;
  bool operator==(const LineFormat&) const = default;
};

struct SerialLineSettings {
  std::uint32_t baudRate = 9600;
  std::uint32_t flags = 0;
  int xonLimit = 0;
  int xoffLimit = 0;
  int byteSize = 8;
  int parity = kParityNone;
  int stopBits = kStopOne;
  std::uint8_t xonChar = 0x11;
  std::uint8_t xoffChar = 0x13;
  std::uint8_t errorChar = 0x3F;
  std::uint8_t eofChar = 0xFD;
  std::uint8_t eventChar = 0xFE;

  int DtrControl() const {
    return static_cast<int>((flags & kDcbDtrControlMask) >> kDcbDtrControlShift);
  }
  int RtsControl() const {
    return static_cast<int>((flags & kDcbRtsControlMask) >> kDcbRtsControlShift);
  }
  bool operator==(const SerialLineSettings&) const = default;
};

// Milliseconds, as in the Windows COMMTIMEOUTS record. A read interval of
// 0xFFFFFFFF with both read totals 0 makes a read return at once.
struct SerialTimeouts {
  std::uint32_t readInterval = 0xFFFFFFFFu;
  std::uint32_t readTotalMultiplier = 0;
  std::uint32_t readTotalConstant = 0;
  std::uint32_t writeTotalMultiplier = 0;
  std::uint32_t writeTotalConstant = 0;
  bool operator==(const SerialTimeouts&) const = default;
};

// Why a serial port could not be used. The numbers index the lines that
// word them in the overlay, so they never change.
enum class SerialFault : int {
  kNone = 0,
  kOther = 1,      // the system code says why
  kNoDevice = 2,   // nothing of that name, or no hardware behind it
  kNotSerial = 3,  // a directory, a regular file, a pipe or a device that is no serial line
  kNoPermission = 4,
  kBusy = 5,             // another program holds it
  kSettingsRefused = 6,  // it opened, but refused the queue sizes, time-outs or line settings
  kUnmapped = 7,         // a port number that names no device (decided by the port layer)
};

struct SerialError {
  SerialFault fault = SerialFault::kNone;
  int systemCode = 0;  // errno, or GetLastError on Windows; 0 when none applies
  bool operator==(const SerialError&) const = default;
};

// The system's own text for a code of SerialError::systemCode ("" for 0).
std::string SystemErrorText(int systemCode);

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;
  // Opens an existing device for reading and writing, for this process
  // alone. False (and nothing open) when it is missing, busy or no serial
  // device; OpenError() then says which.
  virtual bool Open(const std::string& path) = 0;
  // Why the last Open failed; kNone after one that succeeded. Devices that
  // cannot tell leave it at kOther.
  const SerialError& OpenError() const { return openError_; }
  virtual bool IsOpen() const = 0;
  virtual void Close() = 0;
  virtual bool SetQueueSizes(int inputBytes, int outputBytes) = 0;
  // Aborts and clears both the transmit and the receive side.
  virtual bool Purge() = 0;
  virtual bool SetTimeouts(const SerialTimeouts& timeouts) = 0;
  virtual bool SetLine(const SerialLineSettings& line) = 0;
  // Bytes read (0 when nothing waits), -1 on failure; never blocks.
  virtual int Read(void* buffer, int maxBytes) = 0;
  // Bytes written, within the write time-out; -1 on failure.
  virtual int Write(const void* bytes, int count) = 0;
  // Bytes waiting in the receive queue / still in the transmit queue; -1
  // when the query fails. Both clear the device's error state.
  virtual int InputCount() = 0;
  virtual int OutputQueued() = 0;

 protected:
  void SetOpenError(SerialFault fault, int systemCode = 0) { openError_ = {fault, systemCode}; }

 private:
  SerialError openError_{SerialFault::kOther, 0};
};

// Where an owner's serial devices come from (tests give scripted ones); an
// empty factory stands for the platform's own.
using SerialDeviceFactory = std::function<std::unique_ptr<SerialDevice>()>;

// The backend of this platform.
std::unique_ptr<SerialDevice> CreateNativeSerialDevice();
// The same, for callers that were given no factory.
std::unique_ptr<SerialDevice> CreateSerialDevice();

}  // namespace platform
