// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings store of its own for each test: a key path under a fresh
// organisation folder in the test's config home, with helpers to write the
// store by hand and read it back as text.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <memory>
#include <string>

#include "settings/environ.h"

namespace testsupport {

inline constexpr char kTestMutex[] = "Seaclone Test Environment Mutex";

class EnvironStore {
 public:
  EnvironStore() {
    static int serial = 0;
    organisation_ = QStringLiteral("SeacloneTest%1").arg(++serial);
    keyPath_ = "Software\\" + organisation_.toStdString() + "\\K4T";
    file_ = QSettings(QSettings::NativeFormat, QSettings::UserScope, organisation_,
                      QStringLiteral("K4T"))
                .fileName();
  }

  const std::string& KeyPath() const { return keyPath_; }
  const QString& File() const { return file_; }
  QString Folder() const { return QFileInfo(file_).absolutePath(); }

  void Write(const std::string& text) const {
    QDir().mkpath(Folder());
    QFile f(file_);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      f.write(text.data(), static_cast<qint64>(text.size()));
  }

  std::string Read() const {
    QFile f(file_);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
  }

  bool Exists() const { return QFile::exists(file_); }

  std::unique_ptr<indEnviron> Make() const {
    return std::make_unique<indEnviron>(kTestMutex, keyPath_);
  }

 private:
  QString organisation_;
  std::string keyPath_;
  QString file_;
};

// A complete store as the program writes it, with non-default values.
inline constexpr char kValidStore[] =
    "[Global]\n"
    "BBT=753951\n"
    "ComPort=7\n"
    "ComSpeedHigh=0\n"
    "Current%20Directory=/home/skipper/Radios\n"
    "\n"
    "[Recent%20File%20List]\n"
    "Recent0=/home/skipper/Radios/Dinghy.dat\n"
    "Recent1=/home/skipper/Radios/Yacht.dat\n"
    "Recent2=\n"
    "Recent3=\n"
    "Recent4=\n"
    "Recent5=\n"
    "Recent6=\n"
    "Recent7=\n"
    "Recent8=\n"
    "Recent9=\n"
    "\n"
    "[View%20Option]\n"
    "FontSize%20Percentage=150\n"
    "Toolbar%20Visible=0\n"
    "FontSize%20Printer=11\n"
    "\n"
    "[Window%20Position]\n"
    "Left=31\n"
    "Top=42\n"
    "Width=640\n"
    "Height=420\n"
    "SplitterV=180\n"
    "\n"
    "[Setup]\n"
    "ModelType=5\n"
    "ChListType=1\n";

// The store text with the first occurrence of from replaced by to.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace testsupport
