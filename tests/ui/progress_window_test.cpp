// SPDX-License-Identifier: GPL-3.0-or-later
// The progress window on real widgets, offscreen: its fixed geometry, the
// bar as painted, and the main window it disables while it shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QImage>
#include <QWidget>
#include <QWindow>

#include "ui/progress_window.h"

namespace {

constexpr int kReadBytes = 3312;  // the read list 0x000-0xCEF

class ProgressWindowTest : public ::testing::Test {
 protected:
  ProgressWindowTest() {
    mainWindow.setGeometry(100, 100, 640, 480);
    mainWindow.show();
  }

  // Cells of the painted bar by the colour of their first column, and
  // whether every cell's last column kept the window colour.
  struct Painted {
    int filled = 0;
    bool separators = true;
  };
  Painted Paint() {
    const QImage image = window.Box()->grab().toImage();
    const int cell = progress::CellWidth(window.Box()->width());
    const QColor highlight = window.Box()->palette().color(QPalette::Highlight);
    const QColor base = window.Box()->palette().color(QPalette::Base);
    Painted painted;
    const int y = image.height() / 2;
    for (int i = 0; i < progress::kCells; ++i) {
      if (image.pixelColor(i * cell, y) == highlight) ++painted.filled;
      if (image.pixelColor(i * cell + cell - 1, y) != base) painted.separators = false;
    }
    return painted;
  }

  QWidget mainWindow;
  cuiProgressWindow window{&mainWindow};
};

TEST_F(ProgressWindowTest, GeometryCaptionAndPlace) {
  window.OpenProgress(kReadBytes);
  QApplication::processEvents();
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("编程中"));
  EXPECT_FALSE(window.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_TRUE(window.windowFlags() & Qt::Tool);
  EXPECT_EQ(window.Panel()->geometry(), QRect(16, 8, 258, 16));
  EXPECT_EQ(window.size(), QSize(258 + 32, 16 + 32));
  EXPECT_EQ(window.Panel()->frameShadow(), QFrame::Sunken);
  // The box fills the panel inside its one-pixel bevel: 256 wide, so the
  // cells are 8 pixels.
  EXPECT_EQ(window.Box()->geometry(), QRect(1, 1, 256, 14));
  EXPECT_EQ(progress::CellWidth(window.Box()->width()), 8);
  EXPECT_LE(
      (window.frameGeometry().center() - mainWindow.frameGeometry().center()).manhattanLength(), 1);
}

// At 3211 of 3312 bytes one cell is still empty; from 3212 on all are full.
TEST_F(ProgressWindowTest, BarFillsCellsAsTheCoreCountsThem) {
  window.OpenProgress(kReadBytes);
  struct Case {
    int dataBytes;
    int totalBytes;
    int filled;
  };
  const Case cases[] = {
      {0, kReadBytes, 0},     {100, kReadBytes, 0},
      {101, kReadBytes, 1},   {1656, kReadBytes, 16},
      {3211, kReadBytes, 31}, {3212, kReadBytes, 32},
      {3312, kReadBytes, 32}, {5, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dataBytes);
    window.ShowProgress(c.dataBytes, c.totalBytes);
    const Painted painted = Paint();
    EXPECT_EQ(painted.filled, c.filled) << c.dataBytes << " of " << c.totalBytes;
    EXPECT_EQ(painted.filled, progress::FilledCells(c.dataBytes, c.totalBytes));
    EXPECT_TRUE(painted.separators);
  }
}

TEST_F(ProgressWindowTest, UserCannotCloseIt) {
  window.OpenProgress(kReadBytes);
  EXPECT_FALSE(window.close());
  QCloseEvent event;
  QApplication::sendEvent(&window, &event);
  EXPECT_FALSE(event.isAccepted());
  EXPECT_TRUE(window.isVisible());
  window.CloseProgress();
  EXPECT_FALSE(window.isVisible());
}

// The calls in the order the clone manager makes them for a read.
TEST_F(ProgressWindowTest, MainWindowDisabledWhileItShows) {
  window.SetMainWindowEnabled(false);
  window.OpenProgress(kReadBytes);
  EXPECT_FALSE(mainWindow.isEnabled());
  EXPECT_TRUE(window.isEnabled());
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.Repainting());
  // Tied to the main window it disables (without being its child): a
  // compositor that places windows itself puts it over that one.
  ASSERT_NE(window.windowHandle(), nullptr);
  EXPECT_EQ(window.windowHandle()->transientParent(), mainWindow.windowHandle());
  EXPECT_EQ(window.parentWidget(), nullptr);
  window.ShowProgress(kReadBytes, kReadBytes);
  window.CloseProgress();
  EXPECT_FALSE(window.Repainting());
  EXPECT_TRUE(mainWindow.isEnabled());
  window.SetMainWindowEnabled(true);
  EXPECT_TRUE(mainWindow.isEnabled());

  // A second exchange starts from an empty bar.
  window.OpenProgress(kReadBytes);
  EXPECT_EQ(window.FilledCells(), 0);
  EXPECT_FALSE(mainWindow.isEnabled());
  window.CloseProgress();
}

}  // namespace
