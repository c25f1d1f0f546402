// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The string values of one group of the user's settings store, for the
// parts of the core that read the settings without Qt (the port map). The
// store is the registry key HKCU\Software\Recent\K4T on Windows and
// ~/.config/Recent/K4T.conf here (Qt's native settings format), the same one
// platform/qtcore/settings_store.h opens; a group is a subkey of the key.

#include <string>
#include <vector>

namespace platform {

// The product's key path.
inline constexpr char kSettingsKeyPath[] = "Software\\Recent\\K4T";

struct SettingsValue {
  std::string name;
  std::string value;  // UTF-8
};

// Every value of the group that reads as a string, in the store's order;
// empty when the group is missing. Tests pass a key path of their own.
std::vector<SettingsValue> ReadSettingsGroup(const std::string& group,
                                             const std::string& keyPath = kSettingsKeyPath);

// Stores one string value in the group, creating the group when missing.
bool WriteSettingsValue(const std::string& group, const std::string& name, const std::string& value,
                        const std::string& keyPath = kSettingsKeyPath);

// Removes the group with all its values; true when it is gone.
bool RemoveSettingsGroup(const std::string& group, const std::string& keyPath = kSettingsKeyPath);

}  // namespace platform
