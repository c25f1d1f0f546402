// SPDX-License-Identifier: GPL-3.0-or-later
// Frames of the clone protocol: what the program sends, and which frames of
// the radio are accepted.
#include <gtest/gtest.h>
#include "support/codes.h"

#include <string>
#include <vector>

#include "radio/clone_frames.h"

namespace cf = cloneframe;

namespace {

std::vector<int> Bytes(const cmcBuff& b) { return {b.begin(), b.end()}; }

// A frame as the assembler hands it over: one FE, the radio's address
// bytes, the command and the body, without FD.
cmcBuff RadioFrame(std::uint8_t command, std::string_view body) {
  cmcBuff f{0xFE, 0xEF, 0xEE, command};
  f.Append(body);
  return f;
}

// A received data frame carrying data at address, hex-encoded with the
// checksum the program would compute.
std::string DataBody(int address, const std::vector<std::uint8_t>& data) {
  const cmcBuff sent = cf::DataFrame(address, data.data(), static_cast<int>(data.size()));
  // Drop FE FE EE EF E4 and the closing FD.
  return std::string(sent.View().substr(5, sent.View().size() - 6));
}

TEST(CloneFrames, RequestFramesCarryCommandAndBothValuesHighByteFirst) {
  EXPECT_EQ(Bytes(cf::RequestFrame(cf::kInfoRequest, 0x5816, 0)),
            (std::vector<int>{0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0x58, 0x16, 0x00, 0x00, 0xFD}));
  EXPECT_EQ(Bytes(cf::RequestFrame(cf::kReadRequest, 0x5816, 0)),
            (std::vector<int>{0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x58, 0x16, 0x00, 0x00, 0xFD}));
  EXPECT_EQ(Bytes(cf::RequestFrame(cf::kWriteRequest, 0x1234, 0xABCD)),
            (std::vector<int>{0xFE, 0xFE, 0xEE, 0xEF, 0xE3, 0x12, 0x34, 0xAB, 0xCD, 0xFD}));
}

TEST(CloneFrames, HexTextSkipsNonDigitsAndPadsAnOddLastDigit) {
  EXPECT_EQ(Bytes(cf::HexTextBytes("FE fe-0a x1")), (std::vector<int>{0xFE, 0xFE, 0x0A, 0x10}));
  EXPECT_TRUE(cf::HexTextBytes("zz  ").Empty());
}

TEST(CloneFrames, DataFrameForSixteenZeroBytesAt0A40) {
  const std::vector<std::uint8_t> zeros(16, 0);
  const cmcBuff frame = cf::DataFrame(0x0A40, zeros.data(), 16);
  cmcBuff expected{0xFE, 0xFE, 0xEE, 0xEF, 0xE4};
  expected.Append("0A4010" + std::string(32, '0') + "A6");
  expected.AppendByte(0xFD);
  EXPECT_EQ(frame.ToString(), expected.ToString());
}

TEST(CloneFrames, DataFramesUseUpperCaseHexAndAChecksumThatZeroesTheSum) {
  // 0C + FE + 04 + AB + CD + EF + FF = 0x474, so the checksum is 0x100 - 0x74.
  const std::vector<std::uint8_t> data{0xAB, 0xCD, 0xEF, 0xFF};
  EXPECT_EQ(cf::DataChecksum(0x0CFE, data.data(), 4), 0x8C);
  const cmcBuff frame = cf::DataFrame(0x0CFE, data.data(), 4);
  EXPECT_EQ(std::string(frame.View().substr(5, frame.Size() - 6)), "0CFE04ABCDEFFF8C");
}

TEST(CloneFrames, SentFramesStopAtSixteenByteBoundariesAndRangeEnds) {
  // 0x005-0x014 goes out as 11 bytes at 0x005 and 5 bytes at 0x010.
  struct Case {
    int address, last, n;
  };
  const Case cases[] = {
      {0x005, 0x014, 11}, {0x010, 0x014, 5}, {0x000, 0x9FF, 16},
      {0x9F0, 0x9FF, 16}, {0xA40, 0xA41, 2}, {0x00F, 0x100, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cf::DataFrameLength(c.address, c.last), c.n) << std::hex << c.address;
  }
}

TEST(CloneFrames, EndFrameCarriesMarkAndFrameCountModulo256) {
  const cmcBuff frame = cf::EndFrame(160);
  EXPECT_EQ(frame.ToString(), std::string("\xFE\xFE\xEE\xEF\xE5Zelm Inc.A0\xFD"));
  EXPECT_EQ(cf::EndFrame(0x1A5).ToString(), std::string("\xFE\xFE\xEE\xEF\xE5Zelm Inc.A5\xFD"));
}

TEST(CloneFrames, AssemblyRestartsAtEachPreambleAndDropsStrayBytes) {
  cf::Assembler a;
  std::vector<std::string> frames;
  const std::vector<std::uint8_t> line{0x11, 0x22, 0xFD,                          // stray
                                       0xFE, 0xFE, 0xEF, 0xEE, 0xE6, 0x00, 0xFD,  // frame
                                       0x33, 0xFE, 0x01,                          // cut off
                                       0xFE, 0xEF, 0xEE, 0xE6, 0x01, 0xFD};       // frame
  for (std::uint8_t c : line) {
    if (a.Push(c) == cf::Assembler::kComplete) {
      frames.push_back(a.Frame().ToString());
      a.Reset();
    }
  }
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0], std::string("\xFE\xEF\xEE\xE6\x00", 5));
  EXPECT_EQ(frames[1], std::string("\xFE\xEF\xEE\xE6\x01", 5));
}

