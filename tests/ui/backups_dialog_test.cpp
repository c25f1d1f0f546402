// SPDX-License-Identifier: GPL-3.0-or-later
// The backups window on real widgets, the shipped overlay and a folder of
// real files: its rows newest first, what Open and Compare hand to the
// owner, an unreadable backup that can be neither, and Show in Folder.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include "support/backup_folder.h"
#include "text/gtex.h"
#include "ui/backups_dialog.h"

namespace {

using testsupport::BackupFolder;

class BackupsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(table.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
    previous = gGTex;
    gGTex = &table;  // the reasons and the model names
    folder = dir.filePath("backups");
  }
  void TearDown() override {
    delete dialog;
    gGTex = previous;
  }

  cuiBackupsDialog* Make() {
    cuiBackupsDialog::Actions actions;
    actions.open = [this](const std::string& path) {
      opened.push_back(path);
      return openSucceeds;
    };
    actions.compare = [this](const std::string& path) { compared.push_back(path); };
    actions.showFolder = [this](const QUrl& url) { shown.push_back(url); };
    dialog = new cuiBackupsDialog(nullptr, table, folder.toStdString(), std::move(actions));
    dialog->show();
    return dialog;
  }
  std::string Cell(int row, int column) const {
    const QTableWidgetItem* item = dialog->Table()->item(row, column);
    return item ? item->text().toStdString() : std::string();
  }
  std::string Path(const char* name) const { return QDir(folder).filePath(name).toStdString(); }

  QTemporaryDir dir;
  QString folder;
  cmcGTex table;
  cmcGTex* previous = nullptr;
  QPointer<cuiBackupsDialog> dialog;
  std::vector<std::string> opened;
  std::vector<std::string> compared;
  std::vector<QUrl> shown;
  bool openSucceeds = true;
};

TEST_F(BackupsDialog, ListsNewestFirstAndAnUnreadableBackupCanBeNeitherOpenedNorCompared) {
  ASSERT_TRUE(BackupFolder::Fill(folder, table));
  Make();
  QTableWidget* rows = dialog->Table();
  ASSERT_EQ(rows->rowCount(), 4);
  EXPECT_EQ(Cell(0, 0), "2025-03-04 09:10:11");
  EXPECT_EQ(Cell(0, 1), "Germany ATIS");
  EXPECT_EQ(Cell(0, 2), "HARBOUR");
  EXPECT_EQ(Cell(0, 3), "8.3 kB");
  EXPECT_EQ(Cell(0, 4), "");
  EXPECT_EQ(Cell(2, 2), "OLD BOAT");
  for (int row : {1, 3}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Cell(row, 4).rfind("Unreadable: The file is damaged", 0), 0u) << Cell(row, 4);
  }

  // An unreadable row: neither button, nor a double click, reaches the owner.
  rows->selectRow(1);
  EXPECT_FALSE(dialog->OpenButton()->isEnabled());
  EXPECT_FALSE(dialog->CompareButton()->isEnabled());
  emit rows->cellDoubleClicked(1, 0);
  dialog->OpenButton()->click();
  dialog->CompareButton()->click();
  EXPECT_TRUE(opened.empty());
  EXPECT_TRUE(compared.empty());

  // A readable one: Compare leaves the list open for the next.
  rows->selectRow(2);
  ASSERT_TRUE(dialog->CompareButton()->isEnabled());
  dialog->CompareButton()->click();
  EXPECT_EQ(compared, std::vector<std::string>{Path(BackupFolder::kOldBoat)});
  EXPECT_TRUE(dialog->isVisible());

  // An open the owner did not carry out (the user kept unsaved changes)
  // leaves the list; one it did closes it.
  openSucceeds = false;
  dialog->OpenButton()->click();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(dialog->isVisible());
  openSucceeds = true;
  rows->selectRow(0);
  emit rows->cellDoubleClicked(0, 0);
  EXPECT_EQ(opened,
            (std::vector<std::string>{Path(BackupFolder::kOldBoat), Path(BackupFolder::kHarbour)}));
  QApplication::processEvents();
  EXPECT_TRUE(!dialog || !dialog->isVisible());
}

TEST_F(BackupsDialog, ShowInFolderAsksForTheFolderMakingItBeforeTheFirstRead) {
  Make();
  ASSERT_EQ(dialog->Table()->rowCount(), 1);
  EXPECT_EQ(Cell(0, 0), "No backups yet: every read from a radio keeps one here.");
  EXPECT_FALSE(dialog->OpenButton()->isEnabled());
  EXPECT_NE(dialog->Heading()->text().indexOf(QDir::toNativeSeparators(folder)), -1)
      << dialog->Heading()->text().toStdString();

  dialog->FolderButton()->click();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], QUrl::fromLocalFile(folder));
  EXPECT_TRUE(QDir(folder).exists());
}

// Asked for again, the list shows a read made meanwhile and keeps the
// backup the user had selected.
TEST_F(BackupsDialog, ReloadShowsNewBackupsAndKeepsTheSelection) {
  ASSERT_TRUE(BackupFolder::Fill(folder, table));
  Make();
  dialog->Table()->selectRow(2);
  ASSERT_EQ(dialog->Selected()->file, BackupFolder::kOldBoat);
  ASSERT_TRUE(testsupport::WriteCloneFile(Path("2026-01-01_00-00-00_USA_NEW.dat"),
                                          testsupport::BackupImage(table, 0, "NEW")));
  dialog->Reload();
  EXPECT_EQ(dialog->Table()->rowCount(), 5);
  EXPECT_EQ(Cell(0, 2), "NEW");
  ASSERT_NE(dialog->Selected(), nullptr);
  EXPECT_EQ(dialog->Selected()->file, BackupFolder::kOldBoat);
}

}  // namespace
