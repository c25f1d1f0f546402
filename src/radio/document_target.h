// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command roles of a program without a window (seaclone-cli, and the
// warning check when nothing else is installed): the cells read and edit
// the document's working image and reach its clone commands and port
// setting. There is no file dialog, view, printer, help or sheet, so those
// roles are left out and their commands do nothing.

#include <memory>

#include "model/clip.h"
#include "model/command_roles.h"
#include "model/command_target.h"
#include "model/fcache.h"
#include "radio/document.h"

class cmcDocumentTarget : public DocumentRole, public PortRole {
 public:
  explicit cmcDocumentTarget(cmcDocument& document);
  ~cmcDocumentTarget() override;

  // What SetCommandTarget installs.
  CommandTarget& Commands() { return commands_; }

  cmcEeprom& WorkingImage() override { return document_.Working(); }
  cmcFCache& OptionCache() override { return cache_; }
  datClipCh& Clipboard() override { return clipboard_; }
  int ModelType() const override { return document_.ModelType(); }
  bool HasFileName() const override { return !document_.IsUntitled(); }
  std::array<std::uint8_t, 28> RadioInformation() const override {
    return document_.RadioInfo().payload;
  }
  void FileNew() override { document_.New(); }
  void FileSave() override {
    if (!document_.IsUntitled()) document_.SaveTo(document_.FilePath());
  }
  void CloneRead() override { document_.CloneRead(nullptr); }
  void CloneWrite() override { document_.CloneWrite(nullptr); }
  void CloneInformation() override { document_.CloneInformation(nullptr); }
  bool VerifyAfterWrite() const override { return document_.VerifyAfterWrite(); }
  void ToggleVerifyAfterWrite() override {
    document_.SetVerifyAfterWrite(!document_.VerifyAfterWrite());
  }
  void ChangeModel(int model) override { document_.ChangeModel(model, true); }
  void NoteActivity() override {
    document_.RecordStep();
    document_.UpdateModified();
  }
  bool CanUndo() const override { return document_.CanUndo(); }
  bool CanRedo() const override { return document_.CanRedo(); }
  void Undo() override { document_.Undo(); }
  void Redo() override { document_.Redo(); }

  int CurrentPort() const override { return document_.CloneMan().PortNumber(); }
  void SetPort(int port) override { document_.CloneMan().SetPortNumber(port); }

 private:
  cmcDocument& document_;
  cmcFCache cache_;
  datClipCh clipboard_;
  CommandTarget commands_{*this, {.ports = this}};
};
