// SPDX-License-Identifier: GPL-3.0-or-later
// File > Backups...: the list of the backups every read keeps, opened as
// an untitled image or compared with the working image.
#include <QFileInfo>
#include <QMainWindow>
#include <string>

#include "base/events.h"
#include "base/evman.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "shell/main_controller.h"
#include "text/gtex.h"
#include "ui/backups_dialog.h"

namespace {

std::string FileNameOf(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

}  // namespace

void cuiMain::ShowBackups() {
  bus_.Send(ev::CommitEditor{});
  if (backups_) {
    backups_->Reload();
    backups_->raise();
    backups_->activateWindow();
    return;
  }
  cuiBackupsDialog::Actions actions;
  actions.open = [this](const std::string& path) { return OpenBackup(path); };
  actions.compare = [this](const std::string& path) { CompareWithBackup(path); };
  backups_ = new cuiBackupsDialog(form_, Table(), {}, std::move(actions));
  backups_->show();
}

bool cuiMain::OpenBackup(const std::string& path) {
  // An exchange or print job would finish on an image it did not start with.
  if (ExchangeOrPrintRunning()) {
    ShowStatus(Table().Text("GI_Status_Backup_Busy"));
    return false;
  }
  if (ConfirmDiscard(false) == platform::kIdCancel) return false;
  WaitCursor(true);
  // Untitled: a save asks for a name, so the backup is never overwritten.
  const CloneFileCode code = doc_->OpenUntitled(path);
  WaitCursor(false);
  if (code != CloneFileCode::kOk) return false;  // its message is shown
  ShowStatus(cloneman::FormatText(Table().Text("GI_Status_Backup_Opened"), FileNameOf(path)));
  return true;
}

void cuiMain::CompareWithBackup(const std::string& path) {
  bus_.Send(ev::CommitEditor{});
  cmcDocument other;
  if (other.Open(path) != CloneFileCode::kOk) return;  // its message is shown
  ShowComparison(other, FileNameOf(path));
}
