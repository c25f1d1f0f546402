// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What seaclone-cli fleet shows of its cables: one line per cable. On a
// terminal the lines stand one under the other and are redrawn in place,
// each with its cable, its identity and the bar of its running read or
// write; a message goes above them. Into a log or a pipe each step of a
// cable is a plain line of its own, named by its cable, and no bar is
// drawn.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "radio/progress_sink.h"

namespace cli {

class CableBoard {
 public:
  // labels: one per cable. bars: draw the progress bars at all (not with
  // --quiet); terminal: redraw in place.
  CableBoard(std::FILE* out, std::vector<std::string> labels, bool terminal, bool bars);
  ~CableBoard();
  CableBoard(const CableBoard&) = delete;
  CableBoard& operator=(const CableBoard&) = delete;

  // A message of its own, above the cables' lines.
  void Message(const std::string& text);
  // What cable is doing now: the radio (head, "identity 2110000011 (1 of
  // 8)") and its step; a plain line off a terminal. While a bar shows, the
  // line holds the radio's identity alone, so that it fits 80 columns.
  void Set(int cable, const std::string& head, const std::string& identity,
           const std::string& step);
  // The progress of cable's exchanges, captioned caption (a second bar of
  // the same exchange, the read-back of a write, captioned later).
  cmcProgressSink& Progress(int cable);
  void SetCaption(int cable, const std::string& caption, const std::string& later = {});

 private:
  static std::string Row(const std::string& label, int width, const std::string& text);
  class Sink;
  void ShowBar(int cable, const std::string& bar);
  void Redraw();
  void Erase();

  std::FILE* out_;
  std::vector<std::string> labels_;
  int width_ = 0;  // of the widest label
  bool terminal_;
  bool bars_;
  std::vector<std::string> identity_;  // what Set said
  std::vector<std::string> lines_;     // status and bar
  std::vector<std::unique_ptr<Sink>> sinks_;
  int drawn_ = 0;  // lines of the board on the screen
};

}  // namespace cli
