// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How seaclone-cli talks to its user: every message of the core goes to
// standard error as "caption: text" and is answered with the default
// button (the command line is itself the confirmation); the progress of a
// read or write is a text bar of the same 32 cells the program shows.
// Bar and messages share one stream, so a message never lands on the bar's
// line and a bar cut short by a message is not drawn again.

#include <cstdio>
#include <string>

#include "model/user_questions.h"
#include "platform/message_box.h"
#include "radio/progress_sink.h"

namespace cli {

class ErrorStream {
 public:
  explicit ErrorStream(std::FILE* out) : out_(out) {}

  // One message, at the start of a line of its own. A bar drawn before it
  // is left as it stands and stays away until the next StartBar.
  void Message(const std::string& text);
  // A new bar may be drawn.
  void StartBar() { barQuiet_ = false; }
  // Draws the bar over the one on the current line.
  void DrawBar(const std::string& bar);
  // Ends the bar's line.
  void EndBar();

 private:
  std::FILE* out_;
  bool barOnLine_ = false;
  bool barQuiet_ = false;
};

// The one standard error of the process.
ErrorStream& StandardError();

// Flushes standard output; on a failed write, says so on standard error
// (once) and returns false. writeError: the errno of a write to standard
// output that has already failed, for the message.
bool FlushStandardOutput(int writeError = 0);

class ErrorStreamResponder : public platform::MessageResponder {
 public:
  explicit ErrorStreamResponder(ErrorStream& stream = StandardError()) : stream_(stream) {}
  int Show(const std::string& text, const std::string& caption, unsigned style) override;
  int Count() const { return count_; }

 private:
  ErrorStream& stream_;
  int count_ = 0;
};

// The core's questions and messages, worded as the window's boxes and
// written by responder.
class ErrorStreamQuestions : public BoxQuestions {
 public:
  explicit ErrorStreamQuestions(ErrorStreamResponder& responder) : responder_(responder) {}

 protected:
  int Show(const std::string& text, const std::string& caption, unsigned style) override {
    return responder_.Show(text, caption, style);
  }

 private:
  ErrorStreamResponder& responder_;
};

class TextProgress : public cmcProgressSink {
 public:
  TextProgress(ErrorStream& stream, bool enabled) : stream_(stream), enabled_(enabled) {}
  // "Reading" or "Writing"; later, when given, captions every bar after
  // the first (the read-back that verifies a write).
  void SetCaption(const std::string& caption, const std::string& later = {}) {
    caption_ = caption;
    later_ = later;
    opened_ = false;
  }

  void OpenProgress(int totalBytes) override;
  void ShowProgress(int dataBytes, int totalBytes) override;
  void CloseProgress() override;

  // The bar for the figures, e.g. "Reading [########................] 1024/3312".
  static std::string Bar(const std::string& caption, int dataBytes, int totalBytes);

 private:
  ErrorStream& stream_;
  bool enabled_;
  std::string caption_;
  std::string later_;
  bool opened_ = false;
  int shownCells_ = -1;
  int lastBytes_ = 0;
  int total_ = 0;
};

// text as a JSON string. Text from outside (file and device names) need
// not be UTF-8: a byte that is not part of a well-formed sequence becomes
// U+FFFD, so that the output always parses.
std::string JsonString(const std::string& text);

}  // namespace cli
