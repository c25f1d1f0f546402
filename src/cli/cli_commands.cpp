#include "cli/cli_commands.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#include <string>

#include "cli/cli_info.h"
#include "cli/exit_status.h"
#include "cli/cli_output.h"
#include "model/clone_file.h"
#include "radio/document.h"
#include "text/gtex.h"

namespace cli {
namespace {

std::string ProgressCaption(int line) {
  std::string caption;
  if (!gGTex->TryLine("GI_Cli_Progress_Captions", line, &caption)) caption.clear();
  return caption;
}

// Runs one clone command of the document to its end on the event loop and
// returns its exit status.
int RunExchange(cmcDocument& document, const Options& options,
                cmcDocument::StartResult (cmcDocument::*command)(cmcDocument::Done),
                int progressLine) {
  TextProgress progress(stderr, !options.quiet);
  progress.SetCaption(ProgressCaption(progressLine));
  indCloneMan& man = document.CloneMan();
  man.SetProgressSink(&progress);
  // The sink lives on this frame; the manager must not keep it on any way out.
  struct SinkReset {
    indCloneMan& man;
    ~SinkReset() { man.SetProgressSink(nullptr); }
  } sinkReset{man};
  if (options.device.empty()) {
    man.SetPortNumber(options.port);
  } else {
    man.SetPortDevice(options.device);
  }

  std::optional<CloneStatus> status;
  const auto started = (document.*command)([&status](CloneStatus s) {
    status = s;
    QCoreApplication::exit(0);
  });
  switch (started) {
    case cmcDocument::kStarted:
      break;
    case cmcDocument::kDataError:
      return kExitDataError;
    case cmcDocument::kBusy:
    case cmcDocument::kCancelled:
      return kExitUsage;
  }
  if (!status) QCoreApplication::exec();
  return ExitStatus(status.value_or(CloneStatus::kPortFailed));
}

}  // namespace

int RunInfo(const Options& options) {
  cmcDocument document;
  const int code = RunExchange(document, options, &cmcDocument::CloneInformation, 0);
  if (code != kExitOk) return code;
  for (const std::string& line : InformationLines(document)) {
    std::printf("%s\n", line.c_str());
  }
  return kExitOk;
}

int RunRead(const Options& options) {
  if (const CloneFileCode code = cmcCloneFile::CheckSaveTarget(options.output); code != CloneFileCode::kOk) {
    return ExitStatus(code);
  }
  cmcDocument document;
  const int code = RunExchange(document, options, &cmcDocument::CloneRead, 0);
  if (code != kExitOk) return code;
  return ExitStatus(document.SaveTo(options.output));
}

int RunWrite(const Options& options) {
  cmcDocument document;
  const CloneFileCode code = document.Open(options.file);
  if (code != CloneFileCode::kOk) return ExitStatus(code);
  document.SetMaker(options.maker);
  return RunExchange(document, options, &cmcDocument::CloneWrite, 1);
}

int RunCheck(const Options& options) {
  cmcEeprom image;
  return ExitStatus(cmcDocument::ReadChecked(options.file, image));
}

}  // namespace cli
