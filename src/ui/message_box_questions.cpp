// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/message_box_questions.h"

#include "platform/message_box.h"

int MessageBoxQuestions::Show(const std::string& text, const std::string& caption, unsigned style) {
  return platform::ShowMessage(text, caption, style);
}
