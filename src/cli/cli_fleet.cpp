// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli fleet: the fleet run of the core on one cable or several,
// asking for each round of radios on standard input (or not at all with
// --yes) and showing each cable's step on standard error.

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_cable_board.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/exit_status.h"
#include "model/memory_map.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "platform/terminal.h"
#include "radio/document.h"
#include "radio/fleet_cables.h"
#include "radio/fleet_run.h"
#include "text/csv_records.h"
#include "text/gtex.h"

namespace cli {
namespace {

void Say(const std::string& text) { StandardError().Message("seaclone-cli: " + text); }

// Waits for Enter; false at the end of standard input.
bool NextRadioReady() {
  int c = 0;
  while ((c = std::getchar()) != EOF)
    if (c == '\n') return true;
  return false;
}

// Says why the list was refused; kExitDataError or the file's status.
int Refuse(const std::string& path, const fleet::ListProblem& problem) {
  const std::string where = path + ", line " + std::to_string(problem.line) + ": ";
  switch (problem.kind) {
    case fleet::ListProblem::kUnreadable:
      Say("cannot read the identity list " + path + ": it " + problem.detail);
      return ExitStatus(CloneFileCode::kFileOpen);
    case fleet::ListProblem::kCsv: Say(path + ": " + problem.detail); break;
    case fleet::ListProblem::kNoHeader:
      Say(path + ": line 1 must name the columns: id, and comment if wanted");
      break;
    case fleet::ListProblem::kBadId:
      Say(where + "'" + text::Echoed(problem.value) + "' is not an ATIS identity of " +
          std::to_string(memmap::kAtisIdDigits) + " digits");
      break;
    case fleet::ListProblem::kTwice:
      Say(where + "the identity " + problem.value + " is given twice");
      break;
    case fleet::ListProblem::kLongComment:
      Say(where + "the comment '" + text::Echoed(problem.value) + "' does not fit: at most " +
          std::to_string(memmap::kCommentLength) + " printable characters");
      break;
    case fleet::ListProblem::kUnshown:
      Say(where + "the comment '" + text::Echoed(problem.value) + "' holds '" + problem.detail +
          "', which the radio cannot show (it shows unaccented letters, digits and ASCII signs "
          "alone)");
      break;
    case fleet::ListProblem::kEmpty: Say(path + ": no identities"); break;
  }
  return kExitDataError;
}

// A cable's messages, named by its cable. The question before each write
// is answered by the run itself, and a success is the log's "ok".
class CableQuestions : public BoxQuestions {
 public:
  CableQuestions(CableBoard& board, std::string label) : board_(board), label_(std::move(label)) {}
  int Ask(const std::string& key, unsigned style) override {
    if (key == "GI_Mess_Confirm_CloneWrite") return platform::kIdOk;
    return BoxQuestions::Ask(key, style);
  }
  void Report(Kind kind, const std::string& text) override {
    if (kind != Kind::kSuccess) BoxQuestions::Report(kind, text);
  }

 protected:
  int Show(const std::string& text, const std::string& caption, unsigned style) override {
    std::string body = text;
    while (!body.empty() && body.back() == '\n') body.pop_back();
    board_.Message(caption + ": " + label_ + ": " + body);
    const unsigned buttons = style & platform::kMbButtonMask;
    return buttons == platform::kMbYesNo || buttons == platform::kMbYesNoCancel ? platform::kIdYes
                                                                                : platform::kIdOk;
  }

 private:
  CableBoard& board_;
  std::string label_;
};

std::string Caption(int line) {
  std::string caption;
  if (!gGTex->TryLine("GI_Cli_Progress_Captions", line, &caption)) caption.clear();
  return caption;
}

// One cable: a COM port number or a device path.
struct CableLine {
  int port = 0;
  std::string device;
  std::string label;
};

class CommandLineStation : public fleet::CableStation {
 public:
  CommandLineStation(const Options& options, const std::vector<CableLine>& cables,
                     CableBoard& board)
      : options_(options), cables_(cables), board_(board) {
    for (const CableLine& cable : cables_)
      questions_.push_back(std::make_unique<CableQuestions>(board_, cable.label));
  }

