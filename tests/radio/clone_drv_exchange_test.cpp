// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol driver on virtual time against a scripted radio behind an
// echoing cable: each outcome of an exchange, the frames that went out and
// how long the driver waited.
#include <gtest/gtest.h>
#include "support/codes.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/tick_counter.h"
#include "platform/virtual_timer_service.h"
#include "radio/clone_drv.h"
#include "radio/comm.h"
#include "radio/scripted_serial_device.h"

namespace {

constexpr int kImageSize = 3796;

cmcEeprom PatternImage(int seed) {
  cmcEeprom image(kImageSize);
  for (int a = 0; a < kImageSize; ++a) image.SetByte(a, static_cast<std::uint8_t>(a * 7 + seed));
  return image;
}

std::vector<std::uint8_t> Slice(const cmcEeprom& image, int address, int n) {
  return {image.Data() + address, image.Data() + address + n};
}

// A radio that answers the information request.
ScriptedLine::Radio InfoRadio(cmcBuff reply) {
  return [reply](const cmcBuff& frame, ScriptedLine& line) {
    if (frame[3] == 0xE0) line.Reply(reply);
  };
}

std::vector<std::uint8_t> InfoPayload() {
  std::vector<std::uint8_t> p(28, 0);
  p[0] = 28;
  p[2] = 1;
  return p;
}

// A radio that sends the frames a test makes when asked to read.
ScriptedLine::Radio ReadRadio(std::function<std::vector<cmcBuff>()> frames) {
  return [frames](const cmcBuff& frame, ScriptedLine& line) {
    if (frame[3] != 0xE2) return;
    for (const cmcBuff& f : frames()) line.Reply(f);
  };
}

// The radio's whole answer to a read of the given ranges, in 16-byte frames.
std::vector<cmcBuff> ReadAnswer(const cmcEeprom& image, const clsAddrRangeList& ranges,
                                int countAdjust = 0) {
  std::vector<cmcBuff> out;
  for (const clsAddrRange& r : ranges) {
    for (int a = r.first; a <= r.last; a += 16) {
      out.push_back(radioframe::Data(a, Slice(image, a, std::min(16, r.last - a + 1))));
    }
  }
  out.push_back(radioframe::End(static_cast<int>(out.size()) + countAdjust));
  return out;
}

// A radio that takes a write and answers the end frame with code (or not
// at all when code is negative), keeping what it received.
ScriptedLine::Radio WriteRadio(int code, cmcEeprom* received = nullptr) {
  return [code, received](const cmcBuff& frame, ScriptedLine& line) {
    if (frame[3] == 0xE4 && received) {
      int address = 0;
      const auto data = radioframe::DataOf(frame, &address);
      received->WriteBlock(address, data.data(), static_cast<int>(data.size()));
    }
    if (frame[3] == 0xE5 && code >= 0)
      line.Reply(radioframe::WriteResult(static_cast<std::uint8_t>(code)));
  };
}

class CloneDrvExchange : public ::testing::Test {
 protected:
  struct Outcome {
    int calls = 0;
    std::optional<dst_CDrv_Result> result;
    std::uint32_t doneAt = 0;
    bool busyInCompletion = true;
    bool portOpenInCompletion = true;
  };

  void SetUp() override {
    drv = std::make_unique<cmcCloneDrv>(std::make_unique<ScriptedSerialDevice>(line));
    drv->SetRequestValues(0x5816, 0);
    drv->SetImageSize(kImageSize);
    drv->SetPortDevice("scripted", platform::LineFormat{});
  }

  cmcCloneDrv::CompletionFn Recorder() {
    return [this](dst_CDrv_Result& r) {
      ++outcome.calls;
      outcome.result = r;
      outcome.doneAt = platform::TickCount();
      outcome.busyInCompletion = drv->IsBusy();
      outcome.portOpenInCompletion = drv->Port().IsOpen();
    };
  }

