// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/user_questions.h"

#include <cstdio>

#include "platform/message_box.h"
#include "text/gtex.h"

namespace {

std::string Caption() { return gGTex ? gGTex->Text("GI_Sys_AppTitle") : std::string(); }

class StandardErrorQuestions : public BoxQuestions {
 protected:
  int Show(const std::string& text, const std::string& caption, unsigned style) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    const unsigned buttons = style & platform::kMbButtonMask;
    return (buttons == platform::kMbYesNo || buttons == platform::kMbYesNoCancel) ? platform::kIdYes
                                                                                  : platform::kIdOk;
  }
};

UserQuestions*& Installed() {
  static UserQuestions* questions = nullptr;
  return questions;
}

}  // namespace

int BoxQuestions::Ask(const std::string& key, unsigned style) {
  return Show(gGTex ? gGTex->Block(key) : key, Caption(), style);
}

void BoxQuestions::Report(Kind kind, const std::string& text) {
  Show(text, Caption(), StyleOf(kind));
}

unsigned BoxQuestions::StyleOf(Kind kind) {
  switch (kind) {
    case Kind::kSuccess: return platform::kMbOk | platform::kMbIconInformation;
    case Kind::kWarning: return platform::kMbOk | platform::kMbIconExclamation;
    case Kind::kError: break;
  }
  return platform::kMbOk | platform::kMbIconStop;
}

UserQuestions& DefaultQuestions() {
  static StandardErrorQuestions fallback;
  return Installed() ? *Installed() : fallback;
}

UserQuestions* SetDefaultQuestions(UserQuestions* questions) {
  UserQuestions* previous = Installed();
  Installed() = questions;
  return previous;
}
