// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message box the user sees: a QMessageBox with the icon and buttons of
// the classic style numbers, shown on the monitor where the user is working
// (the active window's, else the primary one) and owned by the active window
// so that it stays in front of the program.

#include "platform/message_box.h"

namespace platform {

class QtMessageResponder : public MessageResponder {
 public:
  int Show(const std::string& text, const std::string& caption, unsigned style) override;
};

}  // namespace platform