  // Runs until the completion came, and a little longer to see that it
  // does not come twice.
  void RunToEnd(int limitMs = 60000) {
    ASSERT_TRUE(time.AdvanceUntil([this] { return outcome.calls > 0; }, limitMs));
    time.AdvanceBy(100);
  }

  // Virtual time between the last byte the program read (or the start of
  // the exchange) and the end.
  int Quiet() const {
    return static_cast<int>(outcome.doneAt - std::max(startedAt, line.lastReadAt));
  }

  platform::ScopedVirtualTime time;  // before the driver, whose tasks take its timers
  ScriptedLine line;
  std::unique_ptr<cmcCloneDrv> drv;
  Outcome outcome;
  std::uint32_t startedAt = 0;
};

enum class Op { kInfo, kRead, kWrite };

struct Case {
  const char* behaviour;
  Op op;
  clsAddrRangeList ranges;
  std::function<void(ScriptedLine&)> script;
  int status;
  const char* commands;    // the frames the radio heard
  int quietMin, quietMax;  // virtual ms between the last byte in and the end
};

TEST_F(CloneDrvExchange, EachRadioBehaviourEndsWithItsStatus) {
  const cmcEeprom radioImage = PatternImage(3);
  const clsAddrRangeList small{{0x000, 0x03F}};
  auto answerWith = [&](std::function<void(std::vector<cmcBuff>&)> spoil) {
    return [&radioImage, &small, spoil](ScriptedLine& l) {
      l.radio = ReadRadio([&radioImage, &small, spoil] {
        auto frames = ReadAnswer(radioImage, small);
        spoil(frames);
        return frames;
      });
    };
  };
  const Case cases[] = {
      {"information answered",
       Op::kInfo,
       {},
       [](ScriptedLine& l) {
         l.radio = InfoRadio(radioframe::Info(0x58, 0x16, 0x00, 0x01, InfoPayload()));
       },
       0,
       "E0",
       0,
       20},
      {"read answered in full", Op::kRead, small, answerWith([](auto&) {}), 0, "E2", 0, 20},
      {"write accepted", Op::kWrite, small, [](ScriptedLine& l) { l.radio = WriteRadio(0); }, 0,
       "E3 E4*4 E5", 0, 20},
      {"port cannot be opened", Op::kRead, small, [](ScriptedLine& l) { l.openFails = true; }, 2,
       "", 0, 50},
      // Nothing ever comes in: four ticks and the settling pause after the
      // port opened to the request, then the time-out.
      {"echo never comes",
       Op::kInfo,
       {},
       [](ScriptedLine& l) { l.echoLimit = 0; },
       4,
       "E0",
       1040 + cmcCloneDrv::kSettleMs,
       1060 + cmcCloneDrv::kSettleMs},
      {"echo comes back changed",
       Op::kInfo,
       {},
       [](ScriptedLine& l) {
         l.corruptEcho = 5;
         l.radio = InfoRadio(radioframe::Info(0x58, 0x16, 0x00, 0x01, InfoPayload()));
       },
       4,
       "E0",
       0,
       200},
      {"echo stops in the middle of the data",
       Op::kWrite,
       {{0x000, 0x1FF}},
       [](ScriptedLine& l) {
         l.echoLimit = 600;
         l.radio = WriteRadio(0);
       },
       4,
       "E3 E4**",
       1000,
       1020},
      {"radio silent after the read request", Op::kRead, small, [](ScriptedLine&) {}, 5, "E2", 1000,
       1020},
      {"radio stops in the middle of a read", Op::kRead, small,
       answerWith([](auto& f) { f.resize(2); }), 5, "E2", 1000, 1020},
      {"radio never answers the end frame", Op::kWrite, small,
       [](ScriptedLine& l) { l.radio = WriteRadio(-1); }, 5, "E3 E4*4 E5", 2000, 2020},
      {"information values not decimal",
       Op::kInfo,
       {},
       [](ScriptedLine& l) {
         l.radio = InfoRadio(radioframe::Info(0x3A, 0x16, 0x00, 0x01, InfoPayload()));
       },
       6,
       "E0",
       0,
       20},
      {"lower-case digit in a data frame", Op::kRead, small, answerWith([](auto& f) {
         auto letter = std::find_if(f[1].begin() + 5, f[1].end(),
                                    [](std::uint8_t c) { return c >= 'A' && c <= 'F'; });
         *letter = static_cast<std::uint8_t>(*letter | 0x20);
       }),
       6, "E2", 0, 20},
      {"wrong checksum in a data frame", Op::kRead, small,
       answerWith([](auto& f) { f[2][f[2].Size() - 2] ^= 1; }), 6, "E2", 0, 20},
      {"endless garbage after a preamble", Op::kRead, small, answerWith([](auto& f) {
         cmcBuff junk{0xFE};
         junk.AppendFill('0', 2000);
         f.insert(f.begin(), junk);
       }),
       6, "E2", 0, 20},
      {"end frame counts one frame fewer", Op::kRead, small,
       answerWith([](auto& f) { f.back() = radioframe::End(static_cast<int>(f.size()) - 2); }), 7,
       "E2", 0, 20},
      {"a frame of the range never comes", Op::kRead, small, answerWith([](auto& f) {
         f.erase(f.begin() + 1);
         f.back() = radioframe::End(static_cast<int>(f.size()) - 1);
       }),
       8, "E2", 0, 20},
      {"data beyond the last image address", Op::kRead, small, answerWith([](auto& f) {
         f.insert(f.begin(), radioframe::Data(0xED0, std::vector<std::uint8_t>(8, 1)));
       }),
       9, "E2", 0, 20},
      {"data outside the requested range", Op::kRead, small, answerWith([](auto& f) {
         f.insert(f.begin(), radioframe::Data(0x100, {1, 2}));
         f.back() = radioframe::End(static_cast<int>(f.size()) - 1);
       }),
       9, "E2", 0, 20},
      {"radio refuses the write", Op::kWrite, small,
       [](ScriptedLine& l) { l.radio = WriteRadio(1); }, 10, "E3 E4*4 E5", 0, 20},
      {"radio answers the write with another frame", Op::kWrite, small,
       [](ScriptedLine& l) {
         l.radio = [](const cmcBuff& f, ScriptedLine& line) {
           if (f[3] == 0xE5) line.Reply(radioframe::Info(0x58, 0x16, 0, 1, {}));
         };
       },
       10, "E3 E4*4 E5", 0, 20},
      {"device takes only part of a write", Op::kWrite, small,
       [](ScriptedLine& l) {
         l.writeLimit = 100;
         l.radio = WriteRadio(0);
       },
       17, "E3 E4", 0, 20},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    line = ScriptedLine();
    outcome = Outcome();
    c.script(line);
    const cmcEeprom source = PatternImage(9);
    startedAt = platform::TickCount();
    bool started = false;
    switch (c.op) {
      case Op::kInfo: started = drv->StartInformation(Recorder()); break;
      case Op::kRead: started = drv->StartRead(c.ranges, Recorder()); break;
      case Op::kWrite: started = drv->StartWrite(source, c.ranges, Recorder()); break;
    }
    ASSERT_TRUE(started);
    RunToEnd();

    EXPECT_EQ(outcome.calls, 1);
    ASSERT_TRUE(outcome.result);
    EXPECT_EQ(Num(outcome.result->status), c.status);
    EXPECT_EQ(Num(outcome.result->operation), static_cast<int>(c.op) + 1);
    const std::string commands = line.Commands();
    if (std::string(c.commands).ends_with("**")) {
      // Cut off somewhere in the data: only the start is fixed.
      EXPECT_TRUE(commands.starts_with(std::string(c.commands, std::strlen(c.commands) - 1)))
          << commands;
      EXPECT_EQ(commands.find("E5"), std::string::npos) << commands;
    } else {
      EXPECT_EQ(commands, c.commands);
    }
    EXPECT_GE(Quiet(), c.quietMin);
    EXPECT_LE(Quiet(), c.quietMax);
    // Idle, with the port closed and drained, before the completion ran.
    EXPECT_FALSE(outcome.busyInCompletion);
    EXPECT_FALSE(outcome.portOpenInCompletion);
    EXPECT_EQ(line.opens, line.closes);
    if (c.status != 17 && line.opens > 0) {
      EXPECT_EQ(line.outputAtClose, 0);
    }
    EXPECT_FALSE(drv->IsBusy());
  }
}

TEST_F(CloneDrvExchange, InformationReplyHandsOverValuesAndPayload) {
  std::vector<std::uint8_t> payload = InfoPayload();
  payload[3] = 'H';
  line.radio = InfoRadio(radioframe::Info(0x58, 0x16, 0x00, 0x01, payload));
  ASSERT_TRUE(drv->StartInformation(Recorder()));
  RunToEnd();
  ASSERT_EQ(Num(outcome.result->status), 0);
  EXPECT_EQ(outcome.result->value1, 0x5816);
  EXPECT_EQ(outcome.result->value2, 1);
  EXPECT_EQ(
      std::vector<std::uint8_t>(outcome.result->payload.begin(), outcome.result->payload.end()),
      payload);
  EXPECT_EQ(line.frames.at(0).ToString(), std::string("\xFE\xEE\xEF\xE0\x58\x16\x00\x00", 8));
}

TEST_F(CloneDrvExchange, ReadFillsTheImageAndCoverageOfTheRequestedRanges) {
  const cmcEeprom radioImage = PatternImage(3);
  const clsAddrRangeList ranges{{0x000, 0xCEF}};
  line.radio = ReadRadio([&] { return ReadAnswer(radioImage, ranges); });
  ASSERT_TRUE(drv->StartRead(ranges, Recorder()));
  RunToEnd();
  ASSERT_EQ(Num(outcome.result->status), 0);
  const cmcEeprom& got = outcome.result->image;
  ASSERT_EQ(got.Size(), kImageSize);
  EXPECT_EQ(Slice(got, 0, 0xCF0), Slice(radioImage, 0, 0xCF0));
  EXPECT_EQ(Slice(got, 0xCF0, kImageSize - 0xCF0),
            std::vector<std::uint8_t>(kImageSize - 0xCF0, 0));
  EXPECT_EQ(outcome.result->coverage.Size(), 0xCF0 / 8);
  EXPECT_EQ(drv->DataBytes(), 0xCF0);
  EXPECT_EQ(drv->DataFrames(), 0xCF);
}

TEST_F(CloneDrvExchange, RadioFramesMayCarryAnyLengthAndMayComeUnaligned) {
  const cmcEeprom radioImage = PatternImage(5);
  const clsAddrRangeList ranges{{0x003, 0x0FF}};
  line.radio = ReadRadio([&] {
    return std::vector<cmcBuff>{radioframe::Data(0x003, Slice(radioImage, 0x003, 200)),
                                radioframe::Data(0x0CB, Slice(radioImage, 0x0CB, 0x35)),
                                radioframe::End(2)};
  });
  ASSERT_TRUE(drv->StartRead(ranges, Recorder()));
  RunToEnd();
  ASSERT_EQ(Num(outcome.result->status), 0);
  EXPECT_EQ(Slice(outcome.result->image, 0x003, 0xFD), Slice(radioImage, 0x003, 0xFD));
}

TEST_F(CloneDrvExchange, WriteOf000To9FFSends160FullFramesAndCountA0) {
  cmcEeprom received(kImageSize);
  line.radio = WriteRadio(0, &received);
  const cmcEeprom source = PatternImage(11);
  ASSERT_TRUE(drv->StartWrite(source, {{0x000, 0x9FF}, {1, 0}, {0xA40, 0xA4F}}, Recorder()));
  RunToEnd();
  ASSERT_EQ(Num(outcome.result->status), 0);
  EXPECT_EQ(line.Commands(), "E3 E4*160 E5");
  for (std::size_t i = 1; i <= 160; ++i) {
    int address = -1;
    ASSERT_EQ(radioframe::DataOf(line.frames[i], &address).size(), 16u) << i;
    ASSERT_EQ(address, static_cast<int>(i - 1) * 16);
  }
  EXPECT_EQ(line.frames.back().ToString(), std::string("\xFE\xEE\xEF\xE5Zelm Inc.A0"));
  EXPECT_EQ(Slice(received, 0, 0xA00), Slice(source, 0, 0xA00));
  // The terminator ends the list: nothing after it goes out.
  EXPECT_EQ(Slice(received, 0xA00, kImageSize - 0xA00),
            std::vector<std::uint8_t>(kImageSize - 0xA00, 0));
  EXPECT_EQ(drv->DataBytes(), 0xA00);
  EXPECT_TRUE(outcome.result->image.Equals(source));
}

TEST_F(CloneDrvExchange, WriteFramesStopAtSixteenByteBoundaries) {
  line.radio = WriteRadio(0);
  ASSERT_TRUE(drv->StartWrite(PatternImage(1), {{0x005, 0x014}, {0xCF0, 0xCF0}}, Recorder()));
  RunToEnd();
  ASSERT_EQ(Num(outcome.result->status), 0);
  ASSERT_EQ(line.Commands(), "E3 E4*3 E5");
  const std::pair<int, std::size_t> expected[] = {{0x005, 11}, {0x010, 5}, {0xCF0, 1}};
  for (int i = 0; i < 3; ++i) {
    int address = -1;
    EXPECT_EQ(radioframe::DataOf(line.frames[i + 1], &address).size(), expected[i].second);
    EXPECT_EQ(address, expected[i].first);
  }
  EXPECT_EQ(line.frames.back().ToString(), std::string("\xFE\xEE\xEF\xE5Zelm Inc.03"));
}

TEST_F(CloneDrvExchange, DataGoesOutNoFasterThanTheEchoComesBack) {
  // A slow cable, 3 ms a byte, so that the driver has to hold frames back.
  line.msPerByte = 3;
  line.radio = WriteRadio(0);
  ASSERT_TRUE(drv->StartWrite(PatternImage(2), {{0x000, 0x3FF}}, Recorder()));
  int maxPending = 0;
  ASSERT_TRUE(time.AdvanceUntil(
      [&] {
        maxPending = std::max(maxPending, drv->Port().PendingOutput());
        return outcome.calls > 0;
      },
      120000));
  ASSERT_EQ(Num(outcome.result->status), 0);
  EXPECT_EQ(line.Commands(), "E3 E4*64 E5");
  // No frame is made while more than 128 bytes of echo are owed, and every
  // byte not yet sent is owed: at most the allowance plus one frame waits.
  const int frameBytes = 5 + 4 + 2 + 32 + 2 + 1;
  EXPECT_LE(maxPending, cmcCloneDrv::kEchoAllowance + frameBytes);
  EXPECT_GT(maxPending, 2 * frameBytes);
}

TEST_F(CloneDrvExchange, FramesHeldBackAtTheEndOfTheListStillGoOut) {
  // A device that reports sent bytes as queued for a while makes the
  // driver hold the last frames back; they must not be forgotten.
  line.reportLagMs = 300;
  cmcEeprom received(kImageSize);
  line.radio = WriteRadio(0, &received);
  const cmcEeprom source = PatternImage(8);
  ASSERT_TRUE(drv->StartWrite(source, {{0x000, 0x0FF}}, Recorder()));
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 0);
  EXPECT_EQ(line.Commands(), "E3 E4*16 E5");
  EXPECT_EQ(Slice(received, 0, 0x100), Slice(source, 0, 0x100));
}

