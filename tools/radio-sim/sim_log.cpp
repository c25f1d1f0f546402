// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_log.h"

namespace sim {

EventLog::~EventLog() {
  if (file_) std::fclose(file_);
}

bool EventLog::Open(const std::string& path, bool alsoToStderr) {
  stderr_ = alsoToStderr;
  if (path.empty()) return true;
  file_ = std::fopen(path.c_str(), "a");
  return file_ != nullptr;
}

void EventLog::Line(const std::string& text) {
  // Flushed at once: the reader is another process that may look while the
  // simulator still runs, or after it was killed.
  if (file_) {
    std::fprintf(file_, "%s\n", text.c_str());
    std::fflush(file_);
  }
  if (stderr_) std::fprintf(stderr, "radio-sim: %s\n", text.c_str());
}

}  // namespace sim
