// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli: clone information, read and write, file checks and the
// pages of a file, from the command line, on the same core as the program.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_application.h"
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "text/gtex.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  cli::Options options;
  const std::string error = cli::ParseOptions(args, options);
  const std::shared_ptr<void> app = cli::StartApplication(argc, argv, options.command);
  if (!error.empty()) {
    cli::StandardError().Message("seaclone-cli: " + error + "\n(try seaclone-cli --help)");
    return cli::kExitUsage;
  }
  if (options.command == cli::Command::Help) {
    // A text longer than the stream's buffer is written, and may fail,
    // before the flush; the reason is only known here.
    errno = 0;
    const int writeError = std::fputs(cli::HelpText().c_str(), stdout) == EOF ? errno : 0;
    return cli::FlushStandardOutput(writeError) ? cli::kExitOk : cli::kExitOutput;
  }

  cmcGTex table;
  table.Bind(platform::DataDir() + "TB58.OVL");
  // The texts written for the window have their command-line wording in
  // the GI_Cli_ entries.
  table.SetVariant("Cli");
  gGTex = &table;
  cli::ErrorStreamResponder responder;
  platform::SetMessageResponder(&responder);
  cli::ErrorStreamQuestions questions(responder);
  SetDefaultQuestions(&questions);

  int status = cli::kExitUsage;
  switch (options.command) {
    case cli::Command::Info: status = cli::RunInfo(options); break;
    case cli::Command::Read: status = cli::RunRead(options); break;
    case cli::Command::Write: status = cli::RunWrite(options); break;
    case cli::Command::Check: status = cli::RunCheck(options); break;
    case cli::Command::Pages: status = cli::RunPages(options); break;
    case cli::Command::Print: status = cli::RunPrint(options); break;
    case cli::Command::Diff: status = cli::RunDiff(options); break;
    case cli::Command::Export: status = cli::RunExport(options); break;
    case cli::Command::Import: status = cli::RunImport(options); break;
    case cli::Command::Backups: status = cli::RunBackups(options); break;
    case cli::Command::Fleet: status = cli::RunFleet(options); break;
    case cli::Command::Find: status = cli::RunFind(options); break;
    default: break;
  }
  // Output lost on a full disk or a closed pipe is a failure too.
  if (!cli::FlushStandardOutput() && status == cli::kExitOk) status = cli::kExitOutput;
  SetDefaultQuestions(nullptr);
  platform::SetMessageResponder(nullptr);
  gGTex = nullptr;
  return status;
}
