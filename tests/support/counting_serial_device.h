// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The platform's own serial device, counting how many of its kind are open
// at one moment and at most: a test of several exchanges at once sees
// whether they really overlapped and whether every port was closed.
//
//   auto count = std::make_shared<OpenCount>();
//   cmcRadioFinder finder(CountingDevices(count));
//   ... count->now, count->most ...

#include <algorithm>
#include <memory>
#include <string>

#include "platform/serial_device.h"

struct OpenCount {
  int now = 0;
  int most = 0;
};

class CountingDevice : public platform::SerialDevice {
 public:
  explicit CountingDevice(std::shared_ptr<OpenCount> count)
      : inner_(platform::CreateNativeSerialDevice()), count_(std::move(count)) {}
  ~CountingDevice() override { CountingDevice::Close(); }

  bool Open(const std::string& path) override {
    const bool open = inner_->Open(path);
    SetOpenError(inner_->OpenError().fault, inner_->OpenError().systemCode);
    if (open) count_->most = std::max(count_->most, ++count_->now);
    return open;
  }
  bool IsOpen() const override { return inner_->IsOpen(); }
  void Close() override {
    if (!inner_->IsOpen()) return;
    inner_->Close();
    --count_->now;
  }
  bool SetQueueSizes(int in, int out) override { return inner_->SetQueueSizes(in, out); }
  bool Purge() override { return inner_->Purge(); }
  bool SetTimeouts(const platform::SerialTimeouts& t) override { return inner_->SetTimeouts(t); }
  bool SetLine(const platform::SerialLineSettings& l) override { return inner_->SetLine(l); }
  int Read(void* buffer, int max) override { return inner_->Read(buffer, max); }
  int Write(const void* bytes, int count) override { return inner_->Write(bytes, count); }
  int InputCount() override { return inner_->InputCount(); }
  int OutputQueued() override { return inner_->OutputQueued(); }

 private:
  std::unique_ptr<platform::SerialDevice> inner_;
  std::shared_ptr<OpenCount> count_;
};

inline platform::SerialDeviceFactory CountingDevices(std::shared_ptr<OpenCount> count) {
  return [count = std::move(count)] { return std::make_unique<CountingDevice>(count); };
}
