// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main controller: the GUI's host of the document (cmcDocument does
// the work; this adds the questions, dialogs, wait cursor, title and views)
// and the builder of the main window with its menu, tool bar, tree, sheet
// panel and status bar. It answers every command role the cells reach and
// hands them to one CommandTarget, which start-up installs; nothing else
// holds a pointer to it.
//
// The model-specific half (maker mode, the channel-list nodes, the status
// panel of maker mode) is indMain.

#include <QPointer>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "base/task.h"
#include "base/tick.h"
#include "layout/tree_pages.h"
#include "model/clip.h"
#include "model/command_roles.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "model/fcache.h"
#include "radio/document.h"
#include "shell/file_dialogs.h"

class QMainWindow;
class QPainter;
class QRect;
class QSplitter;
class QWidget;
class cmcGTex;

class cuiImageList;
class cuiMenu;
class cuiSheet;
class cuiStatusBar;
class cuiToolBar;
class cuiTree;
class cmcProgressSink;
class cuiProgressWindow;
class cuiPrinter;
class cuiHtmlHelp;
class cuiHelpKey;
class cuiCompareDialog;
class cuiImportDialog;
class cuiFleetDialog;
class cmcEvMan;

class cuiMain : public cmcDocumentHost,
                public DocumentRole,
                public FileChoiceRole,
                public ViewSettingsRole,
                public PortRole,
                public OutputHelpRole,
                public NavigationRole {
 public:
  // Binds the two text tables to "<project>.OVL" and "<project>H.OVL" in
  // the data folder and subscribes to bus, which every view it builds
  // talks over too.
  cuiMain(cmcEvMan& bus, std::string projectCode, int imageSize);
  ~cuiMain() override;
  cuiMain(const cuiMain&) = delete;
  cuiMain& operator=(const cuiMain&) = delete;

  // --- The model-specific operations.
  virtual void Reset();
  virtual void BuildWindow(QMainWindow* form, cuiImageList* treeImages, cuiImageList* barImages);
  virtual void BuildTree();
  virtual cuiSheet* CreateSheet(QWidget* parent, const std::string& key);
  virtual bool ConfirmWrite() override { return true; }
  virtual void KeyTyped(char /*character*/) {}
  virtual void LayoutStatusBar() {}
  virtual void DrawStatusPanel(QPainter& painter, int panel, const QRect& rect);

  // --- The document.
  cmcDocument& Document() { return *doc_; }
  const std::string& CurrentDirectory() const { return currentDir_; }
  std::string Title() const;
  // Yes, No or Cancel (platform::kIdYes ...); Cancel means stop.
  int ConfirmDiscard(bool reopening);
  void OpenFile(const std::string& path);
  // 0 on success, else the file's error code (its message has been shown).
  int SaveTo(const std::string& path);
  // false when the user cancelled or the save failed.
  bool SaveAs();
  void UpdateModified();
  // The help context number of a cell name; 0 when the help knows none.
  int HelpContext(std::uint32_t cell) const;

  // --- Navigation.
  void CloseSheet();
  cuiSheet* Sheet() const { return sheet_.get(); }
  cuiTree* Tree() const { return tree_.get(); }
  cuiMenu* Menu() const { return menu_.get(); }
  cuiToolBar* ToolBar() const { return toolBar_.get(); }
  cuiStatusBar* StatusBar() const { return status_; }
  QWidget* TreePanel() const { return treePanel_; }
  QWidget* SheetPanel() const { return sheetPanel_; }
  QMainWindow* Form() const { return form_; }
  cuiImageList* TreeImages() const { return treeImages_; }
  void ApplyFontSize();
  struct Counts {
    int errors = 0;
    int warnings = 0;
  };
  Counts WarningCheck();
  // One tick of the 50 ms task; public so that a test can step it.
  void Tick();
  // The status text of event 4 and its colours.
  const std::string& StatusText() const { return statusText_; }
  // Says in the status bar's message panel what a command did. It stays
  // until the next message or the user's next move on a page; a page the
  // program opens on its own (after a read, a write, an undo) keeps it.
  void ShowStatus(const std::string& text);
  // An exchange with the radio (a clone command, a comparison with the
  // radio, a fleet run) or a print job runs: their windows are not modal,
  // so whatever would replace the working image waits for this to end.
  bool ExchangeOrPrintRunning() const;
  // Closing: the query refuses while the window is disabled or the user
  // cancels; the close stores the window's bounds and the tree's width.
  bool CanClose();
  void OnClose();
  // The form is going: every control built into it goes first.
  void ReleaseWindow();

  CommandTarget& Commands() { return commands_; }

  // --- The windows the commands open. Each has a default (the drop-down
  // list, the port dialog, the progress window, the About box); tests put
  // their own in its place.
  void SetFileDialogs(cuiFileDialogs* dialogs);
  using ChooserFn = std::function<void(const cmcCellCapsule&, const std::string&, int)>;
  void SetChooser(ChooserFn open) { chooser_ = std::move(open); }
  void SetPortSelection(std::function<void(int mode)> open) { portSelection_ = std::move(open); }
  void SetAboutBox(std::function<void()> show) { aboutBox_ = std::move(show); }
  // nullptr puts the program's own progress window back.
  void SetProgressSink(cmcProgressSink* sink);
  // Event 3: the About box; the characters typed into it go to KeyTyped.
  void ShowAboutBox();

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
  // --- FileChoiceRole.
  void FileOpen() override;
  void FileSaveAs() override { SaveAs(); }
  std::string RecentFile(int n) const override;
  void OpenRecent(int n) override;
  void OpenBackupFolder() override;
  void ExportCsv() override;
  void ImportCsv() override;
  void CompareWithFile() override;
  void CompareWithRadio() override;
  void FleetProgramming() override;
  // --- ViewSettingsRole.
  int FontSize() const override;
  void SetFontSize(int size) override;
  bool ToolBarVisible() const override;
  void ToggleToolBar() override;
  bool UsableChannelsView() const override;
  // --- PortRole.
  int CurrentPort() const override;
  void SetPort(int port) override;
  // --- OutputHelpRole.
  bool CanPrintCurrent() const override;
  void PrintCurrent() override;
  void PrintAll() override;
  void ShowHelpContents() override;
  void ShowContextHelp(std::uint32_t cell) override;
  // F1 on a page: the help window at the topic of the cursor cell (help
  // for where the user is), or at its first page when the cell has none.
  // Shift+F1 is the cell's own small popup (ShowContextHelp).
  void HelpOnCursorCell();
  // Made on first use (null before the window is built).
  cuiPrinter* Printer();
  cuiHtmlHelp* Help();
  // --- NavigationRole.
  void OpenSheet(const std::string& reference) override;
  void OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int current) override;
  const void* MainMenu() const override;
  int EditMenuItemCount() const override;
  void OpenPortSelection(int mode) override;
  // In find_radio_command.cpp: Port > Find the Radio.
  void FindRadio() override;
  void CloseMainWindow() override;

 protected:
  // cmcDocumentHost.
  void DocumentChanged(Change what) override;
  void InformationReceived() override;
  void CommitViewEdits() override;
  void ChannelListsChanged() override;

  cmcEvMan& Bus() const { return bus_; }
  void UpdateTitle();
  void SetStatusText(std::string text, std::uint32_t textColour, std::uint32_t background);
  cmcGTex& Table() const;
  // What decides which nodes the tree shows now.
  layout::TreeState TreeState() const;
  std::string HelpFile() const;

  bool maker_ = false;  // kept here so the document and the write ranges see it

 private:
  struct HistoryEntry {
    std::string key;
    int column, row, leftCol, topRow;
  };
  static std::string SheetKeyOf(const std::string& reference);
  void RememberSheet();
  std::string FileNamePart() const;
  void AfterFileNamed(const std::string& path);
  void StartClone(cmcDocument::StartResult (cmcDocument::*start)(cmcDocument::Done),
                  std::function<void(CloneStatus)> done);
  // In main_transfer.cpp: a document of its own holding the working image,
  // for work that must not touch the working image until it succeeds.
  std::unique_ptr<cmcDocument> WorkingCopy() const;
  cuiFileDialogs::Request CsvRequest() const;
  void ShowError(const std::string& text) const;
  void ShowComparison(cmcDocument& other, const std::string& name);
  void FinishRadioCompare(CloneStatus status);
  // Opens the page of reference with the cursor on its cell (row, column).
  void OpenCell(const std::string& reference, int row, int column);
  // In main_fleet.cpp.
  void RunFleet(const std::string& ids, const std::string& log);
  void SelectedNodeChanged();
  void WaitCursor(bool on);
  // The port and the time of day, as the status messages name them.
  std::string PortName() const;
  static std::string TimeOfDay();
  void CloneReadFinished(CloneStatus status);
  void CloneWriteFinished(CloneStatus status, bool verified);

  cmcEvMan& bus_;
  std::string projectCode_;
  int imageSize_;
  QPointer<QMainWindow> form_;
  cuiImageList* treeImages_ = nullptr;
  cuiImageList* barImages_ = nullptr;
  QWidget* treePanel_ = nullptr;
  QWidget* sheetPanel_ = nullptr;
  QSplitter* splitter_ = nullptr;
  cuiStatusBar* status_ = nullptr;
  std::string statusText_;
  std::uint32_t statusTextColour_ = kStatusTextColor;
  std::uint32_t statusBackground_ = kStatusBackColor;

  std::unique_ptr<cmcDocument> doc_;
  cmcFCache cache_;
  datClipCh clip_;
  std::string currentDir_;
  std::unique_ptr<cuiMenu> menu_;
  std::unique_ptr<cuiToolBar> toolBar_;
  std::unique_ptr<cuiTree> tree_;
  std::unique_ptr<cuiSheet> sheet_;
  std::list<HistoryEntry> history_;
  bool focusOnSheet_ = false;
  bool forgetWidths_ = false;
  std::optional<cmcTick> refresh_;
  cmcTaskPtr timer_;

  std::unique_ptr<cuiFileDialogs> ownDialogs_;
  cuiFileDialogs* dialogs_ = nullptr;
  ChooserFn chooser_;
  std::function<void(int)> portSelection_;
  std::function<void()> aboutBox_;
  cmcProgressSink* progress_ = nullptr;
  std::unique_ptr<cuiProgressWindow> ownProgress_;
  std::unique_ptr<cuiPrinter> printer_;
  std::unique_ptr<cuiHtmlHelp> help_;
  int printFontPoints_ = 10;  // without settings (tests)
  std::unique_ptr<cuiHelpKey> helpKey_;
  std::unique_ptr<cmcDocument> radioCompare_;  // the radio's image while it is read
  QPointer<cuiCompareDialog> compare_;
  QPointer<cuiImportDialog> importList_;  // an import's changes, until applied or cancelled
  QPointer<cuiFleetDialog> fleet_;
  bool fleetRunning_ = false;
  // Set while the program opens a page by itself: the page's own clearing
  // of the status bar then leaves the last message standing.
  bool openingQuietly_ = false;

  CommandTarget commands_{*this, {this, this, this, this, this, &bus_}};
};
