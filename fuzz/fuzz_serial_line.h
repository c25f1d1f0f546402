// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial device for the driver harness: the cable echoes every byte the
// program writes at once, and the "radio" is a script of byte segments.
// Segment 0 arrives after the program's first complete frame (its request),
// segment 1 after its end frame E5 (a write's last frame), each behind the
// echo of the frame that released it. Reads hand out at most `chunk` bytes,
// so frames arrive split over the driver's ticks. Nothing here waits: time
// is the virtual time of the test.
//
// Header-only, so that a regression test can replay a finding through the
// very same line.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_device.h"

namespace fuzz {

struct ScriptLine {
  std::vector<std::vector<std::uint8_t>> segments;
  int chunk = 256;
  int corruptEcho = -1;  // index of the written byte whose echo comes back changed
  int writeLimit = -1;   // writes accept no more than this many bytes in all
  int hangUpAfter = -1;  // the device fails every call once this many bytes were read
  bool openFails = false;

  // Record.
  bool isOpen = false;
  int opens = 0;
  int closes = 0;
  int frames = 0;
  int written = 0;
  int delivered = 0;
  std::size_t released = 0;
  std::deque<std::uint8_t> input;
  std::vector<std::uint8_t> frame;  // program frame being collected
  bool sawEndFrame = false;

  void Release() {
    if (released < segments.size()) {
      const auto& s = segments[released++];
      input.insert(input.end(), s.begin(), s.end());
    }
  }
};

class ScriptDevice : public platform::SerialDevice {
 public:
  explicit ScriptDevice(ScriptLine& line) : line_(line) {}
  bool Open(const std::string&) override {
    if (line_.openFails || line_.isOpen) return false;
    line_.isOpen = true;
    ++line_.opens;
    return true;
  }
  bool IsOpen() const override { return line_.isOpen; }
  void Close() override {
    if (!line_.isOpen) return;
    line_.isOpen = false;
    ++line_.closes;
  }
  bool SetQueueSizes(int, int) override { return true; }
  bool Purge() override {
    line_.input.clear();
    return true;
  }
  bool SetTimeouts(const platform::SerialTimeouts&) override { return true; }
  bool SetLine(const platform::SerialLineSettings&) override { return true; }
  int Read(void* buffer, int maxBytes) override {
    if (!line_.isOpen || HungUp()) return -1;
    int n = std::min({maxBytes, line_.chunk, static_cast<int>(line_.input.size())});
    if (line_.hangUpAfter >= 0) n = std::min(n, line_.hangUpAfter - line_.delivered);
    line_.delivered += n;
    auto* out = static_cast<std::uint8_t*>(buffer);
    for (int i = 0; i < n; ++i) {
      out[i] = line_.input.front();
      line_.input.pop_front();
    }
    return n;
  }
  int Write(const void* bytes, int count) override {
    if (!line_.isOpen || HungUp()) return -1;
    if (line_.writeLimit >= 0) count = std::clamp(line_.writeLimit - line_.written, 0, count);
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    for (int i = 0; i < count; ++i) {
      const std::uint8_t b = in[i];
      const int index = line_.written++;
      line_.input.push_back(index == line_.corruptEcho ? static_cast<std::uint8_t>(b ^ 0x5A) : b);
      if (b == 0xFE) {
        line_.frame.assign(1, b);
      } else if (b == 0xFD && !line_.frame.empty()) {
        const bool end = line_.frame.size() > 3 && line_.frame[3] == 0xE5;  // FE EE EF E5
        line_.frame.clear();
        if (line_.frames++ == 0) {
          line_.Release();
        } else if (end && !line_.sawEndFrame) {
          line_.sawEndFrame = true;
          while (line_.released < 1) line_.Release();
          line_.Release();
        }
      } else if (!line_.frame.empty()) {
        line_.frame.push_back(b);
      }
    }
    return count;
  }
  int InputCount() override {
    return line_.isOpen && !HungUp() ? static_cast<int>(line_.input.size()) : -1;
  }
  int OutputQueued() override { return line_.isOpen && !HungUp() ? 0 : -1; }

 private:
  bool HungUp() const { return line_.hangUpAfter >= 0 && line_.delivered >= line_.hangUpAfter; }

  ScriptLine& line_;
};

}  // namespace fuzz
