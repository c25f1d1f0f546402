// SPDX-License-Identifier: GPL-3.0-or-later
// Shared main of the test programs of a build without Qt (Windows): the
// backups and the lock folder inside a private temporary folder, and fatal
// stops turned into exceptions that tests can expect.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/fatal.h"
#include "platform/temporary_folder.h"

int main(int argc, char** argv) {
  platform::TemporaryFolder home("seaclone-test");
  // Every clone read keeps a backup; never in the user's own data folder.
  const std::string backups = home.Path() + "/data/seaclone/backups";
  const std::string locks = home.Path() + "/runtime";
  ::_putenv_s("SEACLONE_BACKUP_DIR", backups.c_str());
  ::_putenv_s("SEACLONE_LOCK_DIR", locks.c_str());

  platform::SetFatalHandler([](const std::string& text) { throw platform::FatalStop(text); });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