TEST(CloneFrames, AssemblyNeverKeepsMoreThan521Bytes) {
  cf::Assembler a;
  EXPECT_EQ(a.Push(0xFE), cf::Assembler::kNone);
  for (int i = 1; i < cf::kMaxAssembled; ++i) ASSERT_EQ(a.Push('0'), cf::Assembler::kNone);
  EXPECT_EQ(a.Frame().Size(), cf::kMaxAssembled);
  EXPECT_EQ(a.Push('0'), cf::Assembler::kOverflow);
  EXPECT_TRUE(a.Frame().Empty());
  // Garbage keeps being dropped until the next preamble.
  EXPECT_EQ(a.Push(0xFD), cf::Assembler::kNone);
}

TEST(CloneFrames, InformationReplyValuesMustBeDecimalDigits) {
  struct Case {
    std::vector<std::uint8_t> frame;
    int status, v1, v2;
    int payload;
  };
  const Case cases[] = {
      {{0xFE, 0xEF, 0xEE, 0xE1, 0x58, 0x16, 0x00, 0x01, 0x1C, 0x11}, 0, 0x5816, 1, 2},
      {{0xFE, 0xEF, 0xEE, 0xE1, 0x58, 0x16, 0x00, 0x00}, 0, 0x5816, 0, 0},
      {{0xFE, 0xEF, 0xEE, 0xE1, 0x3A, 0x16, 0x00, 0x01}, 6, 0, 0, 0},
      {{0xFE, 0xEF, 0xEE, 0xE1, 0x58, 0x16, 0x00, 0x0A}, 6, 0, 0, 0},
      {{0xFE, 0xEF, 0xEE, 0xE1, 0x58, 0x16, 0x00}, 6, 0, 0, 0},
      {{0xFE, 0xEE, 0xEF, 0xE1, 0x58, 0x16, 0x00, 0x01}, 6, 0, 0, 0},
      {{0xFE, 0xEF, 0xEE, 0xE6, 0x58, 0x16, 0x00, 0x01}, 6, 0, 0, 0},
      {{0x00}, 6, 0, 0, 0},
  };
  for (const Case& c : cases) {
    int v1 = 0, v2 = 0;
    cmcBuff payload;
    const cmcBuff frame(c.frame.data(), static_cast<int>(c.frame.size()));
    ASSERT_EQ(Num(cf::CheckInformationReply(frame, v1, v2, payload)), c.status) << frame.Size();
    if (c.status == 0) {
      EXPECT_EQ(v1, c.v1);
      EXPECT_EQ(v2, c.v2);
      EXPECT_EQ(payload.Size(), c.payload);
    }
  }
}

TEST(CloneFrames, OnlyAnExactZeroWriteResultIsAccepted) {
  EXPECT_EQ(Num(cf::CheckWriteResult({0xFE, 0xEF, 0xEE, 0xE6, 0x00})), 0);
  EXPECT_EQ(Num(cf::CheckWriteResult({0xFE, 0xEF, 0xEE, 0xE6, 0x01})), 10);
  EXPECT_EQ(Num(cf::CheckWriteResult({0xFE, 0xEF, 0xEE, 0xE6, 0x00, 0x00})), 10);
  EXPECT_EQ(Num(cf::CheckWriteResult({0xFE, 0xEF, 0xEE, 0xE1, 0x00})), 10);
  EXPECT_EQ(Num(cf::CheckWriteResult({0x00})), 10);
}

TEST(CloneFrames, ReceivedDataFrameDecodes) {
  cf::ReadFrame out;
  ASSERT_EQ(
      Num(cf::DecodeReadFrame(RadioFrame(cf::kData, DataBody(0x123, {1, 2, 0xFE, 0xFD})), out)), 0);
  EXPECT_EQ(out.command, cf::kData);
  EXPECT_EQ(out.address, 0x123);
  EXPECT_EQ(Bytes(out.data), (std::vector<int>{1, 2, 0xFE, 0xFD}));
  // Frames from the radio may carry more than 16 bytes.
  ASSERT_EQ(Num(cf::DecodeReadFrame(
                RadioFrame(cf::kData, DataBody(0x10, std::vector<std::uint8_t>(40, 7))), out)),
            0);
  EXPECT_EQ(out.data.Size(), 40);
}

