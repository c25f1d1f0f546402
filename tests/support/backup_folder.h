// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A backup folder as months of use leave it: backups of two models made at
// different times, one cut short, and a file that is no backup at all.
// Written with the program's own clone data file writer into a folder the
// test owns.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <string>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "support/initial_image.h"
#include "text/gtex.h"

namespace testsupport {

// The image of model's initial file with the radio comment comment.
inline cmcEeprom BackupImage(cmcGTex& table, int model, const char* comment) {
  cmcEeprom image;
  LoadInitialImage(table, model, image);
  std::string text(comment);
  text.resize(memmap::kCommentLength, ' ');
  image.WriteBlock(memmap::kComment, text.data(), memmap::kCommentLength);
  return image;
}

inline bool WriteCloneFile(const std::string& path, cmcEeprom image) {
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  file.SetShowMessages(false);
  file.SetComment(cmcCloneFile::CommentFromImage(image));
  return file.Write(path, cmcCloneFile::StandardRanges()) == CloneFileCode::kOk;
}

inline bool SetChangeTime(const QString& path, const QDateTime& time) {
  QFile file(path);
  return file.open(QIODevice::ReadWrite) &&
         file.setFileTime(time, QFileDevice::FileModificationTime);
}

// The folder's files, newest first as a listing should give them.
struct BackupFolder {
  static constexpr const char* kHarbour = "2025-03-04_09-10-11_Germany-ATIS_HARBOUR.dat";
  static constexpr const char* kCut = "2024-12-31_23-59-59_USA_CUT.dat";
  static constexpr const char* kOldBoat = "2024-05-01_14-03-27_USA_OLD-BOAT.dat";
  static constexpr const char* kNotes = "notes.txt";  // last changed 2020-01-02 03:04:05

  // Fills folder (created when missing); false when a file could not be made.
  static bool Fill(const QString& folder, cmcGTex& table) {
    QDir().mkpath(folder);
    const auto path = [&](const char* name) { return QDir(folder).filePath(name).toStdString(); };
    if (!WriteCloneFile(path(kHarbour), BackupImage(table, 3, "HARBOUR")) ||
        !WriteCloneFile(path(kOldBoat), BackupImage(table, 0, "OLD BOAT")) ||
        !WriteCloneFile(path(kCut), BackupImage(table, 0, "CUT")))
      return false;
    // A backup cut short in the middle of a data line, as a full disk leaves it.
    QFile cut(QString::fromStdString(path(kCut)));
    if (!cut.resize(cut.size() / 2)) return false;
    QFile notes(QString::fromStdString(path(kNotes)));
    if (!notes.open(QIODevice::WriteOnly) || notes.write("radio numbers\n") < 0) return false;
    notes.close();
    return SetChangeTime(notes.fileName(), QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
  }
};

}  // namespace testsupport
