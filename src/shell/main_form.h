// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window. Building it gives it the program's caption and font,
// puts it where the user left it (kept reachable on the monitors that are
// attached now) and gathers the icons into the tree and tool bar image
// lists; the main controller then fills it with menu, tool bar, tree,
// sheets and status bar.
//
// The saved bounds are the window's outer position (Left, Top) and the size
// of its client area (Width, Height), which is what QWidget::move and
// QWidget::resize take, so a position survives a restart unchanged.

#include <QMainWindow>
#include <functional>

#include "ui/image_list.h"

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kMinWidth = 400;
  static constexpr int kMinHeight = 200;

  // Needs gGTex bound (the caption and font entries; a missing key is
  // fatal) and reads the bounds from gEnviron when there is one.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  cuiImageList& TreeImages() { return treeImages_; }
  cuiImageList& BarImages() { return barImages_; }

  // The restored (not maximised or minimised) rectangle in the terms of the
  // saved bounds; an invalid rectangle when the placement cannot be read.
  QRect NormalBounds() const;

  // The main controller takes over closing: the query may refuse the close
  // (return false); the close handler runs once the close is accepted.
  // Until then a close stores the window's bounds in the settings.
  void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }
  void SetOnClose(std::function<void()> onClose) { onClose_ = std::move(onClose); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyBasicCellFont();
  void PlaceFromSettings();

  cuiImageList treeImages_;
  cuiImageList barImages_;
  std::function<bool()> closeQuery_;
  std::function<void()> onClose_;
};
