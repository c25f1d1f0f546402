// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's clean exchanges, driven over its pseudo-terminal the way
// the program's driver drives a radio.

#include <QFile>
#include <QList>

#include "radio_sim_fixture.h"

namespace simtest {
namespace {

using RadioSimExchange = RadioSimTest;

TEST_F(RadioSimExchange, InformationRequestGetsEchoThenTheIdentityReply) {
  Start();
  const Bytes got = Exchange(kInfoRequest, 0xE1);

  // The echo first, then exactly one reply frame and nothing else.
  const Bytes reply =
      Concat(Concat(Hex("FE FE EF EE E1 58 16 00 01"), DefaultPayload(image_)), Hex("FD"));
  EXPECT_EQ(got, Concat(kInfoRequest, reply));
}

TEST_F(RadioSimExchange, RequestForAnotherModelCodeIsIgnored) {
  Start();
  const Bytes other = Hex("FE FE EE EF E0 58 17 00 00 FD");
  client_->Send(other);
  const Bytes got = Exchange(kInfoRequest, 0xE1);

  // The second echo follows the first at once: no answer came between.
  ASSERT_GE(got.size(), 20u);
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 20), Concat(other, kInfoRequest));
  EXPECT_EQ(RadioFrames(got).size(), 1u);
}

struct FrameSizeCase {
  int size;
  unsigned frames;
};

void PrintTo(const FrameSizeCase& c, std::ostream* os) { *os << c.size << " bytes a frame"; }

class RadioSimRead : public RadioSimTest, public ::testing::WithParamInterface<FrameSizeCase> {};

TEST_P(RadioSimRead, ReadSendsTheImageInCheckedFramesAndCountsThem) {
  const FrameSizeCase c = GetParam();
  Start({"--frame-size", QString::number(c.size)});
  const Bytes got = Exchange(kReadRequest, 0xE5);
  ASSERT_GE(got.size(), kReadRequest.size());
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 10), kReadRequest);

  const std::vector<Frame> frames = RadioFrames(got);
  ASSERT_EQ(frames.size(), c.frames + 1);
  Bytes image(kImageSize, 0);
  unsigned next = 0;
  for (unsigned i = 0; i < c.frames; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(frames[i].command, 0xE4);
    const Decoded d = DecodeData(frames[i].body);
    ASSERT_TRUE(d.ok) << frames[i].body;
    EXPECT_EQ(d.address, next);
    EXPECT_EQ(d.data.size(), std::min<unsigned>(c.size, kReadEnd - next));
    std::copy(d.data.begin(), d.data.end(), image.begin() + d.address);
    next = d.address + static_cast<unsigned>(d.data.size());
  }
  EXPECT_EQ(next, kReadEnd);
  EXPECT_EQ(frames.back(), RadioEndFrame(c.frames));
  // The sample image holds nothing from CF0 on, so the whole of it arrived.
  EXPECT_EQ(image, image_);
}

INSTANTIATE_TEST_SUITE_P(FrameSizes, RadioSimRead,
                         ::testing::Values(FrameSizeCase{16, 207}, FrameSizeCase{32, 104},
                                           FrameSizeCase{255, 13}),
                         [](const ::testing::TestParamInfo<FrameSizeCase>& info) {
                           return "Size" + std::to_string(info.param.size);
                         });

