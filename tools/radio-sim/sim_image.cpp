// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_image.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace sim {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool ParseHex(const QByteArray& text, qsizetype from, qsizetype digits, unsigned& out) {
  out = 0;
  for (qsizetype i = from; i < from + digits; ++i) {
    const int v = HexValue(text[i]);
    if (v < 0) return false;
    out = out * 16 + static_cast<unsigned>(v);
  }
  return true;
}

std::string At(int lineNumber, const std::string& what) {
  return "line " + std::to_string(lineNumber) + ": " + what;
}

}  // namespace

std::string ReadCloneFile(const std::string& path, Bytes& image, std::size_t& missing) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return "cannot open " + path;
  Bytes loaded(kImageSize, 0);
  std::vector<bool> seen(kImageSize, false);
  int lineNumber = 0;
  while (!file.atEnd()) {
    QByteArray line = file.readLine();
    ++lineNumber;
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    if (lineNumber == 1) {
      unsigned model = 0, extra = 0;
      if (line.size() != 8 || !ParseHex(line, 0, 4, model) || !ParseHex(line, 4, 4, extra))
        return At(1, "the header is not 8 hex digits");
      if (model != kModelCode || extra != kExtraCode) return At(1, "the header is not 58160001");
      continue;
    }
    if (line.startsWith('#')) continue;
    unsigned address = 0, count = 0;
    if (line.size() < 8 || !ParseHex(line, 0, 4, address) || !ParseHex(line, 4, 2, count) ||
        line.size() != 6 + 2 * static_cast<qsizetype>(count))
      return At(lineNumber, "malformed data line");
    if (address + count > kImageSize) return At(lineNumber, "data outside the image");
    for (unsigned i = 0; i < count; ++i) {
      unsigned value = 0;
      if (!ParseHex(line, 6 + 2 * i, 2, value)) return At(lineNumber, "malformed data line");
      loaded[address + i] = static_cast<std::uint8_t>(value);
      seen[address + i] = true;
    }
  }
  if (lineNumber == 0) return "empty file";
  missing = static_cast<std::size_t>(std::count(seen.begin(), seen.begin() + kReadLast + 1, false));
  image.swap(loaded);
  return "";
}

std::string WriteCloneFile(const std::string& path, const Bytes& image) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return "cannot create " + path;
  char header[16];
  std::snprintf(header, sizeof header, "%04X%04X\r\n", kModelCode, kExtraCode);
  std::string text = header;
  std::string comment;
  for (std::size_t i = 0; i < kCommentLength; ++i) {
    const std::uint8_t c = image[kCommentAddress + i];
    comment.push_back(c >= 32 && c <= 126 ? static_cast<char>(c) : ' ');
  }
  comment.erase(comment.find_last_not_of(' ') + 1);
  text += "#Comment=" + comment + "\r\n#MapRev=1\r\n";
  for (unsigned address = kReadFirst; address <= kReadLast; address += 16) {
    const unsigned n = std::min(16u, kReadLast + 1u - address);
    char head[8];
    std::snprintf(head, sizeof head, "%04X%02X", address, n);
    text += head + HexText(&image[address], n) + "\r\n";
  }
  file.write(text.data(), static_cast<qint64>(text.size()));
  if (!file.commit()) return "cannot write " + path;
  return "";
}

namespace {

// Line m of the entry GI_App_InitialFile in the main overlay beside the
// executable: the name of model m's initial clone data file.
std::string InitialFileName(int model, const std::string& executableDir) {
  QFile overlay(QString::fromStdString(executableDir) + "/TB58.OVL");
  if (!overlay.open(QIODevice::ReadOnly)) return "";
  bool inEntry = false;
  int line = 0;
  while (!overlay.atEnd()) {
    QByteArray text = overlay.readLine();
    while (text.endsWith('\n') || text.endsWith('\r')) text.chop(1);
    if (!inEntry) {
      if (text == "#End_Of_Ovl") return "";
      inEntry = text == "#GI_App_InitialFile";
      continue;
    }
    if (text.startsWith('#')) return "";
    if (line++ == model) return text.trimmed().toStdString();
  }
  return "";
}

}  // namespace

std::string LoadModelImage(int model, const std::string& executableDir, Bytes& image,
                           std::string& source) {
  // Beside the executable in a build; in <prefix>/share/seaclone when
  // installed; the source tree's data/initial as a last resort.
  const std::string installed = executableDir + "/../share/seaclone";
  std::string name = InitialFileName(model, executableDir);
  if (name.empty()) name = InitialFileName(model, installed);
  if (!name.empty()) {
    for (const std::string& dir : {executableDir, installed, std::string(SIM_SOURCE_INITIAL_DIR)}) {
      const std::string path = dir + "/" + name;
      if (!QFileInfo::exists(QString::fromStdString(path))) continue;
      std::size_t missing = 0;
      const std::string error = ReadCloneFile(path, image, missing);
      if (!error.empty()) return path + ": " + error;
      source = path;
      return "";
    }
  }
  image.assign(kImageSize, 0);
  std::memcpy(&image[kSignatureAddress], kSignature, 8);
  image[kModelAddress] = static_cast<std::uint8_t>(model);
  source = "a blank image of model type " + std::to_string(model);
  return "";
}

}  // namespace sim
