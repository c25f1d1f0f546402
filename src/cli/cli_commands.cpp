// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_commands.h"

#include <cstdio>
#include <optional>
#include <set>
#include <string>

#include "cli/cli_info.h"
#include "cli/cli_output.h"
#include "cli/cli_stream_file.h"
#include "cli/exit_status.h"
#include "model/clone_file.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "radio/document.h"
#include "radio/document_warning.h"
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
  TextProgress progress(StandardError(), !options.quiet);
  progress.SetCaption(ProgressCaption(progressLine), progressLine == 1 ? ProgressCaption(2) : "");
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
    platform::QuitEventLoop();
  });
  switch (started) {
    case cmcDocument::kStarted: break;
    case cmcDocument::kDataError: return kExitDataError;
    case cmcDocument::kBusy:
    case cmcDocument::kCancelled: return kExitUsage;
  }
  if (!status) platform::RunEventLoop();
  return ExitStatus(status.value_or(CloneStatus::kPortFailed));
}

// The name of a page, as the overlay gives it for the command line; the
// page's key when it has none.
std::string PageName(const std::string& sheet) {
  std::string line;
  for (int n = 0; gGTex->TryLine("GI_Cli_PageNames", n, &line) && line.rfind('#', 0) != 0; ++n) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && line.compare(0, eq, sheet) == 0) return line.substr(eq + 1);
  }
  return sheet;
}

// The pages whose check cells are in error, named and joined; "" when none.
std::string ErrorPages(cmcDocument& document) {
  std::string pages;
  std::set<std::string> named;
  for (const clsWarningMark& mark : WarningMarks(document)) {
    if (!mark.error || mark.sheet.empty() || !named.insert(mark.sheet).second) continue;
    if (!pages.empty()) pages += ", ";
    pages += PageName(mark.sheet);
  }
  return pages;
}

}  // namespace

// The window points at the marks of its tree; here the message names the
// pages instead.
bool RefuseDataErrors(cmcDocument& document) {
  const std::string pages = ErrorPages(document);
  if (pages.empty()) return false;
  const std::string text = gGTex->Block("GI_Mess_DataError") + "\n" +
                           cloneman::FormatText(gGTex->Text("GI_Cli_DataError_Pages"), pages);
  document.Questions().Report(UserQuestions::Kind::kError, text);
  return true;
}

int RunInfo(const Options& options) {
  cmcDocument document;
  const int code = AskRadio(options, document);
  if (code != kExitOk) return code;
  for (const std::string& line : InformationLines(document)) {
    std::printf("%s\n", line.c_str());
  }
  return kExitOk;
}

int RunRead(const Options& options) {
  if (options.output != kStdStream) {
    // Refused before the radio is asked, so a read never ends on a target
    // that cannot take it.
    const CloneFileCode target = cmcCloneFile::CheckSaveTarget(options.output);
    if (target != CloneFileCode::kOk) return ExitStatus(target);
  }
  cmcDocument document;
  const int code = RunExchange(document, options, &cmcDocument::CloneRead, 0);
  if (code != kExitOk) return code;
  if (options.output != kStdStream) return ExitStatus(document.SaveTo(options.output));
  StreamFile stream;
  if (const CloneFileCode saved = document.SaveTo(stream.Path()); saved != CloneFileCode::kOk) {
    return ExitStatus(saved);
  }
  return stream.ToStandardOutput() ? kExitOk : kExitOutput;
}

int ReadRadio(const Options& options, cmcDocument& document) {
  return RunExchange(document, options, &cmcDocument::CloneRead, 0);
}

int AskRadio(const Options& options, cmcDocument& document) {
  return RunExchange(document, options, &cmcDocument::CloneInformation, 0);
}

int WriteRadio(const Options& options, cmcDocument& document) {
  if (RefuseDataErrors(document)) return kExitDataError;
  return RunExchange(document, options, &cmcDocument::CloneWrite, 1);
}

int OpenFile(const std::string& file, cmcDocument& document) {
  std::optional<StreamFile> stream;
  std::string path;
  if (!InputPath(file, stream, &path)) return ExitStatus(CloneFileCode::kFileOpen);
  return ExitStatus(document.Open(path));
}

int RunWrite(const Options& options) {
  cmcDocument document;
  if (const int opened = OpenFile(options.file, document); opened != kExitOk) return opened;
  document.SetMaker(options.maker);
  document.SetVerifyAfterWrite(options.verify);
  return WriteRadio(options, document);
}

int RunCheck(const Options& options) {
  std::optional<StreamFile> stream;
  std::string path;
  if (!InputPath(options.file, stream, &path)) return ExitStatus(CloneFileCode::kFileOpen);
  cmcEeprom image;
  return ExitStatus(cmcDocument::ReadChecked(path, image));
}

}  // namespace cli
