// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one routine every message of the program goes through. The GUI installs
// a responder that shows a real message box; the command-line tool installs
// one that prints; tests install one that records texts and scripts answers.

#include <string>

namespace platform {

// Styles and answers keep the classic message-box numbers, so that overlay
// data and callers can name them the same way on every platform.
enum : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNoCancel = 0x3,
  kMbYesNo = 0x4,
  kMbIconStop = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconExclamation = 0x30,
  kMbIconInformation = 0x40,
  kMbButtonMask = 0xF,
  kMbIconMask = 0xF0,
};

enum : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdYes = 6,
  kIdNo = 7,
};

class MessageResponder {
 public:
  virtual ~MessageResponder() = default;
  virtual int Show(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// Installs the responder that answers ShowMessage (nullptr removes it). The
// caller keeps ownership. Returns the previous one so that a scope can restore it.
MessageResponder* SetMessageResponder(MessageResponder* responder);

// Shows text with caption and style and returns the button pressed. Without a
// responder the message goes to standard error and the default button
// (OK, or Yes) is the answer.
int ShowMessage(const std::string& text, const std::string& caption, unsigned style);

}  // namespace platform
