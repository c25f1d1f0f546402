// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool bar, built from the overlay: "<key>_BasicCell" gives every
// button its defaults, "<key>_Body" one flat cell definition per button.
// A caption of "-" is an 8-pixel gap, "/" starts a new row; any other cell
// is a button with the cell's image, its caption as tool tip, and the cell
// as the command it runs. Event 20 (and 9, which the sheets send after
// every change) asks the evaluator for each button's state: flag 0 shows a
// port button pressed, flag 2 disables any button. The port buttons are the
// only toggles; the others are push buttons.
//
// A row break needs one QToolBar per row; AddTo puts the rows into a main
// window one under the other.

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/cell.h"

class QAction;
class QMainWindow;
class QToolBar;
class QWidget;
class cmcGTex;
class cuiImageList;
class cmcEvMan;

class cuiToolBar {
 public:
  using ClickFn = std::function<void(QAction* button)>;
  static constexpr int kGapWidth = 8;
  static constexpr int kIndent = 4;

  // images may be null. The bar refreshes on the menus' and its own
  // refresh events on bus.
  cuiToolBar(cmcEvMan& bus, QWidget* owner, cmcGTex& table, std::string key,
             const cuiImageList* images);
  ~cuiToolBar();
  cuiToolBar(const cuiToolBar&) = delete;
  cuiToolBar& operator=(const cuiToolBar&) = delete;

  // Builds the buttons once; without a click function a button runs its
  // cell (DefaultClick).
  void Build(ClickFn click = {});

  // The first row.
  QToolBar* Widget() const { return rows_.front(); }
  const std::vector<QToolBar*>& Rows() const { return rows_; }
  // Docks every row in window's area, each row below the one before.
  void AddTo(QMainWindow* window);
  void SetVisible(bool visible);

  // The button's cell; null for an action that is not a button of this bar.
  cmcCellObj* CellOf(const QAction* button) const;
  // Asks the evaluator for every button's state.
  void Refresh();
  // Runs the button's cell as a command.
  void DefaultClick(QAction* button);

 private:
  struct Button {
    QPointer<QAction> action;
    cmcCellObj* cell;
    int shownImage;
  };
  QToolBar* NewRow();
  const Button* Find(const QAction* action) const;

  cmcEvMan& bus_;
  QPointer<QWidget> owner_;
  cmcGTex& table_;
  std::string key_;
  const cuiImageList* images_;
  std::vector<QToolBar*> rows_;
  cmcCellObj basic_;
  std::vector<std::unique_ptr<cmcCellObj>> cells_;  // one per body line
  std::vector<Button> buttons_;
  ClickFn click_;
};