TEST_F(CloneDrvExchange, DrainThatNeverEndsKeepsTheFailure) {
  // The device goes on reporting its request as queued long after it left.
  line.reportLagMs = 60000;
  line.radio = InfoRadio(radioframe::Info(0x3A, 0x16, 0x00, 0x01, InfoPayload()));
  ASSERT_TRUE(drv->StartInformation(Recorder()));
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 6);
  EXPECT_GE(Quiet(), cmcCloneDrv::kTimeoutMs);
  EXPECT_LE(Quiet(), cmcCloneDrv::kTimeoutMs + 20);
  EXPECT_FALSE(line.isOpen);
}

TEST_F(CloneDrvExchange, WriteResultTimeOutCountsFromTheEndFramesLastEcho) {
  line.radio = WriteRadio(-1);
  line.msPerByte = 2;
  ASSERT_TRUE(drv->StartWrite(PatternImage(2), {{0x000, 0x00F}}, Recorder()));
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 5);
  // The end frame's echo is the last thing the program received.
  EXPECT_EQ(line.lastReadAt, line.lastSentAt);
  EXPECT_GE(Quiet(), cmcCloneDrv::kWriteResultTimeoutMs);
  EXPECT_LE(Quiet(), cmcCloneDrv::kWriteResultTimeoutMs + 20);
}

