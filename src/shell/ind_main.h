// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main controller of this radio: its model code, its sheets, the
// channel-list nodes of the tree that follow the model and the plans
// switched on, and the maker mode with its status panel.

#include <QStringList>
#include <string>

#include "shell/main_controller.h"

class indMain : public cuiMain {
 public:
  static constexpr char kMakerWord[] = "kelpish";

  // arguments: the command line, the program path included; the maker
  // switch among them turns maker mode on once the window is built.
  indMain(cmcEvMan& bus, UserQuestions& questions, QStringList arguments);
  ~indMain() override;

  void Reset() override;
  void BuildWindow(QMainWindow* form, cuiImageList* treeImages, cuiImageList* barImages) override;
  void BuildTree() override;
  cuiSheet* CreateSheet(QWidget* parent, const std::string& key) override;
  bool ConfirmWrite() override;
  void KeyTyped(char character) override;
  void LayoutStatusBar() override;
  void DrawStatusPanel(QPainter& painter, int panel, const QRect& rect) override;

  bool Maker() const { return Context().maker; }

 private:
  void EnterMakerMode();
  // Event 27: inserts and removes the channel-list nodes after the anchor.
  void RebuildChannelNodes();
  // Event 28: the channel the cursor goes to after an attribute change.
  void MoveCursorAfterAttributeChange(bool switchView);

  QStringList arguments_;
  std::string typed_;
  int makerPanel_ = -1;
  std::string makerText_;
};
