// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's own files lie: the overlay files, the initial clone
// data files and the help pages sit beside the executable; an installed
// build keeps them under <prefix>/share/seaclone instead.

#include <string>

namespace platform {

// The executable's file name without its folder ("seaclone").
std::string ExecutableFileName();

// The folder of the executable, with a trailing separator.
std::string ExecutableDir();

// The folder that holds the program's data files, with a trailing separator:
// the executable's folder when it holds TB58.OVL, else the installed data
// folder beside the prefix, else the executable's folder.
std::string DataDir();

// Tests and tools may point the data folder elsewhere ("" restores the rule).
void SetDataDirOverride(const std::string& dir);

// The folder that keeps a backup of every image read from a radio, with a
// trailing separator: $SEACLONE_BACKUP_DIR when set (tests, and users who
// keep them elsewhere), else seaclone/backups in UserDataFolder(). Not
// created here.
std::string BackupDir();

// True for a character that separates the folders of a path here.
bool IsPathSeparator(char c);

// Answered by the posix/ or win32/ backend:
// the executable's full path, "" when the system does not tell;
std::string ExecutablePath();
// the user's own data folder: $XDG_DATA_HOME (by default ~/.local/share)
// here, %LOCALAPPDATA% on Windows.
std::string UserDataFolder();

}  // namespace platform
