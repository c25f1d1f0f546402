// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small window that shows how far a clone read or write has come: a
// lowered bevel holding a bar of 32 cells, over the main window. The clone
// manager drives it through cmcProgressSink; the window appears on
// OpenProgress and goes on CloseProgress. While it shows, the main window
// is disabled and the window refuses to be closed by the user, so no
// second exchange can start.
//
//   cuiProgressWindow progress(mainWindow);
//   cloneMan.SetProgressSink(&progress);

#include <QTimer>
#include <QWidget>

#include "radio/progress_sink.h"

class QFrame;

class cuiProgressWindow : public QWidget, public cmcProgressSink {
 public:
  // The panel's size and place in the client area; the client area is 32
  // wider and 32 taller than the panel.
  static constexpr int kPanelLeft = 16;
  static constexpr int kPanelTop = 8;
  static constexpr int kBevelWidth = 1;
  static constexpr int kPanelWidth = 256 + 2 * kBevelWidth;
  static constexpr int kPanelHeight = 16;

  // The owner is the main window; it is not the Qt parent, or disabling it
  // would disable this window too.
  explicit cuiProgressWindow(QWidget* mainWindow);
  ~cuiProgressWindow() override;

  void OpenProgress(int totalBytes) override;
  void ShowProgress(int dataBytes, int totalBytes) override;
  void CloseProgress() override;
  void SetMainWindowEnabled(bool enabled) override;

  // For tests and the paint box: the panel, the box inside its bevel, the
  // cells filled now, and whether the repaint timer runs.
  QFrame* Panel() const { return panel_; }
  QWidget* Box() const { return box_; }
  int FilledCells() const { return progress::FilledCells(dataBytes_, totalBytes_); }
  bool Repainting() const { return repaint_.isActive(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* mainWindow_;
  QFrame* panel_ = nullptr;
  QWidget* box_ = nullptr;
  QTimer repaint_;
  long long dataBytes_ = 0;
  long long totalBytes_ = 0;
  bool closing_ = false;
};
