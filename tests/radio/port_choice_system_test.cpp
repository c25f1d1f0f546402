// SPDX-License-Identifier: GPL-3.0-or-later
// The port lists gathered from this machine's devices and the `Ports` map.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/settings_group.h"
#include "radio/port_choice.h"

namespace {

// The lists from the system: the `Ports` settings entries are offered by
// number, with their device path as the name when the system has no
// friendlier one; an entry whose device is absent keeps its number but is
// not offered by name, since there is no device to pick.
TEST(PortChoiceSystem, SettingsEntriesAreListed) {
  ASSERT_TRUE(platform::WriteSettingsValue("Ports", "COM241", "/dev/null"));
  ASSERT_TRUE(platform::WriteSettingsValue("Ports", "COM240", "/dev/seaclone-test-absent"));
  const auto numbers = portchoice::SystemNumberList();
  EXPECT_NE(std::find(numbers.begin(), numbers.end(), "240"), numbers.end());
  EXPECT_NE(std::find(numbers.begin(), numbers.end(), "241"), numbers.end());
  EXPECT_TRUE(std::is_sorted(
      numbers.begin(), numbers.end(),
      [](const std::string& a, const std::string& b) { return std::stoi(a) < std::stoi(b); }));
  const auto names = portchoice::SystemNameList();
  EXPECT_NE(std::find(names.begin(), names.end(), "241: /dev/null (COM241)"), names.end());
  EXPECT_TRUE(std::none_of(names.begin(), names.end(),
                           [](const std::string& s) { return s.rfind("240:", 0) == 0; }));
  platform::RemoveSettingsGroup("Ports");
}

}  // namespace
