// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/comm.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "radio/port_map.h"

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Leading decimal digits, as a C library conversion reads them; 0 if none.
long LeadingNumber(std::string_view s) {
  long value = 0;
  std::from_chars(s.data(), s.data() + s.size(), value);
  return value;
}

platform::SerialLineSettings DefaultLine() {
  platform::SerialLineSettings line;
  line.flags = cmcComm::kDefaultFlags;
  line.xonLimit = cmcComm::kInputQueueSize / 2;
  line.xoffLimit = cmcComm::kInputQueueSize * 3 / 4;
  return line;
}

}  // namespace

cmcComm::cmcComm() : cmcComm(platform::CreateSerialDevice()) {}

cmcComm::cmcComm(std::unique_ptr<platform::SerialDevice> device)
    : device_(std::move(device)), line_(DefaultLine()), flush_(MakeTask()) {
  flush_->SetCallback(&cmcComm::OnFlush, this);
}

cmcComm::~cmcComm() {
  Close();
  // flush_ releases its task by the task rule, before device_ goes.
  flush_.reset();
}

namespace {

void ApplyFormat(const platform::LineFormat& format, platform::SerialLineSettings* line) {
  line->baudRate = format.baudRate;
  line->parity = format.parity;
  line->flags &= ~platform::kDcbParity;
  if (format.parity != platform::kParityNone) line->flags |= platform::kDcbParity;
  line->byteSize = format.byteSize;
  line->stopBits = format.stopBits;
}

}  // namespace

bool cmcComm::ParseSettings(std::string_view text, platform::SerialLineSettings* line) {
  platform::LineFormat format{line->baudRate, line->parity, line->byteSize, line->stopBits};
  if (!ParseFormat(text, &format)) return false;
  ApplyFormat(format, line);
  return true;
}

