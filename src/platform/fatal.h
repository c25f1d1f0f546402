// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Faults of the installation (a missing overlay key, a duplicate hash key,
// an out-of-range image access) end the process: one stop message with the
// executable's file name as caption, then exit status 3. Nothing is saved on
// the way out, so a broken installation cannot damage the user's settings.

#include <functional>
#include <stdexcept>
#include <string>

namespace platform {

// Thrown by the handler that tests and fuzz harnesses install, so that a
// designed stop can be observed instead of ending the process.
class FatalStop : public std::runtime_error {
 public:
  explicit FatalStop(const std::string& text) : std::runtime_error(text) {}
};

using FatalHandler = std::function<void(const std::string& text)>;

// Replaces the default handler (message box, then exit status 3). A handler
// that returns still ends the process with status 3. Pass nullptr to restore.
void SetFatalHandler(FatalHandler handler);

[[noreturn]] void Fatal(const std::string& text);

}  // namespace platform