TEST_F(CloneDrvExchange, StartingWhileBusyChangesNothing) {
  line.radio = InfoRadio(radioframe::Info(0x58, 0x16, 0x00, 0x01, InfoPayload()));
  ASSERT_TRUE(drv->StartInformation(Recorder()));
  time.AdvanceBy(40);
  const int state = drv->GetState();
  int otherCalls = 0;
  auto other = [&](dst_CDrv_Result&) { ++otherCalls; };
  EXPECT_FALSE(drv->StartInformation(other));
  EXPECT_FALSE(drv->StartRead({{0, 15}}, other));
  EXPECT_FALSE(drv->StartWrite(PatternImage(1), {{0, 15}}, other));
  EXPECT_EQ(drv->GetState(), state);
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 0);
  EXPECT_EQ(outcome.result->operation, CloneOperation::kInformation);
  EXPECT_EQ(line.Commands(), "E0");
  EXPECT_EQ(otherCalls, 0);
}

TEST_F(CloneDrvExchange, RangesOutsideTheImageAreRefused) {
  drv->SetImageSize(0x100);
  const cmcEeprom source(0x100);
  EXPECT_FALSE(drv->StartRead({{0x000, 0x100}}, Recorder()));
  EXPECT_FALSE(drv->StartRead({{-1, 0x10}}, Recorder()));
  EXPECT_FALSE(drv->StartWrite(source, {{0x0F0, 0x0FF}, {0x0F0, 0x100}}, Recorder()));
  // Frames carry four hex digits of address, whatever the image size.
  drv->SetImageSize(0x10010);
  EXPECT_FALSE(drv->StartRead({{0xFFF0, 0x1000F}}, Recorder()));
  EXPECT_FALSE(drv->IsBusy());
  drv->SetImageSize(0x100);
  // After a terminator nothing counts.
  line.radio = WriteRadio(0);
  EXPECT_TRUE(drv->StartWrite(source, {{0x0F0, 0x0FF}, {1, 0}, {0x0F0, 0x100}}, Recorder()));
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 0);
}

