// SPDX-License-Identifier: GPL-3.0-or-later
// The live monitor list and window placement on the Qt platform (offscreen
// in the tests: one screen).
#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/qt/screens_qt.h"

TEST(ScreensQt, PrimaryScreenComesFirst) {
  const platform::MonitorList monitors = platform::CurrentMonitors();
  ASSERT_FALSE(monitors.empty());
  QScreen* primary = QGuiApplication::primaryScreen();
  EXPECT_EQ(monitors.front().area, primary->geometry());
  EXPECT_EQ(monitors.front().work, primary->availableGeometry());
  EXPECT_EQ(platform::PrimaryScreenSize(), primary->geometry().size());
  EXPECT_EQ(platform::WorkAreaOfWindow(nullptr), primary->availableGeometry());
  EXPECT_EQ(platform::WorkAreaAtPoint(QPoint(-10000, -10000)), primary->availableGeometry());
}

TEST(ScreensQt, CentreOverMovesTheWindowOverItsOwner) {
  QWidget owner;
  owner.setGeometry(100, 100, 400, 300);
  owner.show();
  QWidget dialog;
  dialog.resize(200, 100);
  platform::CentreOver(&dialog, &owner);
  const QRect o = owner.frameGeometry();
  const QRect d = dialog.frameGeometry();
  EXPECT_EQ(d.x(), o.x() + (o.width() - d.width()) / 2);
  EXPECT_EQ(d.y(), o.y() + (o.height() - d.height()) / 2);
}

TEST(ScreensQt, CentreOverKeepsAWindowOnTheScreen) {
  const QRect work = platform::PrimaryWorkArea();
  QWidget owner;
  owner.setGeometry(work.right() - 50, work.bottom() - 50, 100, 100);
  owner.show();
  QWidget dialog;
  dialog.resize(300, 200);
  platform::CentreOver(&dialog, &owner);
  EXPECT_TRUE(work.contains(dialog.frameGeometry()))
      << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();
}

// A dialog laid out for a smaller scale factor fits the work area again;
// one whose minimum size is larger keeps that minimum, its left and top
// edges on the screen.
TEST(ScreensQt, CentreOverShrinksAWindowLargerThanTheWorkArea) {
  const QRect work = platform::PrimaryWorkArea();
  QWidget owner;
  owner.setGeometry(work.x() + 10, work.y() + 10, 200, 100);
  owner.show();
  QWidget dialog;
  dialog.resize(work.width() * 2, work.height() + 300);
  platform::CentreOver(&dialog, &owner);
  EXPECT_TRUE(work.contains(dialog.frameGeometry()));

  QWidget stiff;
  stiff.setMinimumSize(work.width() + 40, 100);
  stiff.resize(work.width() + 80, 100);
  platform::CentreOver(&stiff, &owner);
  EXPECT_EQ(stiff.width(), work.width() + 40);
  EXPECT_EQ(stiff.frameGeometry().left(), work.left());
}
