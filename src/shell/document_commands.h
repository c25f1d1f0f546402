// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's commands on the document: New, Open, Save and Save As with
// their questions, the clone read, write and information with the status
// messages they leave, undo and redo, and the change of model. The
// document (cmcDocument) does the work; this adds the questions, dialogs,
// wait cursor and title. It owns the document, the option-list cache and
// the channel clipboard the cells reach.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/clip.h"
#include "model/command_roles.h"
#include "model/fcache.h"
#include "radio/document.h"

class cuiFileDialogs;

namespace shell {

class DeferredCheck;
class StatusLine;
struct WindowContext;

class DocumentCommands : public DocumentRole {
 public:
  // None of the references is owned; ports gives the port of every exchange.
  DocumentCommands(WindowContext& context, cuiFileDialogs& dialogs, StatusLine& status,
                   DeferredCheck& refresh, const PortRole& ports);
  ~DocumentCommands() override;

  // Makes the document, on the initial image of model; host hears of its
  // changes and check counts the marks that refuse a write.
  void Start(int model, cmcDocumentHost* host, cmcDocument::WarningCheckFn check);
  bool HasDocument() const { return doc_ != nullptr; }
  cmcDocument& Document() { return *doc_; }
  // Where the file dialogs open; follows the last file opened or saved.
  const std::string& CurrentDirectory() const { return currentDir_; }
  // The file's name without its folder, or "Untitled".
  std::string FileNamePart() const;
  void UpdateTitle();
  // Yes, No or Cancel (platform::kIdYes ...); Cancel means stop.
  int ConfirmDiscard(bool reopening);
  void OpenFile(const std::string& path);
  // false when the user cancelled or the save failed.
  bool SaveAs();

  // --- DocumentRole.
  cmcEeprom& WorkingImage() override { return doc_->Working(); }
  cmcFCache& OptionCache() override { return cache_; }
  datClipCh& Clipboard() override { return clip_; }
  int ModelType() const override;
  bool HasFileName() const override { return doc_ && !doc_->IsUntitled(); }
  std::array<std::uint8_t, 28> RadioInformation() const override;
  void FileNew() override;
  void FileSave() override;
  void CloneRead() override;
  void CloneWrite() override;
  void CloneInformation() override;
  bool VerifyAfterWrite() const override;
  void ToggleVerifyAfterWrite() override;
  void ChangeModel(int model) override;
  void NoteActivity() override;
  bool CanUndo() const override { return doc_ && doc_->CanUndo(); }
  bool CanRedo() const override { return doc_ && doc_->CanRedo(); }
  void Undo() override;
  void Redo() override;

 private:
  // 0 on success, else the file's error code (its message has been shown).
  int SaveTo(const std::string& path);
  void AfterFileNamed(const std::string& path);
  void StartClone(cmcDocument::StartResult (cmcDocument::*start)(cmcDocument::Done),
                  std::function<void(CloneStatus)> done);
  // The port and the time of day, as the status messages name them.
  std::string PortName() const;
  static std::string TimeOfDay();
  void CloneReadFinished(CloneStatus status);
  void CloneWriteFinished(CloneStatus status, bool verified);

  WindowContext& context_;
  cuiFileDialogs& dialogs_;
  StatusLine& status_;
  DeferredCheck& refresh_;
  const PortRole& ports_;
  std::unique_ptr<cmcDocument> doc_;
  cmcFCache cache_;
  datClipCh clip_;
  std::string currentDir_;
};

}  // namespace shell
