// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/scripted_serial_device.h"

#include <algorithm>
#include <cstdio>

#include "platform/tick_counter.h"

void ScriptedLine::Reply(const cmcBuff& bytes, int delayMs) {
  std::uint32_t at = std::max(now + static_cast<std::uint32_t>(delayMs), replyFree);
  for (std::uint8_t b : bytes) {
    at += static_cast<std::uint32_t>(msPerByte);
    // Keeps the input in time order among the echo already on its way.
    auto pos = std::upper_bound(input.begin(), input.end(), at,
                                [](std::uint32_t t, const Timed& e) { return t < e.at; });
    input.insert(pos, Timed{at, b});
  }
  replyFree = at;
  lastAnswerAt = std::max(lastAnswerAt, at);
  lastInputAt = std::max(lastInputAt, at);
}

std::string ScriptedLine::Commands() const {
  std::string out;
  std::size_t i = 0;
  while (i < frames.size()) {
    const int command = frames[i].Size() > 3 ? frames[i][3] : -1;
    std::size_t j = i;
    while (j < frames.size() && (frames[j].Size() > 3 ? frames[j][3] : -1) == command) ++j;
    char text[16];
    if (j - i > 1) {
      std::snprintf(text, sizeof text, "%02X*%zu", command & 0xFF, j - i);
    } else {
      std::snprintf(text, sizeof text, "%02X", command & 0xFF);
    }
    if (!out.empty()) out += ' ';
    out += text;
    i = j;
  }
  return out;
}

bool ScriptedSerialDevice::Open(const std::string&) {
  if (line_.openFails || line_.isOpen) return false;
  line_.isOpen = true;
  open_ = true;
  ++line_.opens;
  return true;
}

void ScriptedSerialDevice::Close() {
  if (!IsOpen()) return;
  open_ = false;
  Run();
  line_.isOpen = false;
  ++line_.closes;
  line_.outputAtClose = static_cast<int>(line_.output.size());
  line_.input.clear();
  line_.output.clear();
  line_.recentlySent.clear();
  line_.partial.Clear();
}

bool ScriptedSerialDevice::Purge() {
  line_.input.clear();
  line_.output.clear();
  return true;
}

void ScriptedSerialDevice::Run() {
  line_.now = platform::TickCount();
  while (!line_.output.empty() && line_.output.front().at <= line_.now) {
    const ScriptedLine::Timed sent = line_.output.front();
    line_.output.pop_front();
    line_.lastSentAt = sent.at;
    if (line_.reportLagMs > 0) line_.recentlySent.push_back(sent.at);
    const int index = line_.echoed++;
    if (line_.echoLimit < 0 || index < line_.echoLimit) {
      const std::uint8_t echo = index == line_.corruptEcho ? sent.byte ^ 0x5A : sent.byte;
      auto pos =
          std::upper_bound(line_.input.begin(), line_.input.end(), sent.at,
                           [](std::uint32_t t, const ScriptedLine::Timed& e) { return t < e.at; });
      line_.input.insert(pos, ScriptedLine::Timed{sent.at, echo});
      line_.lastInputAt = std::max(line_.lastInputAt, sent.at);
    }
    // The radio hears the line, not the echo.
    if (sent.byte == 0xFE) {
      line_.partial.Clear();
      line_.partial.AppendByte(sent.byte);
    } else if (sent.byte == 0xFD && !line_.partial.Empty()) {
      line_.frames.push_back(line_.partial);
      const cmcBuff frame = line_.partial;
      line_.partial.Clear();
      const std::uint32_t keep = line_.now;
      line_.now = sent.at;  // answers count from the end of the frame
      if (line_.radio) line_.radio(frame, line_);
      line_.now = keep;
    } else if (!line_.partial.Empty()) {
      line_.partial.AppendByte(sent.byte);
    }
  }
}

int ScriptedSerialDevice::Read(void* buffer, int maxBytes) {
  if (!IsOpen()) return -1;
  Run();
  auto* out = static_cast<std::uint8_t*>(buffer);
  int n = 0;
  while (n < maxBytes && !line_.input.empty() && line_.input.front().at <= line_.now) {
    out[n++] = line_.input.front().byte;
    line_.lastReadAt = std::max(line_.lastReadAt, line_.input.front().at);
    line_.input.pop_front();
  }
  return n;
}

