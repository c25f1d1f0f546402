// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the core reaches the user: a question named by its overlay key, or a
// message of a kind. The core never opens a window itself; each program
// answers in its own way (the window with message boxes, seaclone-cli on
// standard error, the fleet run by kind, tests from a script), and an
// owner may give any document, file or command target its own.

#include <string>

class UserQuestions {
 public:
  enum class Kind {
    kSuccess,  // an operation the user started has succeeded
    kWarning,  // something was not done, nothing was lost
    kError,    // an operation failed
  };

  virtual ~UserQuestions() = default;
  // Asks the question the overlay block of key words, with the buttons and
  // icon of style (platform::kMb...); returns the button (platform::kId...).
  virtual int Ask(const std::string& key, unsigned style) = 0;
  // Tells the user text; there is nothing to answer.
  virtual void Report(Kind kind, const std::string& text) = 0;
};

// Words every question and message as one message box would: the text,
// the application title as caption, and the style (a report has OK and
// the icon of its kind). Show presents it and returns the button.
class BoxQuestions : public UserQuestions {
 public:
  int Ask(const std::string& key, unsigned style) override;
  void Report(Kind kind, const std::string& text) override;
  static unsigned StyleOf(Kind kind);

 protected:
  virtual int Show(const std::string& text, const std::string& caption, unsigned style) = 0;
};

// The questions of the running program: what a document, file or command
// target uses when its owner gave it none. Each program installs its own
// at start-up (not owned; nullptr goes back to the fallback) and gets the
// previous one back. The fallback writes to standard error and answers
// every question with its first button, as an unattended run must.
UserQuestions& DefaultQuestions();
UserQuestions* SetDefaultQuestions(UserQuestions* questions);
