// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: the application icon, the program's title with its
// revision, and one button that closes it. It is modeless, but the main
// window is disabled while it shows; closing it deletes it and enables and
// focuses the main window again. Every character typed while it shows goes
// to a callback, through which the main controller watches for the maker
// word.
//
//   new cuiAboutBox(mainWindow, table, appIcon, [&](QChar c) { main.KeyTyped(c); });

#include <QDialog>
#include <QPixmap>
#include <functional>

class QLabel;
class QPushButton;
class cmcGTex;

class cuiAboutBox : public QDialog {
 public:
  using KeyHandler = std::function<void(QChar)>;

  // Shows the box at once. A null icon takes the application's window
  // icon at 32 × 32.
  cuiAboutBox(QWidget* mainWindow, cmcGTex& table, const QPixmap& icon, KeyHandler keyTyped);
  ~cuiAboutBox() override;

  QLabel* Icon() const { return icon_; }
  QLabel* Label() const { return label_; }
  QPushButton* Button() const { return button_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* mainWindow_;
  KeyHandler keyTyped_;
  QLabel* icon_ = nullptr;
  QLabel* label_ = nullptr;
  QPushButton* button_ = nullptr;
};
