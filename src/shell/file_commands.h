// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The File menu's choice of a file: the open dialog, Save As, the recent
// files and the folder of the backups. What is chosen goes to the document
// commands.

#include <string>

#include "model/command_roles.h"

class cuiFileDialogs;

namespace shell {

class DocumentCommands;
struct WindowContext;

class FileCommands : public FileChoiceRole {
 public:
  FileCommands(WindowContext& context, cuiFileDialogs& dialogs, DocumentCommands& documents)
      : context_(context), dialogs_(dialogs), documents_(documents) {}

  void FileOpen() override;
  void FileSaveAs() override;
  std::string RecentFile(int n) const override;
  void OpenRecent(int n) override;
  void OpenBackupFolder() override;

 private:
  WindowContext& context_;
  cuiFileDialogs& dialogs_;
  DocumentCommands& documents_;
};

}  // namespace shell
