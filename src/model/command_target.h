// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the command and menu cells reach outside the cell model, as
// one object the evaluator calls. It forwards to the roles it was given
// (model/command_roles.h); a role a program does not have gives the neutral
// answer here, in one place: nothing happens, false, 0, -1 or empty. The
// GUI and the command-line tool each build one and install it with
// SetCommandTarget; the evaluator never talks to any of them directly.

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "base/evman.h"
#include "model/command_roles.h"
#include "model/user_questions.h"

class CommandTarget {
 public:
  struct Roles {
    FileChoiceRole* files = nullptr;
    TransferRole* transfer = nullptr;
    ViewSettingsRole* view = nullptr;
    PortRole* ports = nullptr;
    OutputHelpRole* output = nullptr;
    NavigationRole* navigation = nullptr;
    // The views' event bus; a program without views has none, and the
    // events of its cells go nowhere.
    cmcEvMan* events = nullptr;
    UserQuestions* questions = nullptr;  // DefaultQuestions() when absent
  };

  // None of the roles is owned.
  explicit CommandTarget(DocumentRole& document) : document_(document) {}
  CommandTarget(DocumentRole& document, Roles roles) : document_(document), roles_(roles) {}

  // --- Document.
  cmcEeprom& WorkingImage() { return document_.WorkingImage(); }
  cmcFCache& OptionCache() { return document_.OptionCache(); }
  datClipCh& Clipboard() { return document_.Clipboard(); }
  int ModelType() const { return document_.ModelType(); }
  bool HasFileName() const { return document_.HasFileName(); }
  std::array<std::uint8_t, 28> RadioInformation() const { return document_.RadioInformation(); }
  void FileNew() { document_.FileNew(); }
  void FileSave() { document_.FileSave(); }
  void CloneRead() { document_.CloneRead(); }
  void CloneWrite() { document_.CloneWrite(); }
  void CloneInformation() { document_.CloneInformation(); }
  bool VerifyAfterWrite() const { return document_.VerifyAfterWrite(); }
  void ToggleVerifyAfterWrite() { document_.ToggleVerifyAfterWrite(); }
  void ChangeModel(int model) { document_.ChangeModel(model); }
  void NoteActivity() { document_.NoteActivity(); }
  bool CanUndo() const { return document_.CanUndo(); }
  bool CanRedo() const { return document_.CanRedo(); }
  void Undo() { document_.Undo(); }
  void Redo() { document_.Redo(); }

  // --- Talking to the user.
  UserQuestions& Questions() { return roles_.questions ? *roles_.questions : DefaultQuestions(); }

  // --- File choice.
  void FileOpen();
  void FileSaveAs();
  std::string RecentFile(int n) const;
  void OpenRecent(int n);
  void OpenBackupFolder();

  // --- Transfer.
  void ShowBackups();
  void ExportCsv();
  void ImportCsv();
  void CompareWithFile();
  void CompareWithRadio();
  void FleetProgramming();

  // --- View settings.
  int FontSize() const;
  void SetFontSize(int size);
  bool ToolBarVisible() const;
  void ToggleToolBar();
  bool UsableChannelsView() const;

  // --- Ports.
  int CurrentPort() const;
  void SetPort(int port);

  // --- Output and help.
  bool CanPrintCurrent() const;
  void PrintCurrent();
  void PrintAll();
  void ShowHelpContents();
  void ShowContextHelp(std::uint32_t cell);

  // --- Events to the views.
  template <class E>
  void Send(const E& event) {
    if (roles_.events) roles_.events->Send(event);
  }
  template <class E>
  void Post(E event) {
    if (roles_.events) roles_.events->Post(std::move(event));
  }
  // Shows a text in the status message panel in those colours.
  void ShowStatus(std::string text, std::uint32_t color, std::uint32_t background) {
    Send(ev::StatusText{color, background, std::move(text)});
  }

  // --- Navigation.
  void OpenSheet(const std::string& reference);
  void OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int current);
  const void* MainMenu() const;
  int EditMenuItemCount() const;
  void OpenPortSelection(int mode);
  void FindRadio();
  void CloseMainWindow();

 private:
  DocumentRole& document_;
  Roles roles_{};
};

// The target of the running program (not owned); nullptr removes it.
void SetCommandTarget(CommandTarget* target);
CommandTarget* GetCommandTarget();
