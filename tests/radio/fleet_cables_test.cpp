// SPDX-License-Identifier: GPL-3.0-or-later
// The fleet run on several cables, each a scripted line with a radio of its
// own, on virtual time: the cables work at the same time, a failed radio
// costs the other cable nothing, and the log decides what is handed out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "document_test_support.h"
#include "radio/fleet_cables.h"

namespace {

using doctest::DocumentWorld;
using doctest::ManRadio;

struct Cable {
  ScriptedLine line;
  ManRadio radio;
};

class Station : public fleet::CableStation {
 public:
  Station(std::vector<std::unique_ptr<Cable>>& cables, UserQuestions& questions)
      : cables_(cables), questions_(questions) {}

  bool NextRound(const std::vector<fleet::Assignment>&) override { return true; }
  platform::SerialDeviceFactory Devices(int cable) override {
    ScriptedLine& line = cables_[static_cast<std::size_t>(cable)]->line;
    return [&line] { return std::make_unique<ScriptedSerialDevice>(line); };
  }
  void Prepare(int, cmcDocument& document) override {
    document.CloneMan().SetPortDevice("/dev/scripted");
    document.SetQuestions(&questions_);
  }
  int OpenImage(cmcDocument& document) override {
    document.Working().Assign(doctest::RadioImage());
    return 0;
  }
  int Status(CloneStatus status) override { return static_cast<int>(status); }
  int NotStarted(cmcDocument::StartResult) override { return -1; }
  std::string Failure(int status) override { return "failed " + std::to_string(status); }
  void Reached(const fleet::Assignment& radio, fleet::Stage stage) override {
    if (stage == fleet::Stage::kAsking)
      events.push_back("start " + std::to_string(radio.cable) + " " + radio.radio->id);
  }
  void Retired(int cable) override { events.push_back("retired " + std::to_string(cable)); }
  void Done(const fleet::Assignment& radio, const fleet::LogLine& line, int) override {
    events.push_back("done " + std::to_string(radio.cable) + " " + line.id + " " + line.result);
    if (afterDone) afterDone();
    afterDone = nullptr;
  }

  std::vector<std::string> events;
  std::function<void()> afterDone;  // once, after the first radio is done

 private:
  std::vector<std::unique_ptr<Cable>>& cables_;
  UserQuestions& questions_;
};

class FleetCables : public DocumentWorld {
 protected:
  void SetUp() override {
    DocumentWorld::SetUp();
    for (int c = 0; c < 2; ++c) {
      auto cable = std::make_unique<Cable>();
      cable->radio.keepsWrites = true;
      Cable* raw = cable.get();
      cable->line.radio = [raw](const cmcBuff& frame, ScriptedLine& l) {
        raw->radio.Serve(frame, l);
      };
      cables.push_back(std::move(cable));
    }
    log = dir.Path() + "/run.csv";
    for (int i = 1; i <= 5; ++i)
      radios.push_back({i + 1, "21100000" + std::to_string(i) + "1", std::nullopt});
  }

  fleet::Outcome Run(Station& station) {
    std::vector<const fleet::Radio*> pending;
    for (const fleet::Radio& r : radios) pending.push_back(&r);
    fleet::CableRun run(pending, log, 2, false, station);
    fleet::Outcome outcome;
    bool finished = false;
    run.Start([&](const fleet::Outcome& o) {
      outcome = o;
      finished = true;
    });
    EXPECT_TRUE(time.AdvanceUntil([&] { return finished; }, 600000));
    return outcome;
  }

  void Append(const char* text) {
    std::FILE* f = std::fopen(log.c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fputs(text, f);
    std::fclose(f);
  }

  std::vector<std::unique_ptr<Cable>> cables;
  std::vector<fleet::Radio> radios;
  std::string log;
};

TEST_F(FleetCables, CablesWorkAtOnceAndTheLogDecidesWhatIsHandedOut) {
  // The second cable's radio refuses every write; another run on the same
  // log programs the fifth identity while this one goes.
  cables[1]->radio.writeResult = 1;
  Station station(cables, questions);
  station.afterDone = [this] { Append("2026-12-11 01:20:49,2110000051,1.0,ok\r\n"); };
  const fleet::Outcome outcome = Run(station);
  EXPECT_EQ(outcome.status, Num(CloneStatus::kWriteRefused));
  EXPECT_FALSE(outcome.logFailed);
  // Both cables start before either radio is done; each goes on with the
  // next identity, after a failure too; the fifth is never handed out.
  ASSERT_EQ(station.events.size(), 8u);
  EXPECT_EQ(station.events[0], "start 0 2110000011");
  EXPECT_EQ(station.events[1], "start 1 2110000021");
  std::vector<std::string> done;
  std::string lastOk;
  for (const std::string& e : station.events) {
    if (e.rfind("done ", 0) != 0) continue;
    const std::string id = e.substr(7, 10);
    done.push_back(id);
    // The refusing radio is the second cable's, and only its radios fail.
    EXPECT_EQ(e.substr(18), e[5] == '0' ? "ok" : "failed 10") << e;
    if (e[5] == '0') lastOk = id;
  }
  std::sort(done.begin(), done.end());
  EXPECT_EQ(done,
            (std::vector<std::string>{"2110000011", "2110000021", "2110000031", "2110000041"}));
  // The first cable's radio holds the identity it was given last.
  std::string held;
  for (int i = 0; i < memmap::kAtisIdBytes; ++i) {
    const int b = cables[0]->radio.image.GetByte(memmap::kAtisId + i);
    held += std::to_string(b / 10) + std::to_string(b % 10);
  }
  EXPECT_EQ(held, lastOk);
}

// A cable without a radio (here its port cannot be opened) fails its first
// identity and takes no more: otherwise it would fail the whole list in
// turn while the other cable programs.
TEST_F(FleetCables, ACableWhoseRadioNeverAnswersTakesNoMoreIdentities) {
  cables[1]->line.openFails = true;
  Station station(cables, questions);
  const fleet::Outcome outcome = Run(station);
  EXPECT_EQ(outcome.status, Num(CloneStatus::kPortFailed));
  std::vector<std::string> ended;
  for (const std::string& e : station.events)
    if (e.rfind("start", 0) != 0) ended.push_back(e);
  const std::vector<std::string> expected = {"done 1 2110000021 failed 2", "retired 1",
                                             "done 0 2110000011 ok",       "done 0 2110000031 ok",
                                             "done 0 2110000041 ok",       "done 0 2110000051 ok"};
  EXPECT_EQ(ended, expected);
}

TEST_F(FleetCables, ALogThatCannotBeReadStopsTheHandOutAndTheRadioUnderWayFinishes) {
  Station station(cables, questions);
  // A note with a stray quote: read as empty, the log would hand every
  // identity out again.
  station.afterDone = [this] { Append("note: radio \"B\r\n"); };
  const fleet::Outcome outcome = Run(station);
  EXPECT_TRUE(outcome.logFailed);
  ASSERT_TRUE(outcome.logProblem.has_value());
  // Neither cable takes another radio, and the one under way is logged.
  ASSERT_EQ(station.events.size(), 4u);
  EXPECT_EQ(station.events[2].substr(7), "2110000011 ok");
  EXPECT_EQ(station.events[3].substr(7), "2110000021 ok");
}

}  // namespace
