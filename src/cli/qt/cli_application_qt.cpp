// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCoreApplication>

#include <cstdlib>

#include "cli/cli_application.h"

namespace cli {

std::shared_ptr<void> StartApplication(int& argc, char** argv, Command command) {
  // Printing paints with Qt's widgets, always on the offscreen platform: a
  // PDF needs no screen, a DISPLAY that is set but unreachable (a script
  // over ssh, cron) would stop the command, and the offscreen screen's fixed
  // resolution makes the same file print the same PDF on every machine. The
  // other commands stay on the core and need no display at all.
  if (command == Command::Print) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return std::make_shared<QApplication>(argc, argv);
  }
  return std::make_shared<QCoreApplication>(argc, argv);
}

}  // namespace cli
