// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/read_backup.h"

#include <cctype>
#include <ctime>
#include <filesystem>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/paths.h"
#include "radio/backup_list.h"
#include "radio/clone_man_message.h"
#include "text/gtex.h"

namespace backup {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExtension = ".dat";

// The model's name as a file name may carry it.
std::string FileModelName(const cmcEeprom& image) {
  const int model = image.GetByte(memmap::kModelByte);
  if (std::string name = Sanitise(ModelName(model)); !name.empty()) return name;
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
  std::string path = FreePath(folder, FileName(stamp, FileModelName(image), comment));

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

}  // namespace backup
