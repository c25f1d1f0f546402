// SPDX-License-Identifier: GPL-3.0-or-later
// A console of the system is told from any other serial line, as the
// kernel lists its consoles, so that no search for the radio sends frames
// to a server's serial console or changes its line.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/port_naming.h"
#include "support/pty_pair.h"

namespace {

TEST(SystemConsole, TheKernelsConsolesAreConsolesAndAPseudoTerminalIsNot) {
  PtyPair pty;
  ASSERT_TRUE(pty.Ok());
  EXPECT_FALSE(platform::IsSystemConsole(pty.SlavePath()));
  EXPECT_FALSE(platform::IsSystemConsole("/dev/seaclone-no-such-device"));

  std::ifstream consoles("/proc/consoles");
  for (std::string line; std::getline(consoles, line);) {
    std::istringstream fields(line);
    std::string name;
    fields >> name;
    const std::string device = "/dev/" + name;
    std::error_code error;
    if (name.empty() || !std::filesystem::exists(device, error)) continue;
    EXPECT_TRUE(platform::IsSystemConsole(device)) << device;
  }
}

}  // namespace
#endif
