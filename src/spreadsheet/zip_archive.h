// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Zip archives in memory, through libzip: an OpenDocument file is one. A
// file is written whole from memory (so it is replaced whole or not at all)
// and read whole, within the input limit, before it is opened.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace spreadsheet {

struct ZipEntry {
  std::string name;
  std::string data;
  bool stored = false;  // kept uncompressed (OpenDocument's mimetype must be)
};

// The archive of entries, in their order; nothing when libzip failed.
std::optional<std::string> ZipOf(const std::vector<ZipEntry>& entries);

enum class ZipRead {
  kRead,
  kNotZip,    // archive is no zip archive libzip opens
  kMissing,   // it has no entry of that name
  kTooLarge,  // the entry holds more than the limit
  kBroken,    // the entry cannot be unpacked (a damaged archive, a wrong checksum)
};

// The entry name of archive into data, never more than limit bytes. The
// size the archive claims is not trusted: reading stops past the limit
// whatever the archive says.
ZipRead ReadZipEntry(const std::string& archive, const std::string& name, std::size_t limit,
                     std::string& data);

}  // namespace spreadsheet
