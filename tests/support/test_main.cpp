// SPDX-License-Identifier: GPL-3.0-or-later
// Shared main of every test program: a Qt application object on the
// offscreen platform, settings, runtime and lock folders inside a temporary
// folder, and fatal stops turned into exceptions that tests can expect.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

#include "platform/fatal.h"
#include "platform/message_box.h"

#ifdef SEACLONE_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
  QTemporaryDir home;
  const QByteArray root = home.path().toLocal8Bit();
  ::setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
  ::setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
  // Every clone read keeps a backup in the user's data folder.
  ::setenv("XDG_DATA_HOME", (root + "/data").constData(), 1);
  // The single-instance lock is the user's, shared by every process of the
  // user; each test program keeps its own so that programs run side by side.
  ::setenv("SEACLONE_LOCK_DIR", (root + "/runtime").constData(), 1);
  ::setenv("HOME", root.constData(), 1);
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

  TestApplication app(argc, argv);
  platform::SetFatalHandler([](const std::string& text) { throw platform::FatalStop(text); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
