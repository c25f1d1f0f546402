// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/file_commands.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>

#include "base/events.h"
#include "base/evman.h"
#include "platform/paths.h"
#include "settings/environ.h"
#include "shell/document_commands.h"
#include "shell/file_dialogs.h"
#include "shell/window_context.h"
#include "text/gtex.h"

namespace shell {

void FileCommands::FileOpen() {
  context_.bus.Send(ev::CommitEditor{});
  cuiFileDialogs::Request request;
  request.directory = documents_.CurrentDirectory();
  request.extension = WindowContext::Table().Line("GI_Sys_Dialog_FOpen", 0);
  request.filter = WindowContext::Table().Line("GI_Sys_Dialog_FOpen", 1);
  if (const auto path = dialogs_.ChooseOpen(context_.form, request)) documents_.OpenFile(*path);
}

void FileCommands::FileSaveAs() { documents_.SaveAs(); }

std::string FileCommands::RecentFile(int n) const {
  return gEnviron ? gEnviron->Recent.Entry(n) : std::string();
}

void FileCommands::OpenRecent(int n) {
  const std::string path = RecentFile(n);
  if (!path.empty()) documents_.OpenFile(path);
}

void FileCommands::OpenBackupFolder() {
  // The folder is made on the first read; opening it before then shows it empty.
  const QString folder = QFile::decodeName(platform::BackupDir().c_str());
  QDir().mkpath(folder);
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

}  // namespace shell
