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
#include "shell/document_commands.h"
#include "shell/status_line.h"
#include "shell/transfer_commands.h"
#include "shell/window_context.h"
#include "text/gtex.h"
#include "ui/backups_dialog.h"

namespace shell {
namespace {

std::string FileNameOf(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

cmcGTex& Table() { return WindowContext::Table(); }

}  // namespace

void TransferCommands::ShowBackups() {
  context_.bus.Send(ev::CommitEditor{});
  if (backups_) {
    backups_->Reload();
    backups_->raise();
    backups_->activateWindow();
    return;
  }
  cuiBackupsDialog::Actions actions;
  actions.open = [this](const std::string& path) { return OpenBackup(path); };
  actions.compare = [this](const std::string& path) { CompareWithBackup(path); };
  backups_ = new cuiBackupsDialog(context_.form, Table(), {}, std::move(actions));
  backups_->show();
}

bool TransferCommands::OpenBackup(const std::string& path) {
  // An exchange or print job would finish on an image it did not start with.
  if (context_.Busy()) {
    status_.Show(Table().Text("GI_Status_Backup_Busy"));
    return false;
  }
  if (documents_.ConfirmDiscard(false) == platform::kIdCancel) return false;
  WindowContext::WaitCursor(true);
  // Untitled: a save asks for a name, so the backup is never overwritten.
  const CloneFileCode code = documents_.Document().OpenUntitled(path);
  WindowContext::WaitCursor(false);
  if (code != CloneFileCode::kOk) return false;  // its message is shown
  status_.Show(cloneman::FormatText(Table().Text("GI_Status_Backup_Opened"), FileNameOf(path)));
  return true;
}

void TransferCommands::CompareWithBackup(const std::string& path) {
  context_.bus.Send(ev::CommitEditor{});
  cmcDocument other;
  if (other.Open(path) != CloneFileCode::kOk) return;  // its message is shown
  ShowComparison(other, FileNameOf(path));
}

}  // namespace shell
