// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/clone_frames.h"

#include "text/syntax.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace cloneframe {
namespace {

// The radio sends its ASCII values in upper case only; anything else in a
// data frame body is corruption on the line.
int UpperHexValue(std::uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendHexByte(cmcBuff& out, std::uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.AppendByte(static_cast<std::uint8_t>(kDigits[b >> 4]));
  out.AppendByte(static_cast<std::uint8_t>(kDigits[b & 0x0F]));
}

void AppendProgramHeader(cmcBuff& out, std::uint8_t command) {
  const std::uint8_t head[] = {kPreamble, kPreamble, 0xEE, 0xEF, command};
  out.Append(head, sizeof head);
}

bool IsFromRadio(const cmcBuff& frame) {
  return frame.Size() >= 4 && frame[0] == kPreamble && frame[1] == 0xEF && frame[2] == 0xEE;
}

}  // namespace

cmcBuff HexTextBytes(std::string_view text) { return HexadecimalBytes(text); }

cmcBuff RequestFrame(std::uint8_t command, std::uint16_t value1, std::uint16_t value2) {
  char text[48];
  std::snprintf(text, sizeof text, "FEFE EE EF %02X %04X %04X FD", command, value1, value2);
  return HexTextBytes(text);
}

std::uint8_t DataChecksum(int address, const std::uint8_t* data, int n) {
  unsigned sum = static_cast<unsigned>((address & 0xFF) + ((address >> 8) & 0xFF) + n);
  for (int i = 0; i < n; ++i) sum = (sum + data[i]) & 0xFF;
  return static_cast<std::uint8_t>((256 - sum) & 0xFF);
}

cmcBuff DataFrame(int address, const std::uint8_t* data, int n) {
  cmcBuff out;
  AppendProgramHeader(out, kData);
  AppendHexByte(out, static_cast<std::uint8_t>((address >> 8) & 0xFF));
  AppendHexByte(out, static_cast<std::uint8_t>(address & 0xFF));
  AppendHexByte(out, static_cast<std::uint8_t>(n));
  for (int i = 0; i < n; ++i) AppendHexByte(out, data[i]);
  AppendHexByte(out, DataChecksum(address, data, n));
  out.AppendByte(kTerminator);
  return out;
}

cmcBuff EndFrame(int frameCount) {
  cmcBuff out;
  AppendProgramHeader(out, kEnd);
  out.Append(kEndMark);
  AppendHexByte(out, static_cast<std::uint8_t>(frameCount & 0xFF));
  out.AppendByte(kTerminator);
  return out;
}

int DataFrameLength(int address, int lastAddress) {
  const int toBoundary = kBlockSize - address % kBlockSize;
  return std::min(toBoundary, lastAddress - address + 1);
}

Assembler::Result Assembler::Push(std::uint8_t byte) {
  if (byte == kPreamble) {
    frame_.Clear();
    frame_.AppendByte(byte);
    return kNone;
  }
  if (frame_.Empty()) return kNone;
  if (byte == kTerminator) return kComplete;
  if (frame_.Size() >= kMaxAssembled) {
    frame_.Clear();
    return kOverflow;
  }
  frame_.AppendByte(byte);
  return kNone;
}

CloneStatus CheckInformationReply(const cmcBuff& frame, int& value1, int& value2,
                                  cmcBuff& payload) {
  constexpr CloneStatus kBad = CloneStatus::kBadFrame;
  if (frame.Size() < 8 || !IsFromRadio(frame) || frame[3] != kInfoReply) return kBad;
  for (int i = 4; i < 8; ++i) {
    // The values travel as decimal digits, one per half byte.
    if ((frame[i] >> 4) > 9 || (frame[i] & 0x0F) > 9) return kBad;
  }
  value1 = (frame[4] << 8) | frame[5];
  value2 = (frame[6] << 8) | frame[7];
  payload.Assign(frame.Data() + 8, frame.Size() - 8);
  return CloneStatus::kOk;
}

CloneStatus CheckWriteResult(const cmcBuff& frame) {
  static constexpr std::uint8_t kAccepted[] = {kPreamble, 0xEF, 0xEE, kWriteResult, 0x00};
  const bool ok = frame.Size() == static_cast<int>(sizeof kAccepted) &&
                  std::memcmp(frame.Data(), kAccepted, sizeof kAccepted) == 0;
  return ok ? CloneStatus::kOk : CloneStatus::kWriteRefused;
}

CloneStatus DecodeReadFrame(const cmcBuff& frame, ReadFrame& out) {
  constexpr CloneStatus kBad = CloneStatus::kBadFrame;
  if (frame.Size() < kMinReadFrame || frame.Size() > kMaxReadFrame || !IsFromRadio(frame)) {
    return kBad;
  }
  out.command = frame[3];
  if (out.command == kEnd) return CloneStatus::kOk;
  if (out.command != kData) return kBad;

  const int bodyLength = frame.Size() - 4;
  if (bodyLength % 2 != 0) return kBad;
  cmcBuff decoded;
  unsigned sum = 0;
  for (int i = 4; i < frame.Size(); i += 2) {
    const int high = UpperHexValue(frame[i]);
    const int low = UpperHexValue(frame[i + 1]);
    if (high < 0 || low < 0) return kBad;
    const auto b = static_cast<std::uint8_t>((high << 4) | low);
    decoded.AppendByte(b);
    sum += b;
  }
  // At least 4 decoded bytes, since the frame is at least 12 bytes long.
  const int n = decoded[2];
  if (decoded.Size() != n + 4 || (sum & 0xFF) != 0) return kBad;
  out.address = (decoded[0] << 8) | decoded[1];
  out.data.Assign(decoded.Data() + 3, n);
  return CloneStatus::kOk;
}

CloneStatus CheckEndFrame(const cmcBuff& frame, int acceptedFrames) {
  const std::string_view body = frame.View().substr(std::min<std::size_t>(4, frame.View().size()));
  if (body.size() != kEndMark.size() + 2 || body.substr(0, kEndMark.size()) != kEndMark) {
    return CloneStatus::kBadFrame;
  }
  char count[3];
  std::snprintf(count, sizeof count, "%02X", acceptedFrames & 0xFF);
  if (body.substr(kEndMark.size()) != std::string_view(count, 2)) {
    return CloneStatus::kBadFrameCount;
  }
  return CloneStatus::kOk;
}

void MarkCoverage(cmcBuff& coverage, int address, int n) {
  if (n <= 0 || address < 0) return;
  const int lastByte = (address + n - 1) / 8;
  if (coverage.Size() <= lastByte) coverage.Resize(lastByte + 1);
  for (int a = address; a < address + n; ++a) {
    coverage[a / 8] = static_cast<std::uint8_t>(coverage[a / 8] | (1u << (a % 8)));
  }
}

CloneStatus CheckCoverage(const cmcBuff& received, const clsAddrRangeList& ranges, int imageSize) {
  cmcBuff expected;
  expected.Resize((std::max(imageSize, 0) + 7) / 8);
  for (const clsAddrRange& r : ranges) {
    if (r.IsTerminator()) break;
    const int first = std::max(r.first, 0);
    const int last = std::min(r.last, imageSize - 1);
    if (last >= first) MarkCoverage(expected, first, last - first + 1);
  }
  if (received.Size() > expected.Size()) return CloneStatus::kOutOfRange;
  bool missing = false;
  for (int i = 0; i < expected.Size(); ++i) {
    const std::uint8_t got = i < received.Size() ? received[i] : 0;
    if (got & ~expected[i]) return CloneStatus::kOutOfRange;
    if (got != expected[i]) missing = true;
  }
  return missing ? CloneStatus::kMissingData : CloneStatus::kOk;
}

}  // namespace cloneframe
