// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_frames.h"

#include <cstdio>

namespace sim {

Bytes RadioFrame(std::uint8_t command, const Bytes& body) {
  Bytes frame{kPreamble, kPreamble, kRadioAddress[0], kRadioAddress[1], command};
  frame.insert(frame.end(), body.begin(), body.end());
  frame.push_back(kTerminator);
  return frame;
}

std::string HexText(const std::uint8_t* bytes, std::size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    text.push_back(digits[bytes[i] >> 4]);
    text.push_back(digits[bytes[i] & 0x0F]);
  }
  return text;
}

std::uint8_t DataChecksum(std::uint16_t address, const std::uint8_t* data, std::size_t n) {
  unsigned sum = (address >> 8) + (address & 0xFF) + static_cast<unsigned>(n);
  for (std::size_t i = 0; i < n; ++i) sum += data[i];
  return static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
}

std::string DataFrameBody(std::uint16_t address, const std::uint8_t* data, std::size_t n) {
  const std::uint8_t head[3] = {static_cast<std::uint8_t>(address >> 8),
                                static_cast<std::uint8_t>(address & 0xFF),
                                static_cast<std::uint8_t>(n)};
  const std::uint8_t sum = DataChecksum(address, data, n);
  return HexText(head, 3) + HexText(data, n) + HexText(&sum, 1);
}

std::string EndFrameBody(unsigned frameCount) {
  char count[3];
  std::snprintf(count, sizeof count, "%02X", frameCount & 0xFF);
  return std::string(kEndText) + count;
}

namespace {

int UpperHexValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

DataFrameResult DecodeDataFrame(const Bytes& body) {
  if (body.size() % 2 != 0) return {std::nullopt, "odd body length"};
  Bytes decoded;
  for (std::size_t i = 0; i < body.size(); i += 2) {
    const int high = UpperHexValue(body[i]);
    const int low = UpperHexValue(body[i + 1]);
    if (high < 0 || low < 0) return {std::nullopt, "not upper-case hexadecimal"};
    decoded.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  if (decoded.size() < 4) return {std::nullopt, "too short"};
  const std::size_t n = decoded[2];
  if (decoded.size() != n + 4) return {std::nullopt, "count does not match the length"};
  unsigned sum = 0;
  for (std::uint8_t b : decoded) sum += b;
  if ((sum & 0xFF) != 0) return {std::nullopt, "bad checksum"};
  DataFrame frame;
  frame.address = static_cast<std::uint16_t>(decoded[0] << 8 | decoded[1]);
  frame.data.assign(decoded.begin() + 3, decoded.begin() + 3 + static_cast<std::ptrdiff_t>(n));
  return {frame, ""};
}

std::optional<Bytes> FrameAssembler::Push(std::uint8_t byte) {
  if (byte == kPreamble) {
    frame_.assign(1, kPreamble);
    return std::nullopt;
  }
  if (frame_.empty()) return std::nullopt;
  if (byte == kTerminator) {
    Bytes done;
    done.swap(frame_);
    return done;
  }
  if (frame_.size() >= kLimit) {
    frame_.clear();
    return std::nullopt;
  }
  frame_.push_back(byte);
  return std::nullopt;
}

}  // namespace sim
