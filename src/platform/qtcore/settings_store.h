// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's settings store, opened here and nowhere else so that the
// program, the command-line tool and the tests all reach the same one.
//
// A key path such as "Software\Recent\K4T" names the organisation "Recent"
// and the application "K4T": that is the registry key HKCU\Software\Recent\K4T
// on Windows and ~/.config/Recent/K4T.conf here.

#include <QSettings>
#include <memory>
#include <string>

#include "platform/settings_group.h"

namespace platform {

// The store named by keyPath; tests pass a key path of their own.
std::unique_ptr<QSettings> OpenSettingsStore(const std::string& keyPath = kSettingsKeyPath);

}  // namespace platform
