// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main controller: it owns the parts of the main window, each with one
// concern and each answering the command roles of its concern for the
// cells (through one CommandTarget, which start-up installs):
//   Documents()  New, Open, Save, the clone commands, undo, the model
//   Files()      the open dialog, Save As, recent files, backup folder
//   Transfers()  CSV and spreadsheet export and import, comparisons, fleet
//   View()       font size, tool bar, printing, help
//   Ports()      the port every exchange uses
//   Window()     the frame: menu, tool bar, panels, status bar
//   Navigation() the tree, the open page and its history, the 50 ms tick
//   Status()     the status bar's message
// The controller hosts the document, builds the window and keeps the
// model-specific operations that indMain (maker mode, the channel-list
// nodes, the maker status panel) overrides. Nothing else holds a pointer
// to it.

#include <functional>
#include <memory>
#include <string>

#include "model/command_target.h"
#include "radio/document.h"
#include "shell/deferred_check.h"
#include "shell/document_commands.h"
#include "shell/file_commands.h"
#include "shell/file_dialogs.h"
#include "shell/navigation.h"
#include "shell/port_setting.h"
#include "shell/status_line.h"
#include "shell/transfer_commands.h"
#include "shell/view_commands.h"
#include "shell/window_builder.h"
#include "shell/window_context.h"

class QMainWindow;
class QPainter;
class QRect;
class QWidget;
class cmcEvMan;
class cmcGTex;
class cmcProgressSink;
class cuiImageList;
class cuiProgressWindow;
class cuiSheet;

class cuiMain : public cmcDocumentHost {
 public:
  // Binds the two text tables to "<project>.OVL" and "<project>H.OVL" in
  // the data folder and subscribes to bus, which every view it builds
  // talks over too. The document and the cells ask and tell the user
  // through questions.
  cuiMain(cmcEvMan& bus, UserQuestions& questions, std::string projectCode, int imageSize);
  ~cuiMain() override;
  cuiMain(const cuiMain&) = delete;
  cuiMain& operator=(const cuiMain&) = delete;

  // --- The model-specific operations.
  virtual void Reset();
  virtual void BuildWindow(QMainWindow* form, cuiImageList* treeImages, cuiImageList* barImages);
  virtual void BuildTree();
  virtual cuiSheet* CreateSheet(QWidget* parent, const std::string& key);
  bool ConfirmWrite() override { return true; }
  virtual void KeyTyped(char /*character*/) {}
  virtual void LayoutStatusBar() {}
  virtual void DrawStatusPanel(QPainter& painter, int panel, const QRect& rect);

  // --- The parts.
  shell::DocumentCommands& Documents() { return documents_; }
  shell::FileCommands& Files() { return files_; }
  shell::TransferCommands& Transfers() { return transfers_; }
  shell::ViewCommands& View() { return view_; }
  shell::PortSetting& Ports() { return ports_; }
  shell::WindowBuilder& Window() { return window_; }
  shell::Navigation& Navigation() { return navigation_; }
  shell::StatusLine& Status() { return status_; }
  CommandTarget& Commands() { return commands_; }

  // An exchange with the radio (a clone command, a comparison with the
  // radio, a fleet run) or a print job runs: their windows are not modal,
  // so whatever would replace the working image waits for this to end.
  bool ExchangeOrPrintRunning();
  // Closing: the query refuses while the window is disabled or the user
  // cancels; the close stores the tree's width.
  bool CanClose();
  void OnClose();
  // The form is going: every control built into it goes first.
  void ReleaseWindow();

  // --- The windows the commands open. Each has a default (the file
  // dialogs, the progress window, the About box); tests put their own in
  // its place. nullptr puts the default back.
  void SetFileDialogs(cuiFileDialogs* dialogs) { dialogs_.Use(dialogs); }
  void SetProgressSink(cmcProgressSink* sink);
  void SetAboutBox(std::function<void()> show) { aboutBox_ = std::move(show); }

 protected:
  // cmcDocumentHost.
  void DocumentChanged(Change what) override;
  void InformationReceived() override;
  void CommitViewEdits() override;
  void ChannelListsChanged() override;

  cmcEvMan& Bus() const { return context_.bus; }
  shell::WindowContext& Context() { return context_; }
  const shell::WindowContext& Context() const { return context_; }
  static cmcGTex& Table();

 private:
  // Event 3: the About box; the characters typed into it go to KeyTyped.
  void ShowAboutBox();

  std::string projectCode_;
  int imageSize_;
  shell::WindowContext context_;
  shell::StatusLine status_{context_.bus};
  shell::DeferredCheck refresh_;
  cuiChosenFileDialogs dialogs_;
  shell::PortSetting ports_{context_.bus};
  shell::DocumentCommands documents_{context_, dialogs_, status_, refresh_, ports_};
  shell::FileCommands files_{context_, dialogs_, documents_};
  shell::WindowBuilder window_{context_};
  shell::Navigation navigation_{
      context_,
      window_,
      documents_,
      status_,
      refresh_,
      ports_,
      [this](QWidget* parent, const std::string& key) { return CreateSheet(parent, key); }};
  shell::ViewCommands view_{context_, window_, navigation_};
  shell::TransferCommands transfers_{context_,   dialogs_,    status_, refresh_,
                                     documents_, navigation_, view_,   ports_};
  std::unique_ptr<cuiProgressWindow> ownProgress_;
  std::function<void()> aboutBox_;

  CommandTarget commands_{documents_,
                          {.files = &files_,
                           .transfer = &transfers_,
                           .view = &view_,
                           .ports = &ports_,
                           .output = &view_,
                           .navigation = &navigation_,
                           .events = &context_.bus,
                           .questions = &context_.questions}};
};
