// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of saving a file safely: writing, flushing what the C library
// holds, pushing what the system still holds in its cache to the disk, so
// that a save renames a new file into place only once its blocks are
// written, closing, and that renaming, which replaces the target in one step.
//
// Every step goes through here so that a test can watch the order of the
// steps and make any one of them fail, as a full disk, a failing device or
// a refused rename would; a power cut between them cannot be staged.

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace platform {

enum class FileStep { kWrite, kFlush, kSync, kClose, kRename };

// Told of each step before it is taken.
class FileStepWatch {
 public:
  virtual ~FileStepWatch() = default;
  // False makes the step fail the way the system reports such a failure
  // (a write then stores only part of its bytes, a close still closes).
  virtual bool Allow(FileStep step) = 0;
};

// Puts watch in place for every file of the process (nullptr: none) and
// returns the one before, to be put back.
FileStepWatch* SetFileStepWatch(FileStepWatch* watch);

// Creates path for writing in binary, failing with errno EEXIST when a file
// of that name is there already: a save never opens a file that someone else
// has put in its place.
std::FILE* CreateNewFile(const std::filesystem::path& path);

// True when all of bytes went to the file.
bool WriteToFile(std::FILE* file, std::string_view bytes);

// True when everything written so far left the C library without an error,
// this time or an earlier one.
bool FlushFile(std::FILE* file);

// True when the file's data reached the disk, or when its file system cannot
// sync at all (that is no failure of the save).
bool SyncToDisk(std::FILE* file);

// Closes file whatever happens; false when the close reported an error
// (some file systems only say at the close that the data did not fit).
bool CloseFile(std::FILE* file);

// Renames from over to, replacing a file that is there in one step: a
// reader sees the old file or the new one, never neither. On failure both
// stay as they were and error says why.
bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::error_code& error);

}  // namespace platform
