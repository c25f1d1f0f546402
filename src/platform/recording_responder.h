// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message responder for tests: it records every message (text, caption,
// style) and answers from a queue of scripted answers, falling back to the
// default button (OK, or Yes) when the queue is empty. It installs itself
// for its lifetime and puts the previous responder back when it goes.

#include <deque>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace platform {

class RecordingResponder : public MessageResponder {
 public:
  struct Message {
    std::string text;
    std::string caption;
    unsigned style = 0;
  };

  RecordingResponder();
  ~RecordingResponder() override;
  RecordingResponder(const RecordingResponder&) = delete;
  RecordingResponder& operator=(const RecordingResponder&) = delete;

  int Show(const std::string& text, const std::string& caption, unsigned style) override;

  // Queues the answer for the next message (kIdOk, kIdCancel, kIdYes, ...).
  void Answer(int answer) { answers_.push_back(answer); }

  const std::vector<Message>& Messages() const { return messages_; }
  int Count() const { return static_cast<int>(messages_.size()); }
  // The most recent message; an empty one when none was shown.
  Message Last() const { return messages_.empty() ? Message{} : messages_.back(); }
  int PendingAnswers() const { return static_cast<int>(answers_.size()); }
  void Clear();

  // The answer an unattended box gives: the first button of the style.
  static int DefaultAnswer(unsigned style);

 private:
  std::vector<Message> messages_;
  std::deque<int> answers_;
  MessageResponder* previous_ = nullptr;
};

}  // namespace platform