TEST(CloneFrames, CorruptReceivedFramesAreMalformed) {
  const std::string good = DataBody(0x040, {0x12, 0x34, 0xAB, 0xCD});  // 0040 04 1234ABCD cs
  std::string lower = good;
  lower[8] = 'a';  // "AB" -> "aB"
  std::string badSum = good;
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  std::string wrongCount = good;
  wrongCount[5] = '5';  // announces 5 bytes, carries 4 (checksum fixed below)
  wrongCount.replace(wrongCount.size() - 2, 2, [&] {
    unsigned s = 0x00 + 0x40 + 5 + 0x12 + 0x34 + 0xAB + 0xCD;
    char c[3];
    std::snprintf(c, 3, "%02X", (0x100 - (s & 0xFF)) & 0xFF);
    return std::string(c);
  }());
  struct Case {
    const char* what;
    cmcBuff frame;
  };
  const Case cases[] = {
      {"lower-case digit", RadioFrame(cf::kData, lower)},
      {"odd body length", RadioFrame(cf::kData, good + "0")},
      {"wrong checksum", RadioFrame(cf::kData, badSum)},
      {"count disagrees with length", RadioFrame(cf::kData, wrongCount)},
      {"non-hex character", RadioFrame(cf::kData, "0040 1" + good.substr(6))},
      {"program's own address bytes",
       [&] {
         cmcBuff f{0xFE, 0xEE, 0xEF, cf::kData};
         f.Append(good);
         return f;
       }()},
      {"too short", RadioFrame(cf::kData, "000000")},
      {"too long", RadioFrame(cf::kData, std::string(520, '0'))},
      {"unknown command", RadioFrame(0xE7, good)},
      {"write result during a read", RadioFrame(cf::kWriteResult, good)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cf::ReadFrame out;
    EXPECT_EQ(Num(cf::DecodeReadFrame(c.frame, out)), 6);
  }
}

TEST(CloneFrames, EndFrameCountMustMatchTheAcceptedFrames) {
  cf::ReadFrame out;
  ASSERT_EQ(Num(cf::DecodeReadFrame(RadioFrame(cf::kEnd, "Zelm Inc.CF"), out)), 0);
  EXPECT_EQ(out.command, cf::kEnd);
  struct Case {
    std::string body;
    int accepted, status;
  };
  const Case cases[] = {
      {"Zelm Inc.CF", 0xCF, 0}, {"Zelm Inc.00", 256, 0},  {"Zelm Inc.CE", 0xCF, 7},
      {"Zelm Inc.cf", 0xCF, 7}, {"Zelm Inc,CF", 0xCF, 6}, {"Zelm Inc.CF0", 0xCF, 6},
      {"Zelm Inc.C", 0xCF, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    EXPECT_EQ(Num(cf::CheckEndFrame(RadioFrame(cf::kEnd, c.body), c.accepted)), c.status);
  }
}

TEST(CloneFrames, CoverageComparesReceivedWithRequestedAddresses) {
  const clsAddrRangeList ranges{{0x000, 0x00F}, {0x020, 0x024}, {1, 0}, {0x030, 0x03F}};
  const int size = 0x40;
  auto covered = [](std::initializer_list<std::pair<int, int>> spans) {
    cmcBuff c;
    for (auto [a, n] : spans) cf::MarkCoverage(c, a, n);
    return c;
  };
  struct Case {
    const char* what;
    cmcBuff received;
    int status;
  };
  const Case cases[] = {
      {"exactly the ranges (terminator ends the list)", covered({{0x000, 16}, {0x020, 5}}), 0},
      {"one address missing", covered({{0x000, 16}, {0x020, 4}}), 8},
      {"nothing received", cmcBuff(), 8},
      {"an address outside the ranges", covered({{0x000, 16}, {0x020, 6}}), 9},
      {"data after the terminator", covered({{0x000, 16}, {0x020, 5}, {0x030, 1}}), 9},
      {"bitmap longer than the image", covered({{0x000, 16}, {0x020, 5}, {0x040, 1}}), 9},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Num(cf::CheckCoverage(c.received, ranges, size)), c.status) << c.what;
}

TEST(CloneFrames, CoverageBitsFollowTheAddressNumbering) {
  cmcBuff c;
  cf::MarkCoverage(c, 9, 3);  // bits 1..3 of byte 1
  EXPECT_EQ(Bytes(c), (std::vector<int>{0x00, 0x0E}));
}

}  // namespace
