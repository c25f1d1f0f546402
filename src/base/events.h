// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every event number carried by the event bus. Senders and handlers use
// these names, never the bare numbers.

enum : int {
  // send; second = the grid control of a sheet being destroyed. The tree
  // attached to that grid destroys itself; a drop-down choice window owned by
  // it closes.
  kEvSheetDestroyed = 1,
  // send; the port choice changed or the main window has been built. The
  // main controller sends kEvRefreshMenus, then kEvRefreshToolBar.
  kEvCommandsChanged = 2,
  // post; the Help About command. The main controller shows the About box.
  kEvShowAbout = 3,
  // send text or post text; first = text colour, second = background colour.
  // The main controller shows the text in the status message panel.
  kEvStatusText = 4,
  // send; menus refresh the state, caption and image of every item.
  kEvRefreshMenus = 9,
  // send; second = kEvCellMenuItem. Menus empty the sub-menu of that item.
  kEvClearCellMenu = 10,
  // send text or post text; first = the cell menu (a cuiMenu*),
  // second = kEvCellMenuItem,
  // text = popup menu key. Menus fill that sub-menu from "<key>_Body".
  kEvFillCellMenu = 11,
  // ask; first = a menu's root item, or none. The sheet whose cell popup
  // menu has that root replies with its cursor cell's definition: the
  // reply's argument points at the cell, which the menu copies during the ask.
  kEvAskCellDefinition = 12,
  // post; sheets redraw all data cells.
  kEvRedrawAllCells = 13,
  // post; second = cell. Sheets redraw the cells bound to that cell.
  kEvRedrawCellsOfCell = 15,
  // post; second = number. Sheets redraw the cells with that number.
  kEvRedrawCellsOfNumber = 16,
  // send; the tool bar refreshes its buttons.
  kEvRefreshToolBar = 20,
  // send; sheets commit an open in-place editor, drop-down choice windows
  // close (before saving, opening, writing to the radio, printing).
  kEvCommitEditor = 21,
  // send; the image or the set of channel plans changed: the model-specific
  // main controller rebuilds the channel-list nodes of the tree.
  kEvRebuildChannelNodes = 27,
  // post; first = 0 or 1, after an attribute choice in a channel list. With
  // 1 the attribute list form is switched first; then the cursor moves.
  kEvAttributeChosen = 28,
};

// The cell number of the Edit menu item (CL_Menu_Edit_Top) whose sub-menu
// holds a sheet's cell menu; the second argument of events 10 and 11.
inline constexpr int kEvCellMenuItem = 31;

// How an event was delivered.
enum : int {
  kEvModePosted = 0,
  kEvModeSent = 1,
  kEvModeAsked = 2,
};
