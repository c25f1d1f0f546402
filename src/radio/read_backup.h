// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clone data file of every image read from a radio, written before the
// program touches the image, so that whatever happens to it afterwards the
// radio's memory as it was can be written back. Backups are never removed
// by the program; radio/backup_list.h lists them.

#include <string>
#include <vector>

class cmcEeprom;
class UserQuestions;

namespace backup {

// The file name of a backup: local date and time, the model's name and the
// radio's comment, e.g. "2024-05-01_14-03-27_USA_MY-BOAT.dat". Characters a
// file name should not carry become '-', so that any comment the radio
// holds gives a plain name.
std::string FileName(const std::string& timestamp, const std::string& model,
                     const std::string& comment);

// Keeps only letters, digits, '-' and '.'; a run of anything else becomes
// one '-'; no '-' or '.' at either end; "" stays "".
std::string Sanitise(const std::string& text);

// Writes image as a clone data file in platform::BackupDir() (created when
// missing), atomically. Returns the path written, or "" when it could not be
// written; then the one message saying so has gone to questions.
std::string WriteBackup(const cmcEeprom& image, UserQuestions& questions);

}  // namespace backup
