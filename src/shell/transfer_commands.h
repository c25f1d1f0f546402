// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's CSV (and OpenDocument spreadsheet) export and import, its
// comparisons with a file and with the radio, and fleet programming. The
// work is the core's; each runs on a document of its own, so the working
// image changes only by a whole import that succeeded, as one undo step.

#include <QPointer>
#include <memory>
#include <string>

#include "model/command_roles.h"
#include "radio/document.h"
#include "shell/file_dialogs.h"

class cuiBackupsDialog;
class cuiCompareDialog;
class cuiFleetDialog;
class cuiImportDialog;

namespace shell {

class DeferredCheck;
class DocumentCommands;
class Navigation;
class StatusLine;
struct WindowContext;

class TransferCommands : public TransferRole {
 public:
  // None of the references is owned; view and ports give the channel list
  // view and the port the transfers follow.
  TransferCommands(WindowContext& context, cuiFileDialogs& dialogs, StatusLine& status,
                   DeferredCheck& refresh, DocumentCommands& documents, Navigation& navigation,
                   const ViewSettingsRole& view, const PortRole& ports);
  ~TransferCommands() override;
  TransferCommands(const TransferCommands&) = delete;
  TransferCommands& operator=(const TransferCommands&) = delete;

  // A comparison with the radio reads it, or a fleet run goes on.
  bool Running() const { return radioCompare_ != nullptr || fleetRunning_; }

  void ShowBackups() override;  // in transfer_backups.cpp
  void ExportCsv() override;
  void ImportCsv() override;
  void CompareWithFile() override;
  void CompareWithRadio() override;
  void FleetProgramming() override;

 private:
  // A document of its own holding the working image, for work that must
  // not touch the working image until it succeeds.
  std::unique_ptr<cmcDocument> WorkingCopy() const;
  cuiFileDialogs::Request CsvRequest() const;
  void ShowError(const std::string& text) const;
  void ShowComparison(cmcDocument& other, const std::string& name);
  void FinishRadioCompare(CloneStatus status);
  // In transfer_backups.cpp: true when the backup became the working image.
  bool OpenBackup(const std::string& path);
  void CompareWithBackup(const std::string& path);
  // In transfer_fleet.cpp.
  void RunFleet(const std::string& ids, const std::string& log);

  WindowContext& context_;
  cuiFileDialogs& dialogs_;
  StatusLine& status_;
  DeferredCheck& refresh_;
  DocumentCommands& documents_;
  Navigation& navigation_;
  const ViewSettingsRole& view_;
  const PortRole& ports_;
  std::unique_ptr<cmcDocument> radioCompare_;  // the radio's image while it is read
  QPointer<cuiCompareDialog> compare_;
  QPointer<cuiImportDialog> importList_;  // an import's changes, until applied or cancelled
  QPointer<cuiFleetDialog> fleet_;
  QPointer<cuiBackupsDialog> backups_;
  bool fleetRunning_ = false;
};

}  // namespace shell
