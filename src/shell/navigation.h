// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tree of pages and the page open beside it: opening and closing
// sheets with the memory of where the user was on each, the 50 ms tick
// that opens the page of the selected node and runs the deferred warning
// check, the warning marks of the tree, and the windows a command opens
// over a page (the drop-down list, the port selection).

#include <functional>
#include <list>
#include <memory>
#include <string>

#include "base/task.h"
#include "layout/tree_pages.h"
#include "model/command_roles.h"

class QWidget;
class cuiHelpKey;
class cuiSheet;
class cuiTree;

namespace shell {

class DeferredCheck;
class DocumentCommands;
class StatusLine;
class WindowBuilder;
struct WindowContext;

class Navigation : public NavigationRole {
 public:
  // Makes the sheet of a page key in parent (the controller's CreateSheet).
  using CreateSheetFn = std::function<cuiSheet*(QWidget* parent, const std::string& key)>;
  using ChooserFn = std::function<void(const cmcCellCapsule&, const std::string&, int)>;
  struct Counts {
    int errors = 0;
    int warnings = 0;
  };

  Navigation(WindowContext& context, WindowBuilder& window, DocumentCommands& documents,
             StatusLine& status, DeferredCheck& refresh, PortRole& ports,
             CreateSheetFn createSheet);
  ~Navigation() override;
  Navigation(const Navigation&) = delete;
  Navigation& operator=(const Navigation&) = delete;

  // The tree in the tree panel, the first node selected; its page opens
  // on the next tick.
  void BuildTree();
  cuiTree* Tree() const { return tree_.get(); }
  cuiSheet* Sheet() const { return sheet_.get(); }
  void CloseSheet();
  // Opens the page of reference with the cursor on its cell (row, column).
  void OpenCell(const std::string& reference, int row, int column);
  // One tick of the 50 ms task; public so that a test can step it.
  void Tick();
  // Marks the tree's nodes whose pages hold errors or warnings.
  Counts WarningCheck();
  // The next page measures its columns afresh (a new font size).
  void ForgetWidths();
  // What decides which nodes the tree shows now.
  layout::TreeState TreeState() const;
  // The page key of a node's reference ("[...]key,extra").
  static std::string SheetKeyOf(const std::string& reference);

  // The drop-down list and the port dialog have defaults; tests put their
  // own in their place.
  void SetChooser(ChooserFn open) { chooser_ = std::move(open); }
  void SetPortSelection(std::function<void(int mode)> open) { portSelection_ = std::move(open); }
  // Starts the tick; onHelpKey is F1 on a page.
  void StartTicking(std::function<void()> onHelpKey);
  // The window is closing: the tick stops, the page and the tree go.
  void Release();

  // --- NavigationRole.
  void OpenSheet(const std::string& reference) override;
  void OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int current) override;
  const void* MainMenu() const override;
  int EditMenuItemCount() const override;
  void OpenPortSelection(int mode) override;
  // In find_radio_command.cpp: Port > Find the Radio.
  void FindRadio() override;
  void CloseMainWindow() override;

 private:
  struct HistoryEntry {
    std::string key;
    int column, row, leftCol, topRow;
  };
  void RememberSheet();
  void SelectedNodeChanged();

  WindowContext& context_;
  WindowBuilder& window_;
  DocumentCommands& documents_;
  StatusLine& status_;
  DeferredCheck& refresh_;
  PortRole& ports_;
  CreateSheetFn createSheet_;
  std::unique_ptr<cuiTree> tree_;
  std::unique_ptr<cuiSheet> sheet_;
  std::list<HistoryEntry> history_;
  bool focusOnSheet_ = false;
  bool forgetWidths_ = false;
  cmcTaskPtr timer_;
  std::unique_ptr<cuiHelpKey> helpKey_;
  ChooserFn chooser_;
  std::function<void(int)> portSelection_;
};

}  // namespace shell
