// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the clone manager shows how far a read or write has come. The GUI
// puts a small window with a 32-cell bar over the main window; the
// command-line tool draws the same cells as text. Both take their figures
// from ProgressFilledCells, so they always agree.

class cmcProgressSink {
 public:
  virtual ~cmcProgressSink() = default;
  // A read or write of totalBytes starts; the window appears.
  virtual void OpenProgress(int totalBytes) = 0;
  // Repaint with dataBytes moved so far (every 30 ms while the exchange runs).
  virtual void ShowProgress(int dataBytes, int totalBytes) = 0;
  // The exchange has ended; the window goes.
  virtual void CloseProgress() = 0;
  // The main window is disabled while any exchange runs and enabled (and
  // focused) again afterwards. Only the GUI has one.
  virtual void SetMainWindowEnabled(bool /*enabled*/) {}
};

namespace progress {

constexpr int kCells = 32;
constexpr int kRepaintMs = 30;

// Cells filled: those below dataBytes * 33 / totalBytes, at most all 32; 0
// when nothing is to be moved.
int FilledCells(long long dataBytes, long long totalBytes);

// Width of one cell in a paint box of clientWidth pixels; the last pixel
// column of each cell stays in the window colour as a separator.
constexpr int CellWidth(int clientWidth) { return (clientWidth + 1) / kCells; }

}  // namespace progress
