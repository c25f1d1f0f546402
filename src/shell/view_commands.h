// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The View and Help menus' commands and printing: the font size, the tool
// bar, the channel list view, printing the page or every page, and the
// manual. The printer and the help window are made when first asked for:
// the printer asks the print system for its printers and the help opens a
// database, and neither should hold up the first page.

#include <cstdint>
#include <memory>
#include <string>

#include "model/command_roles.h"

class cuiHtmlHelp;
class cuiPrinter;

namespace shell {

class Navigation;
class WindowBuilder;
struct WindowContext;

class ViewCommands : public ViewSettingsRole, public OutputHelpRole {
 public:
  ViewCommands(WindowContext& context, WindowBuilder& window, Navigation& navigation);
  ~ViewCommands() override;
  ViewCommands(const ViewCommands&) = delete;
  ViewCommands& operator=(const ViewCommands&) = delete;

  // F1 on a page: the help window at the topic of the cursor cell (help
  // for where the user is), or at its first page when the cell has none.
  // Shift+F1 is the cell's own small popup (ShowContextHelp).
  void HelpOnCursorCell();
  // The help context number of a cell name; 0 when the help knows none.
  static int HelpContext(std::uint32_t cell);
  // Made on first use (null before the window is built).
  cuiPrinter* Printer();
  cuiHtmlHelp* Help();
  bool PrintJobActive() const;
  // The form is going: the help window and the printer's dialogs go first.
  void Release();

  // --- ViewSettingsRole.
  int FontSize() const override;
  void SetFontSize(int size) override;
  bool ToolBarVisible() const override;
  void ToggleToolBar() override;
  bool UsableChannelsView() const override;
  // --- OutputHelpRole.
  bool CanPrintCurrent() const override;
  void PrintCurrent() override;
  void PrintAll() override;
  void ShowHelpContents() override;
  void ShowContextHelp(std::uint32_t cell) override;

 private:
  static std::string HelpFile();

  WindowContext& context_;
  WindowBuilder& window_;
  Navigation& navigation_;
  std::unique_ptr<cuiPrinter> printer_;
  std::unique_ptr<cuiHtmlHelp> help_;
  int printFontPoints_ = 10;  // without settings (tests)
};

}  // namespace shell
