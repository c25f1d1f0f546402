// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of the program that the command and menu cells reach, one
// interface per role. A program implements the roles it has and hands them
// to a CommandTarget (model/command_target.h); the evaluator only ever talks
// to that aggregate.

#include <array>
#include <cstdint>
#include <string>

class cmcEeprom;
class cmcFCache;
class datClipCh;
struct cmcCellCapsule;

// The document being edited and the clone commands on it. Every program
// that evaluates cells has one.
class DocumentRole {
 public:
  virtual ~DocumentRole() = default;
  virtual cmcEeprom& WorkingImage() = 0;
  virtual cmcFCache& OptionCache() = 0;
  virtual datClipCh& Clipboard() = 0;
  virtual int ModelType() const = 0;
  virtual bool HasFileName() const = 0;
  // The first 28 bytes of the last accepted clone information reply.
  virtual std::array<std::uint8_t, 28> RadioInformation() const = 0;
  virtual void FileNew() = 0;
  virtual void FileSave() = 0;  // under the current name
  virtual void CloneRead() = 0;
  virtual void CloneWrite() = 0;
  virtual void CloneInformation() = 0;
  // Whether a write reads the radio back and compares (a setting).
  virtual bool VerifyAfterWrite() const = 0;
  virtual void ToggleVerifyAfterWrite() = 0;
  virtual void ChangeModel(int model) = 0;  // asks for confirmation
  // After every evaluation that carried an action, an input or a popup
  // command: restart the deferred refresh and recompute the modified state.
  virtual void NoteActivity() = 0;
  // Undo and redo of whole evaluations that changed the working image.
  virtual bool CanUndo() const = 0;
  virtual bool CanRedo() const = 0;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
};

// Choosing a file: the open and save dialogs and the recent file list.
class FileChoiceRole {
 public:
  virtual ~FileChoiceRole() = default;
  virtual void FileOpen() = 0;  // with the open dialog
  virtual void FileSaveAs() = 0;
  // Recent file entry n (0-based); empty when the entry is empty.
  virtual std::string RecentFile(int n) const = 0;
  virtual void OpenRecent(int n) = 0;
  // Shows the folder of the backups of every read in the file manager.
  virtual void OpenBackupFolder() = 0;
};

// The working image to and from other files and radios, never replacing it
// before the user has seen what changes.
class TransferRole {
 public:
  virtual ~TransferRole() = default;
  // The list of the backups every read keeps, to open or compare one.
  virtual void ShowBackups() = 0;
  // The working image's pages to a CSV file, and a CSV file into them.
  virtual void ExportCsv() = 0;
  virtual void ImportCsv() = 0;
  // The working image against a clone data file, or against the radio.
  virtual void CompareWithFile() = 0;
  virtual void CompareWithRadio() = 0;
  // The working image into radio after radio, from a list of identities.
  virtual void FleetProgramming() = 0;
};

class ViewSettingsRole {
 public:
  virtual ~ViewSettingsRole() = default;
  virtual int FontSize() const = 0;
  virtual void SetFontSize(int size) = 0;  // also redraws
  virtual bool ToolBarVisible() const = 0;
  virtual void ToggleToolBar() = 0;
  // The channel sheets list only the usable channels (ChListType).
  virtual bool UsableChannelsView() const = 0;
};

// The port setting that every exchange uses.
class PortRole {
 public:
  virtual ~PortRole() = default;
  virtual int CurrentPort() const = 0;
  virtual void SetPort(int port) = 0;
};

class OutputHelpRole {
 public:
  virtual ~OutputHelpRole() = default;
  virtual bool CanPrintCurrent() const = 0;
  virtual void PrintCurrent() = 0;
  virtual void PrintAll() = 0;
  virtual void ShowHelpContents() = 0;
  // Context help for a cell (maps the cell name to a help context).
  virtual void ShowContextHelp(std::uint32_t cell) = 0;
};

// The windows a command opens, and the main window itself.
class NavigationRole {
 public:
  virtual ~NavigationRole() = default;
  virtual void OpenSheet(const std::string& reference) = 0;
  // Opens a chooser over option list listKey below the capsule's cell, with
  // current selected. The pick comes back as an evaluation of a copy of
  // the capsule with input mode 2.
  virtual void OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey,
                           int current) = 0;
  // The main menu, as the menu named by the cell menu event, and the
  // number of sub-items of its item bound to CL_Menu_Edit_Top (-1 when
  // there is no such item).
  virtual const void* MainMenu() const = 0;
  virtual int EditMenuItemCount() const = 0;
  // The port selection window, in mode 0, 1 or 2.
  virtual void OpenPortSelection(int mode) = 0;
  // The search for the radio on every serial port; a program without
  // windows has none.
  virtual void FindRadio() {}
  virtual void CloseMainWindow() = 0;
};