TEST_F(CloneDrvExchange, CompletionMayStartTheNextExchange) {
  const cmcEeprom radioImage = PatternImage(4);
  const clsAddrRangeList ranges{{0x000, 0x01F}};
  line.radio = [&](const cmcBuff& frame, ScriptedLine& l) {
    if (frame[3] == 0xE0) l.Reply(radioframe::Info(0x58, 0x16, 0x00, 0x01, InfoPayload()));
    if (frame[3] == 0xE2) {
      for (const cmcBuff& f : ReadAnswer(radioImage, ranges)) l.Reply(f);
    }
  };
  int infoCalls = 0;
  ASSERT_TRUE(drv->StartInformation([&](dst_CDrv_Result& info) {
    ++infoCalls;
    EXPECT_EQ(Num(info.status), 0);
    EXPECT_TRUE(drv->StartRead(ranges, Recorder()));
  }));
  RunToEnd();
  EXPECT_EQ(infoCalls, 1);
  EXPECT_EQ(outcome.calls, 1);
  EXPECT_EQ(Num(outcome.result->status), 0);
  EXPECT_EQ(line.Commands(), "E0 E2");
  EXPECT_EQ(line.opens, 2);
  EXPECT_EQ(line.closes, 2);
  EXPECT_EQ(time.ActiveCount(), 0);
}

