// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli fleet: the fleet run of the core, asking for each radio on
// standard input (or not at all with --yes) and saying each step on
// standard error.

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/exit_status.h"
#include "model/memory_map.h"
#include "radio/document.h"
#include "radio/fleet_run.h"
#include "text/csv_records.h"

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

class CommandLineStation : public fleet::FleetStation {
 public:
  explicit CommandLineStation(const Options& options) : options_(options) {}

  bool NextRadio(const fleet::Radio& radio, int number, int count) override {
    const std::string which = "identity " + radio.id + " (" + std::to_string(number) + " of " +
                              std::to_string(count) + ")";
    if (options_.yes) {
      Say("programming the radio for " + which);
      return true;
    }
    Say("connect the radio for " + which + " and press Enter");
    if (NextRadioReady()) return true;
    Say("no more radios: stopped before " + which);
    return false;
  }
  int Ask(cmcDocument& document) override { return AskRadio(options_, document); }
  int Read(cmcDocument& document) override { return ReadRadio(options_, document); }
  int OpenImage(cmcDocument& document) override { return OpenFile(options_.image, document); }
  int Write(cmcDocument& document) override { return WriteRadio(options_, document); }
  std::string Failure(int status) override {
    return "failed (exit " + std::to_string(status) + ")";
  }
  void Done(const fleet::LogLine& line, int) override { Say(line.id + ": " + line.result); }

 private:
  const Options& options_;
};

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

  CommandLineStation station(options);
  const fleet::Outcome outcome = fleet::Run(pending, log, station);
  if (outcome.logProblem) return Refuse(log, *outcome.logProblem, "the run stops here");
  if (outcome.logFailed) {
    Say("cannot write the log " + log);
    return kExitOutput;
  }
  if (outcome.stopped) return outcome.status == kExitOk ? kExitUsage : outcome.status;
  return outcome.status;
}

}  // namespace cli
