// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recording_responder.h"

namespace platform {

RecordingResponder::RecordingResponder() { previous_ = SetMessageResponder(this); }

RecordingResponder::~RecordingResponder() { SetMessageResponder(previous_); }

int RecordingResponder::Show(const std::string& text, const std::string& caption, unsigned style) {
  messages_.push_back({text, caption, style});
  if (answers_.empty()) return DefaultAnswer(style);
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void RecordingResponder::Clear() {
  messages_.clear();
  answers_.clear();
}

int RecordingResponder::DefaultAnswer(unsigned style) {
  const unsigned buttons = style & kMbButtonMask;
  return (buttons == kMbYesNo || buttons == kMbYesNoCancel) ? kIdYes : kIdOk;
}

}  // namespace platform
