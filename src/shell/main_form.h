// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window. Building it gives it the program's caption and font,
// puts it where the user left it (kept reachable on the monitors that are
// attached now) and gathers the icons into the tree and tool bar image
// lists; the main controller then fills it with menu, tool bar, tree,
// sheets and status bar.
//
// The saved bounds (Left, Top, Width, Height) are the outer window, frame
// included, as the settings have always held them; the minimum size and
// the rule that keeps the window reachable apply to that outer rectangle.
// Qt sizes the client area, so the frame is taken off when the size is
// applied, and applied again once the window system has put a frame on.

#include <QMainWindow>
#include <functional>

#include "ui/image_list.h"

class cuiMain;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kMinWidth = 400;
  static constexpr int kMinHeight = 200;

  // Needs gGTex bound (the caption and font entries; a missing key is
  // fatal) and reads the bounds from gEnviron when there is one. With a
  // main controller, the controller builds the window's contents and
  // decides about closing.
  explicit TForm1(cuiMain* main = nullptr, QWidget* parent = nullptr);
  ~TForm1() override;

  cuiImageList& TreeImages() { return treeImages_; }
  cuiImageList& BarImages() { return barImages_; }

  // The restored (not maximised or minimised) outer rectangle; an invalid
  // rectangle when the placement cannot be read.
  QRect NormalBounds() const;

  // The query may refuse the close (return false); the close handler runs
  // once the close is accepted, after the bounds went into the settings.
  void SetCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }
  void SetOnClose(std::function<void()> onClose) { onClose_ = std::move(onClose); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ApplyBasicCellFont();
  void PlaceFromSettings();
  // Frame width and height around the client area (zero until known).
  QSize FrameExtra() const;
  void ApplyOuterSize();
  // ApplyOuterSize again when the frame has changed since it last ran.
  void RefitFrame();

  cuiMain* main_ = nullptr;
  cuiImageList treeImages_;
  cuiImageList barImages_;
  QRect outer_;         // the outer rectangle placed from the settings
  QSize appliedExtra_;  // the frame size that outer_ was applied with
  std::function<bool()> closeQuery_;
  std::function<void()> onClose_;
};
