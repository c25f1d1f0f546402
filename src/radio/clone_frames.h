// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Frames of the clone protocol, as pure functions: building the frames the
// program sends, assembling frames out of the received byte stream, and
// checking what the radio sent. The driver keeps only the sequencing.
//
// Every frame is FE FE, two address bytes (EE EF from the program, EF EE
// from the radio), a command byte, a body and FD. A received frame is taken
// from its last FE, so as parsed it reads FE EF EE, command, body.

#include <cstdint>
#include <string_view>

#include "base/buff.h"
#include "model/addr_range.h"
#include "radio/clone_drv_result.h"

namespace cloneframe {

constexpr std::uint8_t kPreamble = 0xFE;
constexpr std::uint8_t kTerminator = 0xFD;
constexpr std::uint8_t kInfoRequest = 0xE0;
constexpr std::uint8_t kInfoReply = 0xE1;
constexpr std::uint8_t kReadRequest = 0xE2;
constexpr std::uint8_t kWriteRequest = 0xE3;
constexpr std::uint8_t kData = 0xE4;
constexpr std::uint8_t kEnd = 0xE5;
constexpr std::uint8_t kWriteResult = 0xE6;

// The maker's mark carried by every end frame.
constexpr std::string_view kEndMark = "Zelm Inc.";
// The longest frame assembly keeps; a byte beyond it means garbage or a
// broken radio, never a frame worth waiting for.
constexpr int kMaxAssembled = 521;
constexpr int kMinReadFrame = 12;
constexpr int kMaxReadFrame = 522;
constexpr int kBlockSize = 16;

// Turns the digit pairs of a hex text into bytes. Characters that are not
// hex digits are skipped; a final odd digit becomes the high half of a last
// byte.
cmcBuff HexTextBytes(std::string_view text);

// E0, E2 or E3 with the two request values, high bytes first.
cmcBuff RequestFrame(std::uint8_t command, std::uint16_t value1, std::uint16_t value2);

// Makes the sum of the address bytes, n, the data and the result 0 mod 256.
std::uint8_t DataChecksum(int address, const std::uint8_t* data, int n);
// A program data frame: address, count, data and checksum in upper-case hex.
cmcBuff DataFrame(int address, const std::uint8_t* data, int n);
// A program end frame counting frameCount data frames (mod 256).
cmcBuff EndFrame(int frameCount);

// Bytes the data frame at address carries: up to the next 16-byte boundary,
// cut at the range's last address.
int DataFrameLength(int address, int lastAddress);

// Frame assembly from the received stream: FE restarts the frame, bytes
// before any FE are dropped, FD completes it (and is not stored).
class Assembler {
 public:
  enum Result { kNone, kComplete, kOverflow };
  // On kComplete the frame is in Frame(); the caller takes it and calls
  // Reset. On kOverflow the assembly has already been cleared.
  Result Push(std::uint8_t byte);
  const cmcBuff& Frame() const { return frame_; }
  void Reset() { frame_.Clear(); }

 private:
  cmcBuff frame_;
};

// Information reply: status 0 with the values and payload filled in, or 6.
CloneStatus CheckInformationReply(const cmcBuff& frame, int& value1, int& value2, cmcBuff& payload);
// Write result: 0 only for exactly FE EF EE E6 00, else 10.
CloneStatus CheckWriteResult(const cmcBuff& frame);

// A received frame of a read, split into its parts.
struct ReadFrame {
  std::uint8_t command = 0;
  int address = 0;  // data frames
  cmcBuff data;     // data frames
};
// Checks the frame's length, sender and, for a data frame, its hex body and
// checksum. Returns 0 with the frame decoded, or 6.
CloneStatus DecodeReadFrame(const cmcBuff& frame, ReadFrame& out);
// End frame body against the number of data frames accepted: 0, 6 or 7.
CloneStatus CheckEndFrame(const cmcBuff& frame, int acceptedFrames);

// Sets the coverage bits of address .. address + n - 1, growing the bitmap
// as needed. Addresses must be non-negative.
void MarkCoverage(cmcBuff& coverage, int address, int n);
// End of a read: 0 when exactly the requested addresses came, 9 when any
// came from outside them, else 8.
CloneStatus CheckCoverage(const cmcBuff& received, const clsAddrRangeList& ranges, int imageSize);

}  // namespace cloneframe
