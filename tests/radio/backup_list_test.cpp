// SPDX-License-Identifier: GPL-3.0-or-later
// The list of the backups in their folder (every file an entry, unreadable
// ones with their reason, newest first), its filters, and a backup opened
// as an untitled image.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "document_test_support.h"
#include "radio/backup_list.h"
#include "support/backup_folder.h"
#include "support/codes.h"

namespace {

using testsupport::BackupFolder;

class BackupListing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(table.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
    previous = gGTex;
    gGTex = &table;
    folder = dir.filePath("kept");
  }
  void TearDown() override { gGTex = previous; }

  std::vector<backup::Entry> List() { return backup::ListBackups(folder.toStdString() + "/"); }
  std::vector<std::string> Names(const std::vector<backup::Entry>& entries) {
    std::vector<std::string> names;
    for (const backup::Entry& e : entries) names.push_back(e.file);
    return names;
  }

  QTemporaryDir dir;
  QString folder;
  cmcGTex table;
  cmcGTex* previous = nullptr;
};

TEST_F(BackupListing, EveryFileNewestFirstAndAnUnreadableOneWithItsReason) {
  ASSERT_TRUE(BackupFolder::Fill(folder, table));
  // What the folder may also hold and no one wants listed: a folder, the
  // file manager's hidden notes, a backup still being written.
  QDir(folder).mkdir("old");
  for (const char* name : {".directory", "2025-03-04_09-10-11_USA.dat.123456.tmp"}) {
    QFile file(QDir(folder).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  struct Want {
    const char* file;
    const char* date;
    int modelType;
    const char* model;
    const char* comment;
    CloneFileCode error;
  };
  const Want wants[] = {
      {BackupFolder::kHarbour, "2025-03-04 09:10:11", 3, "Germany ATIS", "HARBOUR",
       CloneFileCode::kOk},
      // Unreadable: the model its name carries, nothing of its contents.
      {BackupFolder::kCut, "2024-12-31 23:59:59", -1, "USA", "", CloneFileCode::kFormat},
      {BackupFolder::kOldBoat, "2024-05-01 14:03:27", 0, "USA", "OLD BOAT", CloneFileCode::kOk},
      // No backup's name: dated by its last change.
      {BackupFolder::kNotes, "2020-01-02 03:04:05", -1, "", "", CloneFileCode::kFormat},
  };
  const std::vector<backup::Entry> list = List();
  ASSERT_EQ(list.size(), std::size(wants)) << ::testing::PrintToString(Names(list));
  for (std::size_t i = 0; i < list.size(); ++i) {
    const backup::Entry& e = list[i];
    const Want& w = wants[i];
    SCOPED_TRACE(w.file);
    EXPECT_EQ(e.file, w.file);
    EXPECT_EQ(e.path, QDir(folder).filePath(w.file).toStdString());
    EXPECT_EQ(e.date, w.date);
    EXPECT_EQ(e.modelType, w.modelType);
    EXPECT_EQ(e.model, w.model);
    EXPECT_EQ(e.comment, w.comment);
    EXPECT_EQ(e.size, static_cast<std::uintmax_t>(QFileInfo(QDir(folder).filePath(w.file)).size()));
    EXPECT_EQ(Num(e.error), Num(w.error));
    EXPECT_EQ(e.Readable(), w.error == CloneFileCode::kOk);
    // The reason is the message Open would show.
    EXPECT_EQ(e.reason, cmcCloneFile::ErrorText(w.error));
    EXPECT_EQ(e.reason.empty(), e.Readable());
  }
}

// The file name gives only the second; two reads within it are told apart
// by which file was written last.
TEST_F(BackupListing, OfTwoBackupsOfOneSecondTheLaterComesFirst) {
  ASSERT_TRUE(QDir().mkpath(folder));
  const QDateTime when(QDate(2025, 1, 1), QTime(10, 0, 0));
  const char* names[] = {"2025-01-01_10-00-00_USA_A-2.dat", "2025-01-01_10-00-00_USA_A.dat"};
  for (int i = 0; i < 2; ++i) {
    const QString path = QDir(folder).filePath(names[i]);
    ASSERT_TRUE(
        testsupport::WriteCloneFile(path.toStdString(), testsupport::BackupImage(table, 0, "A")));
    // The second name ("-2") is the one FreePath gives the later read.
    ASSERT_TRUE(testsupport::SetChangeTime(path, when.addSecs(i == 0 ? 1 : 0)));
  }
  EXPECT_EQ(Names(List()), (std::vector<std::string>{names[0], names[1]}));
}

TEST_F(BackupListing, AFolderNotMadeYetIsEmptyAndOneThatCannotBeReadSaysSo) {
  std::error_code error;
  EXPECT_TRUE(backup::ListBackups(folder.toStdString(), &error).empty());
  EXPECT_FALSE(error) << error.message();

  QFile file(folder);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_TRUE(backup::ListBackups(folder.toStdString(), &error).empty());
  EXPECT_TRUE(error);
}

TEST_F(BackupListing, FiltersKeepAModelAndWhatCameFromAMomentOn) {
  ASSERT_TRUE(BackupFolder::Fill(folder, table));
  const std::vector<backup::Entry> list = List();
  struct Case {
    int model;
    const char* since;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {-1,
       "",
       {BackupFolder::kHarbour, BackupFolder::kCut, BackupFolder::kOldBoat, BackupFolder::kNotes}},
      // An unreadable file's model is not known: no model keeps it.
      {0, "", {BackupFolder::kOldBoat}},
      {3, "", {BackupFolder::kHarbour}},
      {5, "", {}},
      // From the moment on, that second included; unreadable files have a date.
      {-1, "2024-12-31 23:59:59", {BackupFolder::kHarbour, BackupFolder::kCut}},
      {-1, "2025-01-01 00:00:00", {BackupFolder::kHarbour}},
      {0, "2024-06-01 00:00:00", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> kept;
    for (const backup::Entry& e : list)
      if (backup::Matches(e, {c.model, c.since})) kept.push_back(e.file);
    EXPECT_EQ(kept, c.kept) << "model " << c.model << " since '" << c.since << "'";
  }
}

TEST(BackupSince, TakesADayOrAMomentAndRefusesWhatIsNoDate) {
  struct Case {
    const char* text;
    const char* moment;  // nullptr: refused
  };
  const Case cases[] = {
      {"2024-05-01", "2024-05-01 00:00:00"},
      {"2024-05-01 14:30", "2024-05-01 14:30:00"},
      {"2024-05-01T14:30:15", "2024-05-01 14:30:15"},
      {"2024-02-29", "2024-02-29 00:00:00"},
      {"2024-12-31 23:59:59", "2024-12-31 23:59:59"},
      {"2023-02-29", nullptr},
      {"2024-04-31", nullptr},
      {"2024-13-01", nullptr},
      {"2024-00-10", nullptr},
      {"2024-05-01 24:00", nullptr},
      {"2024-05-01 12:60", nullptr},
      {"2024-05-01 14", nullptr},
      {"2024-05-01T", nullptr},
      {"2024-5-1", nullptr},
      {"01.05.2024", nullptr},
      {"yesterday", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    std::string moment = "unchanged";
    EXPECT_EQ(backup::ParseSince(c.text, moment), c.moment != nullptr) << c.text;
    EXPECT_EQ(moment, c.moment ? c.moment : "unchanged") << c.text;
  }
}

class BackupOpen : public doctest::DocumentWorld {};

// A backup opens as the read it came from did: untitled and modified, so
// that no save can overwrite it; a file that fails the checks changes
// nothing.
TEST_F(BackupOpen, OpensUntitledAndModifiedOrNotAtAll) {
  const std::string named = data + "mine.dat";
  ASSERT_EQ(doctest::WriteFile(named, doctest::RadioImage(0)), 0);
  const std::string backupFile = data + "2025-03-04_09-10-11_model-3.dat";
  ASSERT_EQ(doctest::WriteFile(backupFile, doctest::RadioImage(3)), 0);
  const std::string damaged = data + "2025-03-05_09-10-11_model-3.dat";
  ASSERT_EQ(doctest::WriteFile(damaged, doctest::RadioImage(3)), 0);
  ASSERT_TRUE(QFile::resize(QString::fromStdString(damaged), 200));

  auto doc = MakeDocument();
  ASSERT_EQ(Num(doc->Open(named)), 0);
  const cmcEeprom before(doc->Working());
  EXPECT_NE(Num(doc->OpenUntitled(damaged)), 0);
  EXPECT_EQ(messages.Count(), 1);
  EXPECT_EQ(doc->FilePath(), named);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->ModelType(), 0);
  EXPECT_TRUE(doc->Working().Equals(before));

  QFile file(QString::fromStdString(backupFile));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  file.close();
  ASSERT_EQ(Num(doc->OpenUntitled(backupFile)), 0);
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->ModelType(), 3);
  // The image is the one Open gives of the file.
  auto opened = MakeDocument();
  ASSERT_EQ(Num(opened->Open(backupFile)), 0);
  EXPECT_TRUE(doc->Working().Equals(opened->Working()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), bytes);
  // The file it came from is no step to go back to.
  EXPECT_FALSE(doc->CanUndo());
}

}  // namespace
