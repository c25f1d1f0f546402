// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/fleet_cables.h"

#include <optional>
#include <set>
#include <utility>

namespace fleet {

struct CableRun::Cable {
  int index = 0;
  Assignment radio;
  bool busy = false;     // a radio is under way
  bool retired = false;  // takes no more identities
  Stage stage = Stage::kAsking;
  std::string revision;
  // The document of the running exchange, and the one before it: a clone
  // command's completion runs inside its driver's tick, where the driver
  // must not be destroyed, so a document is let go on the run's own tick.
  std::unique_ptr<cmcDocument> document;
  std::unique_ptr<cmcDocument> finished;
  std::optional<CloneStatus> due;  // the last exchange ended with this
};

CableRun::CableRun(std::vector<const Radio*> pending, std::string log, int cables, bool asking,
                   CableStation& station)
    : pending_(std::move(pending)),
      log_(std::move(log)),
      asking_(asking),
      station_(station),
      advance_(MakeTask()) {
  for (int i = 0; i < (cables < 1 ? 1 : cables); ++i) {
    cables_.push_back(std::make_unique<Cable>());
    cables_.back()->index = i;
  }
  advance_->SetCallback(&CableRun::OnAdvance, this);
}

// The cables' documents go with the run; their drivers abandon what they
// were doing without calling back.
CableRun::~CableRun() = default;

void CableRun::Start(std::function<void(const Outcome&)> finished) {
  if (running_) return;
  finished_ = std::move(finished);
  running_ = true;
  advance_->SetInterval(0);
}

void CableRun::OnAdvance(void* context, cmcTask*) { static_cast<CableRun*>(context)->Advance(); }

void CableRun::Advance() {
  // Stopped first: a question asked below may run a nested event loop,
  // which must not tick this task again.
  advance_->SetInterval(-1);
  if (!running_) return;
  for (auto& cable : cables_) {
    cable->finished.reset();
    if (cable->due) Step(*cable);
  }
  HandOut();
  for (const auto& cable : cables_)
    if (cable->busy) return;
  running_ = false;
  if (auto finished = std::move(finished_)) finished(outcome_);
}

bool CableRun::NextRadio(Assignment& radio) {
  while (!stopping_ && next_ < pending_.size()) {
    // Read before every hand-out: see the header.
    std::set<std::string> done;
    if (auto problem = ReadLog(log_, done)) {
      outcome_.logProblem = std::move(problem);
      outcome_.logFailed = true;
      stopping_ = true;
      return false;
    }
    const std::size_t n = next_++;
    if (done.count(pending_[n]->id) != 0) continue;
    radio.radio = pending_[n];
    radio.number = static_cast<int>(n) + 1;
    radio.count = static_cast<int>(pending_.size());
    return true;
  }
  return false;
}

void CableRun::HandOut() {
  // A radio that could not even start is logged at once and frees its
  // cable again, hence the loops.
  if (asking_) {
    while (!stopping_) {
      // A round starts only when every radio of the last one is done.
      for (const auto& cable : cables_)
        if (cable->busy) return;
      std::vector<Assignment> round;
      for (const auto& cable : cables_) {
        Assignment radio;
        radio.cable = cable->index;
        if (!NextRadio(radio)) break;
        round.push_back(radio);
      }
      if (round.empty()) return;
      if (!station_.NextRound(round)) {
        outcome_.stopped = true;
        stopping_ = true;
        return;
      }
      for (const Assignment& radio : round) {
        Cable& cable = *cables_[static_cast<std::size_t>(radio.cable)];
        cable.radio = radio;
        cable.busy = true;
        Begin(cable, Stage::kAsking);
      }
    }
    return;
  }
  for (const auto& cable : cables_) {
    Assignment radio;
    radio.cable = cable->index;
    while (!cable->busy && !cable->retired && NextRadio(radio)) {
      cable->radio = radio;
      cable->busy = true;
      Begin(*cable, Stage::kAsking);
    }
  }
}

void CableRun::Due(Cable& cable, CloneStatus status) {
  cable.due = status;
  advance_->SetInterval(0);
}

bool CableRun::Begin(Cable& cable, Stage stage) {
  cable.stage = stage;
  cable.finished = std::move(cable.document);
  cable.document = std::make_unique<cmcDocument>(0, nullptr, station_.Devices(cable.index));
  cmcDocument& document = *cable.document;
  station_.Prepare(cable.index, document);
  cmcDocument::StartResult started = cmcDocument::kBusy;
  const auto done = [this, &cable](CloneStatus status) { Due(cable, status); };
  switch (stage) {
    case Stage::kAsking: started = document.CloneInformation(done); break;
    case Stage::kReading: started = document.CloneRead(done); break;
    case Stage::kWriting: {
      if (const int status = station_.OpenImage(document); status != 0) {
        End(cable, status);
        return false;
      }
      Personalise(document.Working(), *cable.radio.radio);
      document.SetVerifyAfterWrite(true);
      started = document.CloneWrite(done);
      break;
    }
  }
  if (started != cmcDocument::kStarted) {
    End(cable, station_.NotStarted(started));
    return false;
  }
  station_.Reached(cable.radio, stage);
  return true;
}

void CableRun::Step(Cable& cable) {
  const CloneStatus status = *cable.due;
  cable.due.reset();
  if (status != CloneStatus::kOk) return End(cable, station_.Status(status));
  switch (cable.stage) {
    case Stage::kAsking: {
      const cmcRadioInfo& info = cable.document->RadioInfo();
      cable.revision =
          std::to_string(info.RevisionMajor()) + "." + std::to_string(info.RevisionMinor());
      Begin(cable, Stage::kReading);
      break;
    }
    case Stage::kReading: Begin(cable, Stage::kWriting); break;
    case Stage::kWriting: End(cable, 0); break;
  }
}

void CableRun::End(Cable& cable, int status) {
  LogLine line;
  line.id = cable.radio.radio->id;
  line.revision = cable.revision;
  line.result = status == 0 ? kDone : station_.Failure(status);
  line.time = LogTime();
  cable.revision.clear();
  cable.busy = false;
  cable.finished = std::move(cable.document);
  if (status != 0) outcome_.status = status;
  const bool retire = !asking_ && status != 0 && cable.stage == Stage::kAsking;
  if (!AppendLog(log_, line)) {
    // Nothing more is handed out: a radio programmed now could not be
    // recorded, and the next run would program it again.
    outcome_.logFailed = true;
    stopping_ = true;
  }
  station_.Done(cable.radio, line, status);
  if (retire) {
    cable.retired = true;
    station_.Retired(cable.index);
  }
}

}  // namespace fleet