TEST_F(RadioSimExchange, AcceptedWriteChangesTheImageAndTheSavedFile) {
  Start({"--save", savePath_});
  Bytes fresh(32);
  for (unsigned i = 0; i < fresh.size(); ++i) fresh[i] = static_cast<std::uint8_t>(0xA0 + i);
  const Bytes comment = Hex("4E 45 57 20 43 4F 4D 4D 45 4E 54 20 20 20 20 20");  // "NEW COMMENT "
  Bytes sent = kWriteRequest;
  sent = Concat(sent, ProgramDataFrame(0x000, Bytes(fresh.begin(), fresh.begin() + 16)));
  sent = Concat(sent, ProgramDataFrame(0x010, Bytes(fresh.begin() + 16, fresh.end())));
  sent = Concat(sent, ProgramDataFrame(0x9C0, comment));
  sent = Concat(sent, ProgramEndFrame(3));

  const Bytes got = Exchange(sent, 0xE6);
  EXPECT_EQ(got, Concat(sent, Hex("FE FE EF EE E6 00 FD")));

  Bytes expected = image_;
  std::copy(fresh.begin(), fresh.end(), expected.begin());
  std::copy(comment.begin(), comment.end(), expected.begin() + 0x9C0);
  Bytes saved;
  QByteArray header;
  ASSERT_TRUE(ReadCloneFile(savePath_, saved, &header));
  EXPECT_EQ(header, "58160001");
  EXPECT_EQ(saved, expected);
  QFile file(savePath_);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[1], "#Comment=NEW COMMENT\r");
  EXPECT_EQ(lines[2], "#MapRev=1\r");
  EXPECT_EQ(lines.size(), 3 + 207 + 1);  // the last line end leaves an empty piece

  // The radio now holds what was written: a read sends it back.
  const std::vector<Frame> frames = RadioFrames(Exchange(kReadRequest, 0xE5));
  EXPECT_EQ(frames, Concat(ReadFrames(expected), {RadioEndFrame(207)}));
}

TEST_F(RadioSimExchange, WritingTheActiveDealerCopyChangesTheReportedVersion) {
  Start();
  Bytes block(image_.begin() + 0xB70, image_.begin() + 0xB80);
  block[0xC] = 0x03;  // B7C-B7D: version 0305
  block[0xD] = 0x05;
  const Bytes write =
      Concat(Concat(kWriteRequest, ProgramDataFrame(0xB70, block)), ProgramEndFrame(1));
  ASSERT_EQ(RadioFrames(Exchange(write, 0xE6)).back().body, std::string(1, '\0'));

  Bytes payload = DefaultPayload(image_);
  payload[26] = 0x03;
  payload[27] = 0x05;
  EXPECT_EQ(RadioFrames(Exchange(kInfoRequest, 0xE1)).back().body,
            std::string("\x58\x16\x00\x01", 4) + std::string(payload.begin(), payload.end()));
}

struct BadWriteCase {
  const char* name;
  std::vector<Bytes> frames;  // data frames, then the end frame
};

void PrintTo(const BadWriteCase& c, std::ostream* os) { *os << c.name; }

class RadioSimBadWrite : public RadioSimTest, public ::testing::WithParamInterface<BadWriteCase> {};

TEST_P(RadioSimBadWrite, IsAnsweredWithResult01AndChangesNothing) {
  Start({"--save", savePath_});
  Bytes sent = kWriteRequest;
  for (const Bytes& f : GetParam().frames) sent = Concat(sent, f);

  const Bytes got = Exchange(sent, 0xE6);
  EXPECT_EQ(got, Concat(sent, Hex("FE FE EF EE E6 01 FD")));
  EXPECT_FALSE(QFile::exists(savePath_));
  const std::vector<Frame> frames = RadioFrames(Exchange(kReadRequest, 0xE5));
  EXPECT_EQ(frames, Concat(ReadFrames(image_), {RadioEndFrame(207)}));
}

Bytes WithByte(Bytes frame, std::size_t at, std::uint8_t value) {
  frame[at] = value;
  return frame;
}

const Bytes kSixteen(16, 0x5A);

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioSimBadWrite,
    ::testing::Values(
        BadWriteCase{"WrongCount",
                     {ProgramDataFrame(0x000, kSixteen), ProgramDataFrame(0x010, kSixteen),
                      ProgramEndFrame(1)}},
        // The checksum of this frame is 50; its last character becomes 1.
        BadWriteCase{
            "BadChecksum",
            {WithByte(ProgramDataFrame(0x000, kSixteen), 5 + 39, '1'), ProgramEndFrame(1)}},
        // The first data byte 5A written as "5a".
        BadWriteCase{"LowerCaseHex",
                     {WithByte(ProgramDataFrame(0x000, kSixteen), 5 + 7, 'a'), ProgramEndFrame(1)}},
        BadWriteCase{"BeyondTheImage", {ProgramDataFrame(0xED0, kSixteen), ProgramEndFrame(1)}},
        BadWriteCase{"EndTextWrong",
                     {ProgramDataFrame(0x000, kSixteen),
                      Hex("FE FE EE EF E5 5A 65 6C 6D 20 49 6E 63 21 30 31 FD")}}),
    [](const ::testing::TestParamInfo<BadWriteCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace simtest
