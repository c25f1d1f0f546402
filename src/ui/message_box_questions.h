// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's answer to the core's questions and messages: a message box
// for each, through the installed message responder (a real box in the
// program, the script in tests).

#include <string>

#include "model/user_questions.h"

class MessageBoxQuestions : public BoxQuestions {
 protected:
  int Show(const std::string& text, const std::string& caption, unsigned style) override;
};
