// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A menu built from the overlay: the main menu (a QMenuBar) and each sheet's
// cell popup menu (a QMenu). "<key>_BasicCell" gives every item its
// defaults, "<key>_Body" one nested line per item. Each item is a QAction
// that owns its cell definition: the caption ("-" a separator), the
// parameter as shortcut ("Ctrl+O"), the image index, and flags 0-3 that
// the evaluator rewrites on every refresh (checked, hidden, disabled,
// caption replaced).
//
// Events: 9 refreshes every item; 10 empties the sub-menu of the item bound
// to the event's cell of what event 11 put there (its own lines stay); 11 fills it from "<popup
// key>_Body" with items that belong to another menu M (the first argument, a cuiMenu*) and click
// through M, which is how the main menu's Edit item mirrors the current
// cell's popup menu. While refreshing or running items a menu asks event 12
// with the items' owner; a sheet answers with the Argument() of its reply
// pointing at its cursor cell (read during the ask only), and that cell
// becomes the context of the evaluation, so popup commands act on the
// channel of the cell the menu belongs to.

#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/cell.h"

class QAction;
class QObject;
class QWidget;
class cmcGTex;
class cuiImageList;
class cmcEvMan;

class cuiMenu {
 public:
  using ClickFn = std::function<void(QAction* item)>;

  // root is the QMenuBar or QMenu the items go into. Without a click
  // function an item runs its cell (DefaultClick). owner is handed to the
  // evaluator as the owner component. The menu hears and asks on bus.
  cuiMenu(cmcEvMan& bus, void* owner, QWidget* root, cmcGTex& table, std::string key,
          ClickFn click = {});
  ~cuiMenu();
  cuiMenu(const cuiMenu&) = delete;
  cuiMenu& operator=(const cuiMenu&) = delete;

  // Deletes every item under the root and builds them again.
  void Build();
  void SetImages(const cuiImageList* images) { images_ = images; }

  QWidget* Root() const { return root_; }
  // The first item (depth first) whose cell is bound to cell; null if none.
  QAction* FindItem(std::uint32_t cell) const;
  // Whether item came from another menu's body (event 11), and how many of
  // item's sub-items did.
  static bool IsMirrored(const QAction* item);
  static int MirroredItemCount(const QAction* item);
  // Whether item is one of this menu's items, at any depth.
  bool Contains(const QAction* item) const;
  // The cell definition an item carries; null for other actions.
  static cmcCellObj* CellOf(const QAction* item);

  // Asks the evaluator for every item's state.
  void Refresh();
  // Runs the item's cell as a command and refreshes the menu.
  void DefaultClick(QAction* item);

 private:
  // The cursor cell of the sheet whose popup menu has that root (root
  // null: the open sheet), copied; null when no sheet answers.
  std::unique_ptr<cmcCellObj> AskContext(const QObject* root);
  // One item under parent (null: the root) from a definition line.
  QAction* AddItem(QAction* parent, std::string_view definition, QObject* itemOwner,
                   cuiMenu& clicker, const std::shared_ptr<const cmcCellObj>& basic);
  void AddBody(QAction* parent, const std::string& key, cuiMenu& clicker);
  void ClearSubItems(QAction* item);
  void RefreshLevel(const QList<QAction*>& items, QObject*& lastOwner);
  void RefreshItem(QAction* item);
  void Click(QAction* item);

  cmcEvMan& bus_;
  void* owner_;
  QPointer<QWidget> root_;
  cmcGTex& table_;
  std::string key_;
  ClickFn click_;
  const cuiImageList* images_ = nullptr;
  std::shared_ptr<const cmcCellObj> basic_;
  // The cell the owning sheet answered for the items being refreshed.
  std::unique_ptr<cmcCellObj> contextCell_;
  // Items of other menus that click through this one; they go with it.
  std::vector<QPointer<QAction>> borrowedItems_;
};
