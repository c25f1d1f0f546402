// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One line per exchange event, for tests that need to know what the radio
// saw (a read request that must never come, the frame count of a write).

#include <cstdio>
#include <string>

namespace sim {

class EventLog {
 public:
  EventLog() = default;
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;
  ~EventLog();

  // Appends to path when it is not empty; returns false when it cannot.
  bool Open(const std::string& path, bool alsoToStderr);
  void Line(const std::string& text);

 private:
  std::FILE* file_ = nullptr;
  bool stderr_ = false;
};

}  // namespace sim
