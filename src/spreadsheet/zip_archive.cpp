// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/zip_archive.h"

#include <zip.h>

#include <memory>

namespace spreadsheet {
namespace {

struct SourceFree {
  void operator()(zip_source_t* source) const { zip_source_free(source); }
};
struct ArchiveDiscard {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct FileClose {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using Source = std::unique_ptr<zip_source_t, SourceFree>;
using Archive = std::unique_ptr<zip_t, ArchiveDiscard>;
using File = std::unique_ptr<zip_file_t, FileClose>;

// The bytes a finished buffer source holds.
std::optional<std::string> Contents(zip_source_t* source) {
  zip_stat_t stat;
  if (zip_source_open(source) < 0) return std::nullopt;
  std::optional<std::string> out;
  if (zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    if (zip_source_read(source, bytes.data(), bytes.size()) ==
        static_cast<zip_int64_t>(bytes.size()))
      out = std::move(bytes);
  }
  zip_source_close(source);
  return out;
}

}  // namespace

std::optional<std::string> ZipOf(const std::vector<ZipEntry>& entries) {
  zip_error_t error;
  zip_error_init(&error);
  Source buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
  zip_error_fini(&error);
  if (!buffer) return std::nullopt;
  zip_error_init(&error);
  Archive archive(zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error));
  zip_error_fini(&error);
  if (!archive) return std::nullopt;
  // The archive takes a reference of its own, which closing it gives back;
  // ours keeps the buffer (and the archive written into it) alive.
  zip_source_keep(buffer.get());
  for (const ZipEntry& entry : entries) {
    // libzip copies nothing here: the entries outlive zip_close below.
    zip_source_t* data = zip_source_buffer(archive.get(), entry.data.data(), entry.data.size(), 0);
    if (!data) return std::nullopt;
    const zip_int64_t index =
        zip_file_add(archive.get(), entry.name.c_str(), data, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(data);
      return std::nullopt;
    }
    const zip_uint32_t method = entry.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), method, 0) < 0)
      return std::nullopt;
  }
  if (zip_close(archive.get()) < 0) return std::nullopt;
  archive.release();  // closed, and freed by zip_close
  return Contents(buffer.get());
}

ZipRead ReadZipEntry(const std::string& bytes, const std::string& name, std::size_t limit,
                     std::string& data) {
  zip_error_t error;
  zip_error_init(&error);
  Source source(zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error));
  zip_error_fini(&error);
  if (!source) return ZipRead::kNotZip;
  zip_error_init(&error);
  Archive archive(zip_open_from_source(source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
  zip_error_fini(&error);
  if (!archive) return ZipRead::kNotZip;
  zip_source_keep(source.get());  // the archive's own reference goes with it
  // libzip takes an empty file for an empty archive; no program writes one.
  if (zip_get_num_entries(archive.get(), 0) <= 0) return ZipRead::kNotZip;

  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(archive.get(), name.c_str(), 0, &stat) < 0) return ZipRead::kMissing;
  if ((stat.valid & ZIP_STAT_SIZE) && stat.size > limit) return ZipRead::kTooLarge;
  File file(zip_fopen(archive.get(), name.c_str(), 0));
  if (!file) return ZipRead::kBroken;
  data.clear();
  char chunk[64 * 1024];
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), chunk, sizeof chunk);
    if (got < 0) return ZipRead::kBroken;
    if (got == 0) break;
    // The stated size may lie (a zip bomb): the bytes themselves count.
    if (data.size() + static_cast<std::size_t>(got) > limit) return ZipRead::kTooLarge;
    data.append(chunk, static_cast<std::size_t>(got));
  }
  return ZipRead::kRead;
}

}  // namespace spreadsheet
