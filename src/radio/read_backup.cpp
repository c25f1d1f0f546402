// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/read_backup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cctype>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "radio/clone_man_message.h"
#include "text/gtex.h"

namespace backup {
namespace {

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
  for (int n = 2; QFile::exists(QFile::decodeName(path.c_str())); ++n)
    path = folder + stem + "-" + std::to_string(n) + kExtension;
  return path;
}

void ReportFailure(const std::string& folder) {
  if (!gGTex) return;
  platform::ShowMessage(cloneman::FormatText(gGTex->Block("GI_Mess_Backup_Failed"), folder),
                        gGTex->Text("GI_Sys_AppTitle"), platform::kMbOk | platform::kMbIconExclamation);
}

// The comment line of a clone data file, "" when it has none.
std::string FileComment(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  for (int line = 0; line < 3 && !file.atEnd(); ++line) {
    const QByteArray text = file.readLine(256).trimmed();
    if (text.startsWith("#Comment=")) return text.mid(9).toStdString();
  }
  return {};
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

std::string WriteBackup(const cmcEeprom& image) {
  const std::string folder = platform::BackupDir();
  if (!QDir().mkpath(QFile::decodeName(folder.c_str()))) {
    ReportFailure(folder);
    return {};
  }
  const std::string stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")).toStdString();
  const std::string comment = cmcCloneFile::CommentFromImage(image);
  const std::string path = FreePath(folder, FileName(stamp, ModelName(image), comment));

  // The writer takes a working image; the one read stays as it came.
  cmcEeprom copy(image);
  cmcCloneFile file;
  file.Attach(&copy);
  file.SetModelCode(memmap::kModelCode);
  file.SetExtraCode(memmap::kExtraCode);
  file.SetMapRevision(memmap::kMapRevision);
  file.SetComment(comment);
  file.SetShowMessages(false);
  if (file.Write(path, cmcCloneFile::StandardRanges()) != CloneFileCode::kOk) {
    ReportFailure(folder);
    return {};
  }
  return path;
}

std::vector<Entry> ListBackups(const std::string& folder) {
  const QString dir = QFile::decodeName((folder.empty() ? platform::BackupDir() : folder).c_str());
  static const QRegularExpression form(
      QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})_(\\d{2})-(\\d{2})-(\\d{2})_([^_]+)(_.*)?\\.dat$"));
  std::vector<Entry> entries;
  const QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name | QDir::Reversed);
  for (const QString& name : names) {
    const QRegularExpressionMatch m = form.match(name);
    if (!m.hasMatch()) continue;
    Entry e;
    e.file = QFile::encodeName(name).toStdString();
    e.date = (m.captured(1) + ' ' + m.captured(2) + ':' + m.captured(3) + ':' + m.captured(4))
                 .toStdString();
    e.model = m.captured(5).toStdString();
    e.comment = FileComment(QDir(dir).filePath(name));
    entries.push_back(std::move(e));
  }
  return entries;
}

}  // namespace backup
