#pragma once
// The command target of a program without a window (seaclone-cli, and the
// warning check when nothing else is installed): the cells read and edit
// the document's working image; commands that need a window, a printer or a
// dialog have nothing to act on and do nothing.

#include <memory>

#include "model/clip.h"
#include "model/command_target.h"
#include "model/fcache.h"
#include "radio/document.h"

class cmcDocumentTarget : public CommandTarget {
 public:
  explicit cmcDocumentTarget(cmcDocument& document);
  ~cmcDocumentTarget() override;

  cmcEeprom& WorkingImage() override { return document_.Working(); }
  cmcFCache& OptionCache() override { return cache_; }
  datClipCh& Clipboard() override { return clipboard_; }
  int ModelType() const override { return document_.ModelType(); }
  bool UsableChannelsView() const override { return false; }
  int CurrentPort() const override { return document_.CloneMan().PortNumber(); }
  int FontSize() const override { return 100; }
  bool ToolBarVisible() const override { return false; }
  bool CanPrintCurrent() const override { return false; }
  std::string RecentFile(int) const override { return {}; }
  bool HasFileName() const override { return !document_.IsUntitled(); }
  std::array<std::uint8_t, 28> RadioInformation() const override {
    return document_.RadioInfo().payload;
  }
  std::intptr_t MainMenu() const override { return 0; }
  int EditMenuItemCount() const override { return -1; }

  void FileNew() override { document_.New(); }
  void FileOpen() override {}
  void FileSave() override {
    if (!document_.IsUntitled()) document_.SaveTo(document_.FilePath());
  }
  void FileSaveAs() override {}
  void PrintCurrent() override {}
  void PrintAll() override {}
  void OpenRecent(int) override {}
  void CloseMainWindow() override {}
  void SetFontSize(int) override {}
  void ToggleToolBar() override {}
  void SetPort(int port) override { document_.CloneMan().SetPortNumber(port); }
  void OpenPortSelection(int) override {}
  void CloneRead() override { document_.CloneRead(nullptr); }
  void CloneWrite() override { document_.CloneWrite(nullptr); }
  void CloneInformation() override { document_.CloneInformation(nullptr); }
  void ChangeModel(int model) override { document_.ChangeModel(model, true); }
  void ShowHelpContents() override {}
  void ShowContextHelp(std::uint32_t) override {}
  void OpenSheet(const std::string&) override {}
  void OpenChooser(const cmcCellCapsule&, const std::string&, int) override {}
  void NoteActivity() override { document_.UpdateModified(); }

 private:
  cmcDocument& document_;
  cmcFCache cache_;
  datClipCh clipboard_;
};
