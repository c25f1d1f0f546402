// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli backups: the images kept from every read, newest first, as
// tab-separated lines or as one JSON array.
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/exit_status.h"
#include "platform/paths.h"
#include "radio/backup_list.h"

namespace cli {
namespace {

// A field of a tab-separated line: a tab or line break in a file name must
// not split the line.
std::string Field(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return out;
}

void PrintLine(const backup::Entry& e) {
  const std::string state = e.Readable() ? "ok" : "unreadable: " + e.reason;
  std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", Field(e.path).c_str(), e.date.c_str(),
              Field(e.model).c_str(), Field(e.comment).c_str(), std::to_string(e.size).c_str(),
              Field(state).c_str());
}

void PrintJson(const backup::Entry& e, bool first) {
  std::string date = e.date;
  if (date.size() > 10) date[10] = 'T';  // ISO 8601, local time
  std::printf(
      "%s\n  {\"file\": %s, \"date\": %s, \"model\": %s, \"modelName\": %s, "
      "\"comment\": %s, \"size\": %s, \"readable\": %s, \"reason\": %s}",
      first ? "" : ",", JsonString(e.path).c_str(), JsonString(date).c_str(),
      e.modelType < 0 ? "null" : std::to_string(e.modelType).c_str(), JsonString(e.model).c_str(),
      JsonString(e.comment).c_str(), std::to_string(e.size).c_str(),
      e.Readable() ? "true" : "false", e.Readable() ? "null" : JsonString(e.reason).c_str());
}

}  // namespace

int RunBackups(const Options& options) {
  const std::string folder = platform::BackupDir();
  std::error_code error;
  const std::vector<backup::Entry> entries = backup::ListBackups(folder, &error);
  if (error) {
    StandardError().Message("seaclone-cli: the backup folder " + folder +
                            " cannot be read: " + error.message());
    return ExitStatus(CloneFileCode::kFileOpen);
  }
  const backup::Filter filter{options.model, options.since};
  bool first = true;
  if (options.json) std::printf("[");
  for (const backup::Entry& e : entries) {
    if (!backup::Matches(e, filter)) continue;
    if (options.json)
      PrintJson(e, first);
    else
      PrintLine(e);
    first = false;
  }
  if (options.json) std::printf(first ? "]\n" : "\n]\n");
  return kExitOk;
}

}  // namespace cli
