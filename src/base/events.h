// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every event carried by the event bus (base/evman.h), one small struct
// each. kNumber is the event's fixed number; the bus delivers an event only
// to the handlers subscribed to that struct. Objects named by an event are
// identities to compare against (a grid, a menu, a popup menu's root), so
// they travel as const void* and nobody reads through them.

#include <cstdint>
#include <string>

class cmcCellObj;

// The cell number of the Edit menu item (CL_Menu_Edit_Top) whose sub-menu
// holds a sheet's cell menu.
inline constexpr int kEvCellMenuItem = 31;

namespace ev {

// Sent by a sheet being destroyed. The tree attached to that grid destroys
// itself; a drop-down choice window owned by it closes.
struct SheetDestroyed {
  static constexpr int kNumber = 1;
  const void* grid = nullptr;
};

// Sent when the port choice changed or the main window has been built. The
// main controller sends RefreshMenus, then RefreshToolBar.
struct CommandsChanged {
  static constexpr int kNumber = 2;
};

// Posted by the Help About command. The main controller shows the About box.
struct ShowAbout {
  static constexpr int kNumber = 3;
};

// Sent or posted. The main controller shows the text in the status message
// panel in those colours.
struct StatusText {
  static constexpr int kNumber = 4;
  std::uint32_t color = 0;
  std::uint32_t background = 0;
  std::string text;
};

// Sent. Menus refresh the state, caption and image of every item.
struct RefreshMenus {
  static constexpr int kNumber = 9;
};

// Sent. Menus empty the sub-menu of the item bound to that cell.
struct ClearCellMenu {
  static constexpr int kNumber = 10;
  int item = kEvCellMenuItem;
};

// Sent or posted. Menus fill the sub-menu of the item bound to that cell from
// the entry "<key>_Body", as the menu named does (none: each menu itself).
struct FillCellMenu {
  static constexpr int kNumber = 11;
  const void* menu = nullptr;
  int item = kEvCellMenuItem;
  std::string key;
};

// Asked by a menu before it refreshes or runs its items. The sheet whose
// cell popup menu has that root (none: the page shown) answers with its
// cursor cell's definition, which the menu copies at once.
struct AskCellDefinition {
  static constexpr int kNumber = 12;
  using Answer = const cmcCellObj*;
  const void* root = nullptr;
};

// Posted. Sheets redraw all data cells.
struct RedrawAllCells {
  static constexpr int kNumber = 13;
};

// Posted. Sheets redraw the cells bound to that cell.
struct RedrawCellsOfCell {
  static constexpr int kNumber = 15;
  int cell = 0;
};

// Posted. Sheets redraw the cells with that number.
struct RedrawCellsOfNumber {
  static constexpr int kNumber = 16;
  int number = 0;
};

// Sent. The tool bar refreshes its buttons.
struct RefreshToolBar {
  static constexpr int kNumber = 20;
};

// Sent before saving, opening, writing to the radio and printing. Sheets
// commit an open in-place editor; drop-down choice windows close.
struct CommitEditor {
  static constexpr int kNumber = 21;
};

// Sent when the image or the set of channel plans changed: the
// model-specific main controller rebuilds the channel-list nodes of the tree.
struct RebuildChannelNodes {
  static constexpr int kNumber = 27;
};

// Posted after an attribute choice in a channel list. The model-specific
// main controller switches the attribute list form first when asked, then
// moves the cursor.
struct AttributeChosen {
  static constexpr int kNumber = 28;
  bool switchForm = false;
};

}  // namespace ev
