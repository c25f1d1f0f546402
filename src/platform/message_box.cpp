// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/message_box.h"

#include <cstdio>

namespace platform {
namespace {
MessageResponder*& Current() {
  static MessageResponder* responder = nullptr;
  return responder;
}
}  // namespace

MessageResponder* SetMessageResponder(MessageResponder* responder) {
  MessageResponder* previous = Current();
  Current() = responder;
  return previous;
}

int ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
  if (Current()) return Current()->Show(text, caption, style);
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  const unsigned buttons = style & kMbButtonMask;
  return (buttons == kMbYesNo || buttons == kMbYesNoCancel) ? kIdYes : kIdOk;
}

}  // namespace platform
