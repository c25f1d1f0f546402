// SPDX-License-Identifier: GPL-3.0-or-later
// Each fault of the simulator changes exactly what it names, and nothing
// else: the rest of the exchange stays byte for byte what a sound radio
// sends.

#include <QFile>

#include <algorithm>
#include <cctype>
#include <functional>

#include "radio_sim_fixture.h"

namespace simtest {
namespace {

Bytes InfoReply(const Bytes& values, const Bytes& payload) {
  return Concat(Concat(Concat(Hex("FE FE EF EE E1"), values), payload), Hex("FD"));
}

const Bytes kValues = Hex("58 16 00 01");

// ---------------------------------------------------------------------------
// Information reply

struct InfoCase {
  const char* name;
  QStringList options;
  std::function<void(Bytes& values, Bytes& payload)> change;
};

void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.name; }

class RadioSimInfoFault : public RadioSimTest, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(RadioSimInfoFault, ChangesOnlyItsPartOfTheReply) {
  Start(GetParam().options);
  Bytes values = kValues;
  Bytes payload = DefaultPayload(image_);
  GetParam().change(values, payload);
  EXPECT_EQ(Exchange(kInfoRequest, 0xE1), Concat(kInfoRequest, InfoReply(values, payload)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioSimInfoFault,
    ::testing::Values(
        InfoCase{
            "ReadForbidden", {"--fault", "read-forbidden"}, [](Bytes&, Bytes& p) { p[19] = 0x01; }},
        InfoCase{"OverTemp", {"--fault", "over-temp"}, [](Bytes&, Bytes& p) { p[19] = 0x02; }},
        InfoCase{"OverTempBit2",
                 {"--fault", "over-temp", "--fault-at", "2"},
                 [](Bytes&, Bytes& p) { p[19] = 0x04; }},
        InfoCase{"DcVoltage", {"--fault", "dc-voltage"}, [](Bytes&, Bytes& p) { p[19] = 0x08; }},
        InfoCase{
            "OverVoltage", {"--fault", "over-voltage"}, [](Bytes&, Bytes& p) { p[19] = 0x10; }},
        InfoCase{"Value2Zero", {"--fault", "value2-zero"}, [](Bytes& v, Bytes&) { v[3] = 0x00; }},
        // The sample radio is model type 3, so the other group is 8.
        InfoCase{"OtherModel", {"--fault", "other-model"}, [](Bytes&, Bytes& p) { p[21] = 8; }},
        InfoCase{"OtherModelChosen",
                 {"--fault", "other-model", "--fault-at", "11"},
                 [](Bytes&, Bytes& p) { p[21] = 11; }},
        InfoCase{"DealerVersion",
                 {"--dealer-version", "0205"},
                 [](Bytes&, Bytes& p) { p[26] = 0x02, p[27] = 0x05; }},
        InfoCase{"ExtraVersion",
                 {"--extra-version", "0013"},
                 [](Bytes&, Bytes& p) { p[24] = 0x00, p[25] = 0x13; }},
        InfoCase{"ExtraId",
                 {"--extra-id", "0203"},
                 [](Bytes&, Bytes& p) { p[22] = 0x02, p[23] = 0x03; }},
        InfoCase{"RevisionAndBattery",
                 {"--revision", "21", "--battery", "02"},
                 [](Bytes&, Bytes& p) { p[1] = 0x21, p[20] = 0x02; }}),
    [](const ::testing::TestParamInfo<InfoCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Read

struct ReadCase {
  const char* name;
  QStringList options;
  // From the clean frames (data frames only) and the image, the radio
  // frames the faulty read consists of, end frame included.
  std::function<std::vector<Frame>(std::vector<Frame> clean, Bytes image)> expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class RadioSimReadFault : public RadioSimTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(RadioSimReadFault, ChangesOnlyWhatItNames) {
  Start(GetParam().options);
  const Bytes got = Exchange(kReadRequest, 0xE5);
  ASSERT_GE(got.size(), 10u);
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 10), kReadRequest);
  EXPECT_EQ(RadioFrames(got), GetParam().expected(ReadFrames(image_), image_));
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioSimReadFault,
    ::testing::Values(
        ReadCase{"BadChecksum",
                 {"--fault", "bad-checksum", "--fault-at", "5"},
                 [](std::vector<Frame> f, Bytes) {
                   std::string& body = f[5].body;
                   const unsigned sum = std::stoul(body.substr(body.size() - 2), nullptr, 16);
                   char text[3];
                   std::snprintf(text, sizeof text, "%02X", (sum + 1) & 0xFF);
                   body.replace(body.size() - 2, 2, text);
                   return Concat(f, {RadioEndFrame(207)});
                 }},
        ReadCase{"LowerCase",
                 {"--fault", "lower-case", "--fault-at", "2"},
                 [](std::vector<Frame> f, Bytes) {
                   auto letter = [](const Frame& x) {
                     return std::any_of(x.body.begin(), x.body.end(),
                                        [](char c) { return c >= 'A' && c <= 'F'; });
                   };
                   auto it = std::find_if(f.begin() + 2, f.end(), letter);
                   it->body = Lower(it->body);
                   return Concat(f, {RadioEndFrame(207)});
                 }},
        ReadCase{"MissingFrame",
                 {"--fault", "missing-frame", "--fault-at", "3"},
                 [](std::vector<Frame> f, Bytes) {
                   f.erase(f.begin() + 3);
                   return Concat(f, {RadioEndFrame(206)});
                 }},
        ReadCase{"WrongCount",
                 {"--fault", "wrong-count"},
                 [](std::vector<Frame> f, Bytes) { return Concat(f, {RadioEndFrame(206)}); }},
        ReadCase{
            "BeyondImage",
            {"--fault", "beyond-image"},
            [](std::vector<Frame> f, Bytes) {
              // 16 bytes from 8 below the image's end.
              const Bytes wire = ProgramDataFrame(kImageSize - 8, Bytes(16, 0));
              f.push_back(Frame{0xEF, 0xEE, 0xE4, std::string(wire.begin() + 5, wire.end() - 1)});
              return Concat(f, {RadioEndFrame(208)});
            }},
        ReadCase{"NoSignature",
                 {"--fault", "no-signature"},
                 [](std::vector<Frame>, Bytes image) {
                   std::fill(image.begin() + 0x9D8, image.begin() + 0x9E0, 0);
                   return Concat(ReadFrames(image), {RadioEndFrame(207)});
                 }}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The line

using RadioSimLineFault = RadioSimTest;

TEST_F(RadioSimLineFault, WrongEchoAltersOnlyTheNamedByteOfTheSession) {
  // Byte 13 is the fourth byte of the second request.
  Start({"--fault", "wrong-echo", "--fault-at", "13"});
  const Bytes reply = InfoReply(kValues, DefaultPayload(image_));
  EXPECT_EQ(Exchange(kInfoRequest, 0xE1), Concat(kInfoRequest, reply));

  Bytes altered = kInfoRequest;
  altered[3] ^= 0x01;
  // The radio itself heard the request as sent, so it still answers.
  EXPECT_EQ(Exchange(kInfoRequest, 0xE1), Concat(altered, reply));
}

TEST_F(RadioSimLineFault, SilentRadioLeavesOnlyTheEcho) {
  Start({"--fault", "silent"});
  // A lone byte after each request: its echo can only follow whatever the
  // radio queued in answer to the request, so nothing between the two
  // echoes means no answer.
  for (const Bytes& request : {kInfoRequest, kReadRequest}) {
    const Bytes sent = Concat(request, Hex("00"));
    client_->Send(sent);
    EXPECT_EQ(client_->ReadCount(sent.size()), sent);
  }
}

TEST_F(RadioSimLineFault, StrayBytesGoBeforeTheNamedFrame) {
  Start({"--fault", "stray"});
  const Bytes stray = Hex("00 55 AA FD 0D 0A");
  EXPECT_EQ(Exchange(kInfoRequest, 0xE1),
            Concat(Concat(kInfoRequest, stray), InfoReply(kValues, DefaultPayload(image_))));
}

TEST_F(RadioSimLineFault, HangUpInAReadClosesTheLineAfterTheNamedFrames) {
  Start({"--fault", "hang-up", "--fault-at", "4"});
  client_->Send(kReadRequest);
  const Bytes got = client_->ReadUntil([](const Bytes&) { return false; });
  EXPECT_TRUE(client_->Ended());
  ASSERT_GE(got.size(), 10u);
  EXPECT_EQ(Bytes(got.begin(), got.begin() + 10), kReadRequest);
  const std::vector<Frame> clean = ReadFrames(image_);
  EXPECT_EQ(RadioFrames(got), std::vector<Frame>(clean.begin(), clean.begin() + 4));
  EXPECT_EQ(sim_.WaitForExit(), 0);
}

TEST_F(RadioSimLineFault, HangUpInAWriteClosesTheLineAfterTheNamedFrames) {
  Start({"--fault", "hang-up", "--fault-at", "2", "--save", savePath_});
  const Bytes first = Concat(kWriteRequest, Concat(ProgramDataFrame(0x000, Bytes(16, 1)),
                                                   ProgramDataFrame(0x010, Bytes(16, 2))));
  const Bytes rest = Concat(ProgramDataFrame(0x020, Bytes(16, 3)), ProgramEndFrame(3));
  client_->Send(Concat(first, rest));
  const Bytes got = client_->ReadUntil([](const Bytes&) { return false; });
  EXPECT_TRUE(client_->Ended());
  EXPECT_EQ(got, first);
  EXPECT_FALSE(QFile::exists(savePath_));
  EXPECT_EQ(sim_.WaitForExit(), 0);
}

TEST_F(RadioSimLineFault, HangUpAfterBytesCountsEverySentByte) {
  Start({"--fault", "hang-up-bytes", "--fault-at", "25"});
  client_->Send(kInfoRequest);
  const Bytes got = client_->ReadUntil([](const Bytes&) { return false; });
  EXPECT_TRUE(client_->Ended());
  const Bytes full = Concat(kInfoRequest, InfoReply(kValues, DefaultPayload(image_)));
  EXPECT_EQ(got, Bytes(full.begin(), full.begin() + 25));
}

}  // namespace
}  // namespace simtest