  bool NextRound(const std::vector<fleet::Assignment>& round) override {
    if (options_.yes) return true;
    std::string which;
    for (const fleet::Assignment& radio : round) {
      if (!which.empty()) which += ", ";
      which += Which(radio);
      if (cables_.size() > 1) which += " on " + Label(radio.cable);
    }
    board_.Message("seaclone-cli: connect the radio" + std::string(round.size() > 1 ? "s" : "") +
                   " for " + which + " and press Enter");
    if (NextRadioReady()) return true;
    board_.Message("seaclone-cli: no more radios: stopped before " + which);
    return false;
  }
  void Prepare(int cable, cmcDocument& document) override {
    const CableLine& line = cables_[static_cast<std::size_t>(cable)];
    indCloneMan& man = document.CloneMan();
    if (line.device.empty()) {
      man.SetPortNumber(line.port);
    } else {
      man.SetPortDevice(line.device);
    }
    man.SetProgressSink(&board_.Progress(cable));
    document.SetQuestions(questions_[static_cast<std::size_t>(cable)].get());
  }
  int OpenImage(cmcDocument& document) override { return OpenFile(options_.image, document); }
  int Status(CloneStatus status) override { return ExitStatus(status); }
  int NotStarted(cmcDocument::StartResult result) override {
    return result == cmcDocument::kDataError ? kExitDataError : kExitUsage;
  }
  std::string Failure(int status) override {
    return "failed (exit " + std::to_string(status) + ")";
  }
  void Reached(const fleet::Assignment& radio, fleet::Stage stage) override {
    const char* what = "asking for its information";
    if (stage == fleet::Stage::kReading) {
      what = "reading (kept as backup)";
      board_.SetCaption(radio.cable, Caption(0));
    } else if (stage == fleet::Stage::kWriting) {
      what = "writing and reading back";
      board_.SetCaption(radio.cable, Caption(1), Caption(2));
    }
    board_.Set(radio.cable, Which(radio), radio.radio->id, what);
  }
  void Done(const fleet::Assignment& radio, const fleet::LogLine& line, int) override {
    board_.Set(radio.cable, Which(radio), radio.radio->id, line.result);
  }
  void Retired(int cable) override {
    board_.Message("seaclone-cli: " + Label(cable) +
                   ": the radio on this cable failed before it could be programmed; with --yes "
                   "nobody puts another one there, so this cable takes no more identities");
  }

 private:
  std::string Which(const fleet::Assignment& radio) const {
    return "identity " + radio.radio->id + " (" + std::to_string(radio.number) + " of " +
           std::to_string(radio.count) + ")";
  }
  std::string Label(int cable) const { return cables_[static_cast<std::size_t>(cable)].label; }

  const Options& options_;
  const std::vector<CableLine>& cables_;
  CableBoard& board_;
  std::vector<std::unique_ptr<CableQuestions>> questions_;
};

// The cables of --port N,M,... or of every --device.
std::vector<CableLine> Cables(const Options& options) {
  std::vector<CableLine> cables;
  for (int port : options.ports) cables.push_back({port, {}, "port " + std::to_string(port)});
  for (const std::string& device : options.devices) cables.push_back({0, device, device});
  if (cables.empty() && options.port != 0)
    cables.push_back({options.port, {}, "port " + std::to_string(options.port)});
  if (cables.empty() && !options.device.empty())
    cables.push_back({0, options.device, options.device});
  return cables;
}

// Says why the log cannot be read; a log to blame as a whole is a file
// that cannot be read, a line of it is a data error like one of the list.
int Refuse(const std::string& log, const fleet::LogProblem& problem, const char* stop) {
  Say("cannot read the log " + log + (problem.line > 0 ? ", " : ": ") + problem.detail + "; " +
      stop);
  return problem.line > 0 ? kExitDataError : ExitStatus(CloneFileCode::kFileOpen);
}

}  // namespace

int RunFleet(const Options& options) {
  {
    // The image is checked once, before any radio is touched.
    cmcDocument document;
    if (const int status = OpenFile(options.image, document); status != kExitOk) return status;
    if (RefuseDataErrors(document)) return kExitDataError;
  }
  std::vector<fleet::Radio> radios;
  if (const auto problem = fleet::ReadIds(options.ids, radios))
    return Refuse(options.ids, *problem);
  const std::string log = options.log.empty() ? options.ids + ".log.csv" : options.log;
  // A log that is there but cannot be read completely would hand out its
  // identities again.
  if (std::set<std::string> done; const auto problem = fleet::ReadLog(log, done))
    return Refuse(log, *problem, "no radio was touched");
  const std::vector<const fleet::Radio*> pending = fleet::Pending(radios, log);
  if (pending.size() < radios.size())
    Say(std::to_string(radios.size() - pending.size()) + " of " + std::to_string(radios.size()) +
        " identities are done already (" + log + ")");

  const std::vector<CableLine> cables = Cables(options);
  std::vector<std::string> labels;
  for (const CableLine& cable : cables) labels.push_back(cable.label);
  CableBoard board(stderr, labels, platform::StandardErrorIsTerminal(), !options.quiet);
  CommandLineStation station(options, cables, board);
  fleet::Outcome outcome;
  fleet::CableRun run(pending, log, static_cast<int>(cables.size()), !options.yes, station);
  run.Start([&outcome](const fleet::Outcome& o) {
    outcome = o;
    platform::QuitEventLoop();
  });
  platform::RunEventLoop();
  if (outcome.logProblem) return Refuse(log, *outcome.logProblem, "the run stops here");
  if (outcome.logFailed) {
    Say("cannot write the log " + log);
    return kExitOutput;
  }
  if (outcome.stopped) return outcome.status == kExitOk ? kExitUsage : outcome.status;
  return outcome.status;
}

}  // namespace cli
