// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/win32_serial_device.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace platform {
namespace {
HANDLE H(void* h) { return static_cast<HANDLE>(h); }

SerialFault FaultOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_NAME:
    case ERROR_DEV_NOT_EXIST: return SerialFault::kNoDevice;
    // A COM port held by another program answers "access denied". Under
    // Wine a device node that another process holds exclusively (TIOCEXCL)
    // answers with a lock violation.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY: return SerialFault::kBusy;
    default: return SerialFault::kOther;
  }
}
}  // namespace

Win32SerialDevice::~Win32SerialDevice() { Close(); }

bool Win32SerialDevice::Open(const std::string& path) {
  if (handle_ != nullptr) return false;
  // No sharing, an existing device, no overlapped input/output.
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // A folder refuses the open with "access denied" as well: it is no
    // serial device, not one that another program holds.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      SetOpenError(SerialFault::kNotSerial);
      return false;
    }
    SetOpenError(FaultOf(error), static_cast<int>(error));
    return false;
  }
  if (::GetFileType(h) != FILE_TYPE_CHAR) {
    ::CloseHandle(h);
    SetOpenError(SerialFault::kNotSerial);
    return false;
  }
  handle_ = h;
  SetOpenError(SerialFault::kNone);
  return true;
}

bool Win32SerialDevice::IsOpen() const { return handle_ != nullptr; }

void Win32SerialDevice::Close() {
  if (handle_ == nullptr) return;
  ::CloseHandle(H(handle_));
  handle_ = nullptr;
}

bool Win32SerialDevice::SetQueueSizes(int inputBytes, int outputBytes) {
  return handle_ != nullptr &&
         ::SetupComm(H(handle_), static_cast<DWORD>(inputBytes), static_cast<DWORD>(outputBytes));
}

bool Win32SerialDevice::Purge() {
  return handle_ != nullptr &&
         ::PurgeComm(H(handle_), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
}

bool Win32SerialDevice::SetTimeouts(const SerialTimeouts& t) {
  if (handle_ == nullptr) return false;
  COMMTIMEOUTS ct{};
  ct.ReadIntervalTimeout = t.readInterval;
  ct.ReadTotalTimeoutMultiplier = t.readTotalMultiplier;
  ct.ReadTotalTimeoutConstant = t.readTotalConstant;
  ct.WriteTotalTimeoutMultiplier = t.writeTotalMultiplier;
  ct.WriteTotalTimeoutConstant = t.writeTotalConstant;
  return ::SetCommTimeouts(H(handle_), &ct) != 0;
}

bool Win32SerialDevice::SetLine(const SerialLineSettings& line) {
  if (handle_ == nullptr) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!::GetCommState(H(handle_), &dcb)) return false;
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = line.baudRate;
  dcb.fBinary = (line.flags & kDcbBinary) != 0;
  dcb.fParity = (line.flags & kDcbParity) != 0;
  dcb.fOutxCtsFlow = (line.flags & kDcbOutxCtsFlow) != 0;
  dcb.fOutxDsrFlow = (line.flags & kDcbOutxDsrFlow) != 0;
  dcb.fDtrControl = static_cast<DWORD>(line.DtrControl());
  dcb.fDsrSensitivity = (line.flags & kDcbDsrSensitivity) != 0;
  dcb.fTXContinueOnXoff = (line.flags & kDcbTxContinueOnXoff) != 0;
  dcb.fOutX = (line.flags & kDcbOutX) != 0;
  dcb.fInX = (line.flags & kDcbInX) != 0;
  dcb.fErrorChar = (line.flags & kDcbErrorChar) != 0;
  dcb.fNull = (line.flags & kDcbNull) != 0;
  dcb.fRtsControl = static_cast<DWORD>(line.RtsControl());
  dcb.fAbortOnError = (line.flags & kDcbAbortOnError) != 0;
  dcb.XonLim = static_cast<WORD>(line.xonLimit);
  dcb.XoffLim = static_cast<WORD>(line.xoffLimit);
  dcb.ByteSize = static_cast<BYTE>(line.byteSize);
  dcb.Parity = static_cast<BYTE>(line.parity);
  dcb.StopBits = static_cast<BYTE>(line.stopBits);
  dcb.XonChar = static_cast<char>(line.xonChar);
  dcb.XoffChar = static_cast<char>(line.xoffChar);
  dcb.ErrorChar = static_cast<char>(line.errorChar);
  dcb.EofChar = static_cast<char>(line.eofChar);
  dcb.EvtChar = static_cast<char>(line.eventChar);
  return ::SetCommState(H(handle_), &dcb) != 0;
}

int Win32SerialDevice::Read(void* buffer, int maxBytes) {
  if (handle_ == nullptr) return -1;
  if (maxBytes <= 0) return 0;
  DWORD got = 0;
  if (!::ReadFile(H(handle_), buffer, static_cast<DWORD>(maxBytes), &got, nullptr)) return -1;
  return static_cast<int>(got);
}

int Win32SerialDevice::Write(const void* bytes, int count) {
  if (handle_ == nullptr) return -1;
  if (count <= 0) return 0;
  DWORD done = 0;
  // A time-out returns success with fewer bytes written.
  if (!::WriteFile(H(handle_), bytes, static_cast<DWORD>(count), &done, nullptr) && done == 0)
    return -1;
  return static_cast<int>(done);
}

int Win32SerialDevice::InputCount() {
  DWORD errors = 0;
  COMSTAT stat{};
  if (handle_ == nullptr || !::ClearCommError(H(handle_), &errors, &stat)) return -1;
  return static_cast<int>(stat.cbInQue);
}

int Win32SerialDevice::OutputQueued() {
  DWORD errors = 0;
  COMSTAT stat{};
  if (handle_ == nullptr || !::ClearCommError(H(handle_), &errors, &stat)) return -1;
  return static_cast<int>(stat.cbOutQue);
}

std::unique_ptr<SerialDevice> CreateNativeSerialDevice() {
  return std::make_unique<Win32SerialDevice>();
}

}  // namespace platform
