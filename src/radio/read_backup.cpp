// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/read_backup.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <regex>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/paths.h"
#include "radio/clone_man_message.h"
#include "text/gtex.h"

namespace backup {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExtension = ".dat";

std::string ModelName(const cmcEeprom& image) {
  const int model = image.GetByte(memmap::kModelByte);
  std::string name;
  if (gGTex && gGTex->TryLine("GI_AppInd_Model", model, &name) && !Sanitise(name).empty())
    return Sanitise(name);
  return "model-" + std::to_string(model);
}

// A name not yet taken in folder: two reads within the same second keep
// both backups.
std::string FreePath(const std::string& folder, const std::string& name) {
  const std::string stem = name.substr(0, name.size() - std::string(kExtension).size());
  std::string path = folder + name;
  std::error_code error;
  for (int n = 2; fs::exists(path, error); ++n)
    path = folder + stem + "-" + std::to_string(n) + kExtension;
  return path;
}

void ReportFailure(UserQuestions& questions, const std::string& folder) {
  if (!gGTex) return;
  questions.Report(UserQuestions::Kind::kWarning,
                   cloneman::FormatText(gGTex->Block("GI_Mess_Backup_Failed"), folder));
}

// The comment line of a clone data file, "" when it has none.
std::string FileComment(const fs::path& path) {
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (!file) return {};
  std::string comment;
  char buffer[256];
  for (int line = 0; line < 3 && std::fgets(buffer, sizeof buffer, file); ++line) {
    std::string text(buffer);
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    if (text.rfind("#Comment=", 0) == 0) {
      comment = text.substr(9);
      break;
    }
  }
  std::fclose(file);
  return comment;
}

// The local date and time as backup names carry it.
std::string Timestamp() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "";
  if (const std::tm* local = std::localtime(&now))
    std::strftime(text, sizeof text, "%Y-%m-%d_%H-%M-%S", local);
  return text;
}

}  // namespace

std::string Sanitise(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 128 && (std::isalnum(u) || c == '.')) {
      out += c;
    } else if (!out.empty() && out.back() != '-') {
      out += '-';
    }
  }
  while (!out.empty() && (out.back() == '-' || out.back() == '.')) out.pop_back();
  const auto start = out.find_first_not_of("-.");
  return start == std::string::npos ? std::string() : out.substr(start);
}

std::string FileName(const std::string& timestamp, const std::string& model,
                     const std::string& comment) {
  std::string name = timestamp + "_" + Sanitise(model);
  if (const std::string c = Sanitise(comment); !c.empty()) name += "_" + c;
  return name + kExtension;
}

std::string WriteBackup(const cmcEeprom& image, UserQuestions& questions) {
  const std::string folder = platform::BackupDir();
  std::error_code error;
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error)) {
    ReportFailure(questions, folder);
    return {};
  }
  const std::string stamp = Timestamp();
  const std::string comment = cmcCloneFile::CommentFromImage(image);
  std::string path = FreePath(folder, FileName(stamp, ModelName(image), comment));

  // The writer takes a working image; the one read stays as it came.
  cmcEeprom copy(image);
  cmcCloneFile file;
  SetUpRadioFile(file, &copy);
  file.SetComment(comment);
  file.SetShowMessages(false);
  if (file.Write(path, cmcCloneFile::StandardRanges()) != CloneFileCode::kOk) {
    ReportFailure(questions, folder);
    return {};
  }
  return path;
}

std::vector<Entry> ListBackups(const std::string& folder) {
  const fs::path dir(folder.empty() ? platform::BackupDir() : folder);
  static const std::regex form(
      R"(^(\d{4}-\d{2}-\d{2})_(\d{2})-(\d{2})-(\d{2})_([^_]+)(_.*)?\.dat$)");
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error)) names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end(), std::greater<>());
  std::vector<Entry> entries;
  for (const std::string& name : names) {
    std::smatch m;
    if (!std::regex_match(name, m, form)) continue;
    Entry e;
    e.file = name;
    e.date = m.str(1) + ' ' + m.str(2) + ':' + m.str(3) + ':' + m.str(4);
    e.model = m.str(5);
    e.comment = FileComment(dir / name);
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace backup
