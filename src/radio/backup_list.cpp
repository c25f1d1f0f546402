// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/backup_list.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>
#include <tuple>

#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "radio/document.h"
#include "text/gtex.h"

namespace backup {
namespace {

namespace fs = std::filesystem;

// A clone data file of this radio is some 8 kB of text; anything far
// larger is not one, and is not read through to find that out.
constexpr std::uintmax_t kLargestReadable = 1 << 20;

// The reads of a listing say nothing: their outcome is the entry.
class Unspoken : public UserQuestions {
 public:
  int Ask(const std::string& /*key*/, unsigned /*style*/) override { return platform::kIdCancel; }
  void Report(Kind /*kind*/, const std::string& /*text*/) override {}
};

// The file's last change as a local "YYYY-MM-DD HH:MM:SS".
std::string ChangeTime(fs::file_time_type changed) {
  const std::time_t t = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::system_clock::duration>(
          std::chrono::file_clock::to_sys(changed)));
  char text[32] = "";
  if (const std::tm* local = std::localtime(&t))
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  return text;
}

bool Listed(const fs::directory_entry& item) {
  const std::string name = item.path().filename().string();
  // Hidden files are the desktop's (.directory, .DS_Store); ".tmp" files
  // are backups being written, which appear under their own name at once.
  if (name.empty() || name[0] == '.' || item.path().extension() == ".tmp") return false;
  std::error_code error;
  return item.is_regular_file(error);
}

Entry Examine(const fs::directory_entry& item) {
  static const std::regex backupName(
      R"(^(\d{4}-\d{2}-\d{2})_(\d{2})-(\d{2})-(\d{2})_([^_]+)(_.*)?\.dat$)");
  Entry e;
  e.file = item.path().filename().string();
  e.path = item.path().string();
  std::error_code error;
  e.size = item.file_size(error);
  std::smatch m;
  const bool named = std::regex_match(e.file, m, backupName);
  e.date = named ? m.str(1) + ' ' + m.str(2) + ':' + m.str(3) + ':' + m.str(4)
                 : ChangeTime(item.last_write_time(error));
  if (error) {
    e.error = CloneFileCode::kFileOpen;
  } else if (e.size > kLargestReadable) {
    e.error = CloneFileCode::kFormat;
  } else {
    cmcEeprom image;
    Unspoken quiet;
    e.error = cmcDocument::ReadChecked(e.path, image, quiet);
    if (e.Readable()) {
      e.modelType = image.GetByte(memmap::kModelByte);
      e.model = ModelName(e.modelType);
      e.comment = cmcCloneFile::CommentFromImage(image);
    }
  }
  if (!e.Readable()) {
    if (named) e.model = m.str(5);
    e.reason = cmcCloneFile::ErrorText(e.error);
    if (e.reason.empty()) e.reason = "clone data file error " + std::to_string(int(e.error));
  }
  return e;
}

bool ValidMoment(int y, int mo, int d, int h, int mi, int s) {
  namespace chrono = std::chrono;
  const chrono::year_month_day date{chrono::year{y}, chrono::month{static_cast<unsigned>(mo)},
                                    chrono::day{static_cast<unsigned>(d)}};
  return date.ok() && h < 24 && mi < 60 && s < 60;
}

}  // namespace

std::string ModelName(int model) {
  std::string name;
  if (gGTex && gGTex->TryLine("GI_AppInd_Model", model, &name) && !name.empty()) return name;
  return "model-" + std::to_string(model);
}

std::vector<Entry> ListBackups(const std::string& folder, std::error_code* error) {
  const fs::path dir(folder.empty() ? platform::BackupDir() : folder);
  std::error_code local;
  std::error_code& failure = error ? *error : local;
  failure.clear();
  struct Found {
    Entry entry;
    fs::file_time_type changed;
  };
  std::vector<Found> found;
  fs::directory_iterator it(dir, failure);
  if (failure == std::errc::no_such_file_or_directory) failure.clear();
  for (fs::directory_iterator end; !failure && it != end; it.increment(failure)) {
    if (!Listed(*it)) continue;
    std::error_code ignored;
    found.push_back({Examine(*it), it->last_write_time(ignored)});
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return std::tie(a.entry.date, a.changed, a.entry.file) >
           std::tie(b.entry.date, b.changed, b.entry.file);
  });
  std::vector<Entry> entries;
  entries.reserve(found.size());
  for (Found& f : found) entries.push_back(std::move(f.entry));
  return entries;
}

bool Matches(const Entry& entry, const Filter& filter) {
  if (filter.model >= 0 && entry.modelType != filter.model) return false;
  return filter.since.empty() || entry.date >= filter.since;
}

bool ParseSince(const std::string& text, std::string& moment) {
  static const std::regex form(R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2})(?::(\d{2}))?)?$)");
  std::smatch m;
  if (!std::regex_match(text, m, form)) return false;
  const auto number = [&m](int i) { return m[i].matched ? std::stoi(m.str(i)) : 0; };
  if (!ValidMoment(number(1), number(2), number(3), number(4), number(5), number(6))) return false;
  char out[32];
  std::snprintf(out, sizeof out, "%04d-%02d-%02d %02d:%02d:%02d", number(1), number(2), number(3),
                number(4), number(5), number(6));
  moment = out;
  return true;
}

}  // namespace backup
