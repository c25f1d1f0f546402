// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The backups every read keeps, newest first (date and time, model, radio
// comment, size, and why a file cannot be used), with Open, Compare with
// the working image and Show in Folder. What Open and Compare do is the
// owner's; an unreadable backup can be neither. Modeless; closing deletes
// it.
//
// Texts come from the overlay key GI_Dlg_Backups, line by line: caption,
// the line above the list (%s: the folder), the five column captions, the
// note of an unreadable file (%s: the reason), the empty folder's line,
// the unreadable folder's line (%s: the reason), then the buttons Open,
// Compare, Show in Folder and Close.

#include <QDialog>
#include <QUrl>
#include <functional>
#include <string>
#include <vector>

#include "radio/backup_list.h"

class QLabel;
class QPushButton;
class QTableWidget;
class cmcGTex;

class cuiBackupsDialog : public QDialog {
 public:
  struct Actions {
    // Opens the backup at path; true when it became the working image
    // (the list then closes), false when it did not (the user kept the
    // unsaved changes, or the file failed and said so).
    std::function<bool(const std::string& path)> open;
    // Compares the working image with the backup at path.
    std::function<void(const std::string& path)> compare;
    // Shows a folder in the file manager; QDesktopServices::openUrl when
    // empty (tests see the address instead).
    std::function<void(const QUrl& folder)> showFolder;
  };

  // Lists folder (platform::BackupDir() when "").
  cuiBackupsDialog(QWidget* owner, cmcGTex& table, std::string folder, Actions actions);

  // Reads the folder again (a read may have added a backup), keeping the
  // selected backup selected where it is still there.
  void Reload();

  QTableWidget* Table() const { return table_; }
  QLabel* Heading() const { return heading_; }
  QPushButton* OpenButton() const { return open_; }
  QPushButton* CompareButton() const { return compare_; }
  QPushButton* FolderButton() const { return folderButton_; }
  const std::vector<backup::Entry>& Entries() const { return entries_; }
  // The entry of the selected row; nullptr when none is selected.
  const backup::Entry* Selected() const;

 private:
  void Fill();
  void UpdateButtons();
  void OpenSelected();
  void CompareSelected();
  void ShowFolder();
  QString Text(int line) const;

  cmcGTex& gtex_;
  std::string folder_;
  Actions actions_;
  std::vector<backup::Entry> entries_;
  std::string unreadableFolder_;  // why the folder could not be read; "" when it could
  QLabel* heading_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPushButton* open_ = nullptr;
  QPushButton* compare_ = nullptr;
  QPushButton* folderButton_ = nullptr;
};
