// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backups every read keeps (radio/read_backup.h writes them), as the
// window and seaclone-cli list them: one entry per file of the backup
// folder, newest first. Each file is opened with the checks of the
// program's Open, so an entry says whether the backup can be used; a
// damaged or foreign file is an entry of its own with the reason, and
// never hides the others.

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "model/clone_file.h"

namespace backup {

struct Entry {
  std::string file;         // the file name within the folder
  std::string path;         // the folder and the file name
  std::string date;         // local "2024-05-01 14:03:27": the name's, else the file's last change
  int modelType = -1;       // the image's model type; -1 when the file is unreadable
  std::string model;        // the model's name; unreadable: as a backup's name carries it, or ""
  std::string comment;      // the radio's comment in the image ("" when unreadable)
  std::uintmax_t size = 0;  // in bytes
  CloneFileCode error = CloneFileCode::kOk;  // why Open would refuse the file
  std::string reason;                        // the file message of error; "" when readable

  bool Readable() const { return error == CloneFileCode::kOk; }
};

// The entries of folder (platform::BackupDir() when ""), newest first;
// within one second the file changed last comes first. Left out: folders
// and other non-files, hidden files, and the ".tmp" files of a backup
// still being written. A folder that does not exist yet holds no backups;
// one that cannot be read sets error (when given).
std::vector<Entry> ListBackups(const std::string& folder = {}, std::error_code* error = nullptr);

// The name the program gives model type model: its line of
// GI_AppInd_Model, else "model-N".
std::string ModelName(int model);

// What a listing keeps.
struct Filter {
  int model = -1;     // only readable backups of this model type; -1: any
  std::string since;  // only backups from this moment on (as ParseSince gives it); "": any
};
bool Matches(const Entry& entry, const Filter& filter);

// A moment as a user types it: "YYYY-MM-DD", optionally followed by a
// space or "T" and "HH:MM" or "HH:MM:SS", local time. On success sets
// moment to "YYYY-MM-DD HH:MM:SS" (the start of the day when no time is
// given), which compares with Entry::date as text. false for anything
// else, an impossible date or time included (2023-02-29, 24:00).
bool ParseSince(const std::string& text, std::string& moment);

}  // namespace backup
