// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame of the main window: menu, tool bar, the tree panel and the
// sheet panel beside each other on a splitter, and the status bar below.
// The navigation fills the two panels.

#include <functional>
#include <memory>

#include "shell/status_bar.h"

class QMainWindow;
class QSplitter;
class QWidget;
class cuiMenu;
class cuiToolBar;

namespace shell {

struct WindowContext;

class WindowBuilder {
 public:
  explicit WindowBuilder(WindowContext& context);
  ~WindowBuilder();
  WindowBuilder(const WindowBuilder&) = delete;
  WindowBuilder& operator=(const WindowBuilder&) = delete;

  // The menu and the tool bar (shown or not), then the two panels.
  void BuildFrame(QMainWindow* form, bool toolBarVisible);
  // Gives the tree panel the width the user left it; without one (the
  // first start) the tree shows its names whole, as long as the page keeps
  // half the window.
  void PlaceSplitter(int namesWidth);
  // The message panel and a square one; draw paints a panel, layout sets
  // the panels' widths after the bar was resized.
  void BuildStatusBar(cuiStatusBar::DrawFn draw, std::function<void()> layout);

  cuiMenu* Menu() const { return menu_.get(); }
  cuiToolBar* ToolBar() const { return toolBar_.get(); }
  cuiStatusBar* StatusBar() const { return status_; }
  QWidget* TreePanel() const { return treePanel_; }
  QWidget* SheetPanel() const { return sheetPanel_; }

  // The form is going: the menu and tool bar go, and the widgets the form
  // owns are forgotten.
  void Release();

 private:
  WindowContext& context_;
  std::unique_ptr<cuiMenu> menu_;
  std::unique_ptr<cuiToolBar> toolBar_;
  QSplitter* splitter_ = nullptr;
  QWidget* treePanel_ = nullptr;
  QWidget* sheetPanel_ = nullptr;
  cuiStatusBar* status_ = nullptr;
};

}  // namespace shell