bool cmcComm::ParseFormat(std::string_view text, platform::LineFormat* line) {
  // UTF-8 continuation bytes never equal ',', so a plain split is safe.
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = text.find(',');
    fields.push_back(Trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  fields.resize(std::max<std::size_t>(fields.size(), 4));

  const long baud = LeadingNumber(fields[0]);
  if (baud <= 0) return false;  // also guards the division in the write time-out
  line->baudRate = static_cast<std::uint32_t>(baud);

  const char parity = fields[1].empty() ? 'N' : static_cast<char>(fields[1][0] & ~0x20);
  switch (parity) {
    case 'O': line->parity = platform::kParityOdd; break;
    case 'E': line->parity = platform::kParityEven; break;
    case 'M': line->parity = platform::kParityMark; break;
    case 'S': line->parity = platform::kParitySpace; break;
    default: line->parity = platform::kParityNone; break;
  }

  if (!fields[2].empty())
    line->byteSize = static_cast<int>(std::clamp(LeadingNumber(fields[2]), 4L, 8L));

  if (fields[3] == "1.5") {
    line->stopBits = platform::kStopOneAndHalf;
  } else if (fields[3] == "2") {
    line->stopBits = platform::kStopTwo;
  } else {
    line->stopBits = platform::kStopOne;
  }
  return true;
}

platform::SerialTimeouts cmcComm::Timeouts() const {
  platform::SerialTimeouts t;  // reads return at once with what is waiting
  t.writeTotalMultiplier = 100000u / std::max<std::uint32_t>(line_.baudRate, 1);
  t.writeTotalConstant = kWriteConstantMs;
  return t;
}

bool cmcComm::Open(int portNumber, const std::string& settings) {
  platform::LineFormat format;
  return OpenNumber(portNumber, ParseFormat(settings, &format) ? &format : nullptr);
}

bool cmcComm::Open(int portNumber, const platform::LineFormat& format) {
  return OpenNumber(portNumber, &format);
}

bool cmcComm::OpenDevice(const std::string& path, const std::string& settings) {
  platform::LineFormat format;
  return OpenNamed(path, ParseFormat(settings, &format) ? &format : nullptr);
}

bool cmcComm::OpenDevice(const std::string& path, const platform::LineFormat& format) {
  return OpenNamed(path, &format);
}

bool cmcComm::OpenNamed(const std::string& path, const platform::LineFormat* format) {
  if (IsOpen()) return false;
  portNumber_ = 0;
  return OpenPath(path, format);
}

bool cmcComm::OpenNumber(int portNumber, const platform::LineFormat* format) {
  if (IsOpen()) return false;
  portNumber_ = portNumber;
  const std::string path = PortDevicePath(portNumber);
  if (path.empty()) {
    writeFailed_ = false;
    devicePath_.clear();
    return Refuse({platform::SerialFault::kUnmapped, 0});
  }
  return OpenPath(path, format);
}

bool cmcComm::Refuse(platform::SerialError error) {
  failure_ = {error, portNumber_, devicePath_};
  return false;
}

bool cmcComm::OpenPath(const std::string& path, const platform::LineFormat* format) {
  writeFailed_ = false;
  devicePath_ = path;
  line_ = DefaultLine();
  // A rate of 0 would also divide by zero in the write time-out.
  if (!format || format->baudRate == 0) return Refuse({platform::SerialFault::kSettingsRefused, 0});
  ApplyFormat(*format, &line_);
  if (!device_->Open(path)) return Refuse(device_->OpenError());
  // Any refusal after the device opened closes it again, so a failed open
  // never leaves the port held.
  const bool ok = device_->SetQueueSizes(kInputQueueSize, kOutputQueueSize) && device_->Purge() &&
                  device_->SetTimeouts(Timeouts()) && device_->SetLine(line_);
  if (!ok) {
    device_->Close();
    return Refuse({platform::SerialFault::kSettingsRefused, 0});
  }
  failure_ = {};
  return true;
}

void cmcComm::Close() {
  flush_->SetInterval(-1);
  if (device_->IsOpen()) device_->Close();
  pending_.Clear();
  writeFailed_ = false;
}

bool cmcComm::IsOpen() const { return device_->IsOpen(); }

int cmcComm::Write(const void* bytes, int count) {
  if (!IsOpen()) return 0;
  flush_->SetInterval(-1);
  pending_.Append(bytes, count);
  flush_->SetInterval(0);
  FlushStep();
  return 0;
}

int cmcComm::Read(void* buffer, int max) {
  if (!IsOpen() || max <= 0) return 0;
  const int n = std::min(max, InputCount());
  if (n <= 0) return 0;
  const int got = device_->Read(buffer, n);
  return got > 0 ? got : 0;
}

int cmcComm::InputCount() {
  if (!IsOpen()) return 0;
  return std::max(device_->InputCount(), 0);
}

int cmcComm::OutputQueued() {
  if (!IsOpen()) return 0;
  return std::max(device_->OutputQueued(), 0);
}

int cmcComm::PendingOutput() { return OutputQueued() + pending_.Size(); }

void cmcComm::OnFlush(void* context, cmcTask*) { static_cast<cmcComm*>(context)->FlushStep(); }

void cmcComm::FlushStep() {
  int next = -1;
  if (IsOpen()) {
    const int chunk = std::min(pending_.Size(), kOutputQueueSize);
    if (OutputQueued() != 0) {
      next = kFlushRetryMs;  // one chunk in the driver at a time
    } else if (chunk > 0) {
      const int written = device_->Write(pending_.Data(), chunk);
      if (written < chunk) {
        writeFailed_ = true;  // the pending bytes stay; the task stops
      } else if (chunk < pending_.Size()) {
        pending_.Assign(pending_.Data() + chunk, pending_.Size() - chunk);
        next = kFlushRetryMs;
      } else {
        pending_.Resize(0);
      }
    }
  }
  flush_->SetInterval(next);
}
