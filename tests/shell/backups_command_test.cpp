// SPDX-License-Identifier: GPL-3.0-or-later
// File > Backups... in the main window: a backup opened becomes an
// untitled, modified image that no save can write over it, unsaved
// changes are asked about first, and Compare shows the comparison table.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "model/cell_names.h"
#include "radio/backup_list.h"
#include "shell/main_window_support.h"
#include "support/backup_folder.h"
#include "ui/backups_dialog.h"
#include "ui/compare_dialog.h"
#include "ui/menu.h"

namespace {

using testsupport::BackupFolder;

class BackupsCommand : public shelltest::MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    folder = dir.filePath("backups");
    qputenv("SEACLONE_BACKUP_DIR", folder.toLocal8Bit());
  }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (dynamic_cast<cuiCompareDialog*>(w) || dynamic_cast<cuiBackupsDialog*>(w)) delete w;
    MainWindow::TearDown();
    qunsetenv("SEACLONE_BACKUP_DIR");
  }
  template <typename Dialog>
  Dialog* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = dynamic_cast<Dialog*>(w); d && d->isVisible()) return d;
    return nullptr;
  }
  // A click on the menu item; a file dialog it opens is cancelled.
  void Trigger(std::uint32_t cell) {
    QAction* item = Main().Window().Menu()->FindItem(cell);
    ASSERT_NE(item, nullptr) << CellName(cell);
    item->trigger();
    time.AdvanceBy(60);
    QApplication::processEvents();
  }
  // File > Backups..., with the row of file selected.
  cuiBackupsDialog* ListWith(const char* file) {
    Trigger(CL_Menu_File_Backups);
    cuiBackupsDialog* list = Shown<cuiBackupsDialog>();
    if (!list) return nullptr;
    for (int row = 0; row < static_cast<int>(list->Entries().size()); ++row)
      if (list->Entries()[static_cast<std::size_t>(row)].file == file)
        list->Table()->selectRow(row);
    return list;
  }
  void Press(QPushButton* button) {
    button->click();
    time.AdvanceBy(60);
    QApplication::processEvents();
  }
  QByteArray Bytes(const char* file) const {
    QFile f(QDir(folder).filePath(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QString folder;
};

TEST_F(BackupsCommand, OpenMakesAnUntitledModifiedImageAfterAskingAboutUnsavedChanges) {
  Start();
  ASSERT_TRUE(BackupFolder::Fill(folder, *gGTex));
  const QByteArray kept = Bytes(BackupFolder::kHarbour);
  Edit();
  ASSERT_TRUE(Doc().IsModified());
  const cmcEeprom edited(Doc().Working());

  // Cancel keeps the edit, and the list stays for another choice.
  cuiBackupsDialog* list = ListWith(BackupFolder::kHarbour);
  ASSERT_NE(list, nullptr);
  responder.Answer(platform::kIdCancel);
  Press(list->OpenButton());
  EXPECT_EQ(responder.Count(), 1);
  EXPECT_TRUE(Doc().Working().Equals(edited));
  ASSERT_EQ(Shown<cuiBackupsDialog>(), list);

  // No throws the edit away.
  responder.Answer(platform::kIdNo);
  Press(list->OpenButton());
  EXPECT_EQ(responder.Count(), 2);
  EXPECT_EQ(Shown<cuiBackupsDialog>(), nullptr);
  EXPECT_TRUE(Doc().IsUntitled());
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_EQ(Doc().ModelType(), 3);
  EXPECT_EQ(Title(), "Untitled" + shelltest::kTitle);
  cmcDocument opened;
  ASSERT_EQ(opened.Open(QDir(folder).filePath(BackupFolder::kHarbour).toStdString()),
            CloneFileCode::kOk);
  EXPECT_TRUE(Doc().Working().Equals(opened.Working()));
  EXPECT_NE(Main().Status().Text().find(BackupFolder::kHarbour), std::string::npos)
      << Main().Status().Text();

  // Save asks for a name: the backup is not written over.
  Trigger(CL_Menu_File_Save);
  ASSERT_FALSE(dialogs.asked.empty());
  EXPECT_EQ(dialogs.asked.back(), "save");
  EXPECT_EQ(Bytes(BackupFolder::kHarbour), kept);
}

TEST_F(BackupsCommand, CompareShowsTheTableOfDifferencesWithTheBackup) {
  Start();
  ASSERT_TRUE(BackupFolder::Fill(folder, *gGTex));
  const cmcEeprom before(Doc().Working());
  cuiBackupsDialog* list = ListWith(BackupFolder::kOldBoat);
  ASSERT_NE(list, nullptr);
  Press(list->CompareButton());
  cuiCompareDialog* comparison = Shown<cuiCompareDialog>();
  ASSERT_NE(comparison, nullptr);
  EXPECT_NE(comparison->Heading()->text().toStdString().find(BackupFolder::kOldBoat),
            std::string::npos);
  // The backup differs from the working image in its comment at least.
  EXPECT_FALSE(comparison->Differences().Empty());
  EXPECT_TRUE(Doc().Working().Equals(before));
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
}

}  // namespace
