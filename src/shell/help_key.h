// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// F1 on a page opens the manual at the cell under the cursor; everywhere
// else it is the menu's Help > Contents. Installed on the open sheet's
// grid, this takes F1 before the window's shortcut sees it.

#include <QObject>
#include <functional>

class cuiHelpKey : public QObject {
 public:
  explicit cuiHelpKey(std::function<void()> onHelp) : onHelp_(std::move(onHelp)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> onHelp_;
};
