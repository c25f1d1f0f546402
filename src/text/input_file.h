// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files that come from outside (CSV tables, identity lists, logs) and files
// the program writes beside the clone data files (CSV exports, PDFs, logs).
// A path may name anything: a folder, a FIFO with no writer, a device that
// never ends. Reading takes only a regular file and only up to a limit, so
// that no such name can hang the program or exhaust its memory; writing
// takes only a name that is free or a regular file, so that a save never
// replaces a device node or a FIFO with a file of its own.

#include <cstddef>
#include <string>

namespace text {

enum class FileRead {
  kOk,
  kCannotOpen,  // missing, no permission
  kNotRegular,  // a folder, FIFO, device or socket (also through a link)
  kTooLarge,    // more than the limit
  kReadError,   // the system failed part way
};

// The whole regular file at path, when it holds at most limit bytes.
FileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& text);

// Why a read failed, for a message after the file's name ("is not a
// regular file"); "" for kOk.
std::string FileReadReason(FileRead result, std::size_t limit);

// Whether a save may put a file at path: nothing is there, or a regular
// file is (a link is followed to what it names).
bool IsFileTarget(const std::string& path);

}  // namespace text