int ScriptedSerialDevice::Write(const void* bytes, int count) {
  if (!IsOpen()) return -1;
  Run();
  int accepted = count;
  if (line_.writeLimit >= 0) accepted = std::clamp(line_.writeLimit - line_.written, 0, count);
  line_.written += accepted;
  std::uint32_t at = line_.output.empty() ? line_.now : line_.output.back().at;
  const auto* in = static_cast<const std::uint8_t*>(bytes);
  for (int i = 0; i < accepted; ++i) {
    at += static_cast<std::uint32_t>(line_.msPerByte);
    line_.output.push_back(ScriptedLine::Timed{at, in[i]});
  }
  line_.maxOutputQueued = std::max(line_.maxOutputQueued, static_cast<int>(line_.output.size()));
  return accepted;
}

int ScriptedSerialDevice::InputCount() {
  if (!IsOpen()) return -1;
  Run();
  return static_cast<int>(
      std::count_if(line_.input.begin(), line_.input.end(),
                    [&](const ScriptedLine::Timed& e) { return e.at <= line_.now; }));
}

int ScriptedSerialDevice::OutputQueued() {
  if (!IsOpen()) return -1;
  Run();
  const auto lag = static_cast<std::uint32_t>(line_.reportLagMs);
  while (!line_.recentlySent.empty() && line_.recentlySent.front() + lag <= line_.now) {
    line_.recentlySent.pop_front();
  }
  return static_cast<int>(line_.output.size() + line_.recentlySent.size());
}

namespace radioframe {
namespace {

void AppendHex(cmcBuff& out, unsigned value, int digits) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (int i = digits - 1; i >= 0; --i)
    out.AppendByte(static_cast<std::uint8_t>(kDigits[(value >> (4 * i)) & 0xF]));
}

cmcBuff Head(std::uint8_t command) { return cmcBuff{0xFE, 0xFE, 0xEF, 0xEE, command}; }

int HexDigit(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

cmcBuff Data(int address, const std::vector<std::uint8_t>& bytes) {
  cmcBuff f = Head(0xE4);
  int sum = (address >> 8) + (address & 0xFF) + static_cast<int>(bytes.size());
  AppendHex(f, static_cast<unsigned>(address), 4);
  AppendHex(f, static_cast<unsigned>(bytes.size()), 2);
  for (std::uint8_t b : bytes) {
    AppendHex(f, b, 2);
    sum += b;
  }
  AppendHex(f, static_cast<unsigned>(-sum) & 0xFF, 2);
  f.AppendByte(0xFD);
  return f;
}

cmcBuff End(int count) {
  cmcBuff f = Head(0xE5);
  f.Append("Zelm Inc.");
  AppendHex(f, static_cast<unsigned>(count) & 0xFF, 2);
  f.AppendByte(0xFD);
  return f;
}

cmcBuff Info(std::uint8_t v1h, std::uint8_t v1l, std::uint8_t v2h, std::uint8_t v2l,
             const std::vector<std::uint8_t>& payload) {
  cmcBuff f = Head(0xE1);
  for (std::uint8_t b : {v1h, v1l, v2h, v2l}) f.AppendByte(b);
  f.Append(payload.data(), static_cast<int>(payload.size()));
  f.AppendByte(0xFD);
  return f;
}

cmcBuff WriteResult(std::uint8_t code) {
  cmcBuff f = Head(0xE6);
  f.AppendByte(code);
  f.AppendByte(0xFD);
  return f;
}

std::vector<std::uint8_t> DataOf(const cmcBuff& frame, int* address) {
  std::vector<std::uint8_t> decoded;
  if (frame.Size() < 12 || frame[3] != 0xE4) return {};
  for (int i = 4; i + 1 < frame.Size(); i += 2) {
    decoded.push_back(static_cast<std::uint8_t>(HexDigit(frame[i]) * 16 + HexDigit(frame[i + 1])));
  }
  if (decoded.size() < 4) return {};
  *address = decoded[0] * 256 + decoded[1];
  return {decoded.begin() + 3, decoded.end() - 1};
}

}  // namespace radioframe