// The pause that lets the cable settle after the port opened is time on
// the driver's own task, not a sleep: on one thread with other cables'
// drivers (a fleet), a sleep would stop them all.
TEST_F(CloneDrvExchange, TheSettlingPauseIsAStateNotASleep) {
  line.radio = InfoRadio(radioframe::Info(0x58, 0x16, 0x00, 0x01, InfoPayload()));
  ASSERT_TRUE(drv->StartInformation(Recorder()));
  ASSERT_TRUE(time.AdvanceUntil([this] { return line.opens > 0; }, 5000));
  const std::uint32_t opened = platform::TickCount();
  EXPECT_EQ(line.written, 0);
  ASSERT_TRUE(time.AdvanceUntil([this] { return line.written > 0; }, 5000));
  EXPECT_GE(platform::TickCount() - opened, static_cast<std::uint32_t>(cmcCloneDrv::kSettleMs));
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 0);
}

TEST_F(CloneDrvExchange, AFailedExchangeCompletesOnce) {
  line.openFails = true;
  int calls = 0;
  int status = -1;
  ASSERT_TRUE(drv->StartRead({{0, 15}}, [&](dst_CDrv_Result& result) {
    ++calls;
    status = Num(result.status);
  }));
  ASSERT_TRUE(time.AdvanceUntil([&] { return calls > 0; }, 5000));
  time.AdvanceBy(500);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(status, 2);
  // An exchange without a completion still runs to its end.
  EXPECT_TRUE(drv->StartRead({{0, 15}}, nullptr));
  EXPECT_TRUE(time.AdvanceUntil([&] { return !drv->IsBusy(); }, 5000));
}

