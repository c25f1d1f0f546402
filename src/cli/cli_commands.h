// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of seaclone-cli. Each returns the process exit status.

#include <string>

#include "cli/cli_options.h"

class cmcDocument;

namespace cli {

int RunInfo(const Options& options);
int RunRead(const Options& options);
int RunWrite(const Options& options);
int RunCheck(const Options& options);
// Reads the radio of --port or --device into document, as read does.
int ReadRadio(const Options& options, cmcDocument& document);
// Asks the radio of --port or --device for its information, as info does.
int AskRadio(const Options& options, cmcDocument& document);
// Says which pages hold data errors and returns true when there are any.
bool RefuseDataErrors(cmcDocument& document);
// Writes document to the radio of --port or --device, as write does (its
// checks for data errors included).
int WriteRadio(const Options& options, cmcDocument& document);
// Opens FILE ("-" standard input) into document with the checks of the
// program's Open. kExitOk, or the exit status of the failure (said on
// standard error).
int OpenFile(const std::string& file, cmcDocument& document);

// In cli_backups.cpp.
int RunBackups(const Options& options);

// In cli_pages.cpp.
int RunPages(const Options& options);
// In cli_print.cpp: needs a QApplication (on any platform, offscreen too).
int RunPrint(const Options& options);
// In cli_diff.cpp.
int RunDiff(const Options& options);
// In cli_csv.cpp.
int RunExport(const Options& options);
int RunImport(const Options& options);

// In cli_fleet.cpp.
int RunFleet(const Options& options);

// In cli_find.cpp.
int RunFind(const Options& options);

}  // namespace cli
