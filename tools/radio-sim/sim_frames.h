// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's side of the clone protocol framing: building the frames the
// radio sends, and taking apart the frames the program sends.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kPreamble = 0xFE;
constexpr std::uint8_t kTerminator = 0xFD;

// Command bytes.
constexpr std::uint8_t kInfoRequest = 0xE0;
constexpr std::uint8_t kInfoReply = 0xE1;
constexpr std::uint8_t kReadRequest = 0xE2;
constexpr std::uint8_t kWriteRequest = 0xE3;
constexpr std::uint8_t kDataFrame = 0xE4;
constexpr std::uint8_t kEndFrame = 0xE5;
constexpr std::uint8_t kWriteResult = 0xE6;

// The two address bytes after the preamble: program frames carry EE EF,
// radio frames EF EE.
constexpr std::uint8_t kProgramAddress[2] = {0xEE, 0xEF};
constexpr std::uint8_t kRadioAddress[2] = {0xEF, 0xEE};

// The fixed text that opens the body of every end frame.
inline constexpr char kEndText[] = "Zelm Inc.";
constexpr std::size_t kEndTextLength = sizeof(kEndText) - 1;

// FE FE EF EE <command> <body> FD.
Bytes RadioFrame(std::uint8_t command, const Bytes& body);

// Upper-case hexadecimal text of the bytes, two characters each.
std::string HexText(const std::uint8_t* bytes, std::size_t n);

// The checksum that makes the address bytes, the count, the data and the
// checksum itself add up to 0 modulo 256.
std::uint8_t DataChecksum(std::uint16_t address, const std::uint8_t* data, std::size_t n);

// The ASCII body of a data frame: address, count, data and checksum.
std::string DataFrameBody(std::uint16_t address, const std::uint8_t* data, std::size_t n);

// The ASCII body of an end frame: "Zelm Inc." and the frame count modulo 256.
std::string EndFrameBody(unsigned frameCount);

// A decoded data frame from the program.
struct DataFrame {
  std::uint16_t address = 0;
  Bytes data;
};

// Why a data frame body was refused ("" when accepted).
struct DataFrameResult {
  std::optional<DataFrame> frame;
  std::string error;
};

// Decodes the ASCII body of a data frame the way the radio checks it:
// upper-case hex only, an even length, a count that matches the length and
// a checksum that brings the sum to 0.
DataFrameResult DecodeDataFrame(const Bytes& body);

// Assembles frames from a byte stream. A preamble byte restarts the frame,
// bytes outside a frame are dropped and the terminator completes it; the
// frame handed out starts at its last preamble byte and lacks the
// terminator, so a program frame reads FE EE EF <command> <body>.
class FrameAssembler {
 public:
  // Longest frame kept; a longer run of bytes is thrown away.
  static constexpr std::size_t kLimit = 1024;

  std::optional<Bytes> Push(std::uint8_t byte);
  void Reset() { frame_.clear(); }

 private:
  Bytes frame_;
};

}  // namespace sim