TEST_F(CloneDrvExchange, GarbageWhileAwaitingAReplyIsBoundedAndFails) {
  // A reply that never ends: the assembly gives up after 521 bytes.
  line.radio = [](const cmcBuff& frame, ScriptedLine& l) {
    if (frame[3] != 0xE0) return;
    cmcBuff junk{0xFE, 0xFE, 0xEF, 0xEE, 0xE1};
    junk.AppendFill(0x11, 3000);
    l.Reply(junk);
  };
  ASSERT_TRUE(drv->StartInformation(Recorder()));
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 6);
  EXPECT_TRUE(outcome.result->payload.Empty());
}

TEST_F(CloneDrvExchange, DestroyingABusyDriverClosesThePortWithoutCompletion) {
  line.radio = [](const cmcBuff&, ScriptedLine&) {};
  ASSERT_TRUE(drv->StartRead({{0, 15}}, Recorder()));
  time.AdvanceBy(200);
  ASSERT_TRUE(line.isOpen);
  drv.reset();
  EXPECT_FALSE(line.isOpen);
  time.AdvanceBy(3000);
  EXPECT_EQ(outcome.calls, 0);
}

}  // namespace

namespace {

TEST_F(CloneDrvExchange, AnswerThatCameWithTheEchoIsNotLeftWaiting) {
  // An instant line: the whole answer to a small read arrives in the same
  // read as the request's echo, and nothing comes after it.
  line.msPerByte = 0;
  const cmcEeprom radioImage = PatternImage(6);
  const clsAddrRangeList ranges{{0x000, 0x01F}};
  line.radio = ReadRadio([&] { return ReadAnswer(radioImage, ranges); });
  ASSERT_TRUE(drv->StartRead(ranges, Recorder()));
  RunToEnd();
  EXPECT_EQ(Num(outcome.result->status), 0);
  EXPECT_LT(outcome.doneAt, 200u);
}

}  // namespace
