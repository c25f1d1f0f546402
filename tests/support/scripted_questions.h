// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The core's questions and messages for a test: worded as the program's
// message boxes word them, then recorded and answered by the test's
// responder (a platform::RecordingResponder or one of its own). Installed as the program's
// questions for its lifetime, so that every document, file and command target without questions of
// its own reaches the script.

#include <string>

#include "model/user_questions.h"
#include "platform/message_box.h"

namespace testsupport {

class ScriptedQuestions : public BoxQuestions {
 public:
  explicit ScriptedQuestions(platform::MessageResponder& responder)
      : responder_(responder), previous_(SetDefaultQuestions(this)) {}
  ~ScriptedQuestions() override { SetDefaultQuestions(previous_); }
  ScriptedQuestions(const ScriptedQuestions&) = delete;
  ScriptedQuestions& operator=(const ScriptedQuestions&) = delete;

 protected:
  int Show(const std::string& text, const std::string& caption, unsigned style) override {
    return responder_.Show(text, caption, style);
  }

 private:
  platform::MessageResponder& responder_;
  UserQuestions* previous_;
};

}  // namespace testsupport
