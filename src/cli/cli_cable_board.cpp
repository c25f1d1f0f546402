// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_cable_board.h"

#include <algorithm>

namespace cli {

class CableBoard::Sink : public cmcProgressSink {
 public:
  Sink(CableBoard& board, int cable) : board_(board), cable_(cable) {}
  void SetCaption(const std::string& caption, const std::string& later) {
    caption_ = caption;
    later_ = later;
    opened_ = false;
  }
  void OpenProgress(int totalBytes) override {
    if (opened_ && !later_.empty()) caption_ = later_;
    opened_ = true;
    cells_ = -1;
    ShowProgress(0, totalBytes);
  }
  void ShowProgress(int dataBytes, int totalBytes) override {
    const int cells = progress::FilledCells(dataBytes, totalBytes);
    // A redraw per cell, as the one-cable bar does: a terminal that is
    // redrawn every 30 ms for four cables would cost more than the radios.
    if (cells == cells_) return;
    cells_ = cells;
    std::string bar = caption_ + " [";
    bar.append(static_cast<std::size_t>(cells), '#');
    bar.append(static_cast<std::size_t>(progress::kCells - cells), '.');
    board_.ShowBar(cable_, bar + "]");
  }
  void CloseProgress() override {}

 private:
  CableBoard& board_;
  int cable_;
  std::string caption_;
  std::string later_;
  bool opened_ = false;
  int cells_ = -1;
};

CableBoard::CableBoard(std::FILE* out, std::vector<std::string> labels, bool terminal, bool bars)
    : out_(out), labels_(std::move(labels)), terminal_(terminal), bars_(bars) {
  for (const std::string& label : labels_)
    width_ = std::max(width_, static_cast<int>(label.size()));
  identity_.resize(labels_.size());
  lines_.resize(labels_.size());
  for (std::size_t i = 0; i < labels_.size(); ++i)
    sinks_.push_back(std::make_unique<Sink>(*this, static_cast<int>(i)));
}

CableBoard::~CableBoard() = default;

std::string CableBoard::Row(const std::string& label, int width, const std::string& text) {
  std::string row = label;
  row.resize(std::max(row.size(), static_cast<std::size_t>(width)), ' ');
  return row + "  " + text;
}

void CableBoard::Erase() {
  // Up to the board's first line, and everything from there down cleared.
  if (drawn_ > 0) std::fprintf(out_, "\033[%dA\r\033[J", drawn_);
  drawn_ = 0;
}

void CableBoard::Redraw() {
  Erase();
  for (std::size_t i = 0; i < labels_.size(); ++i)
    std::fprintf(out_, "%s\n", Row(labels_[i], width_, lines_[i]).c_str());
  drawn_ = static_cast<int>(labels_.size());
  std::fflush(out_);
}

void CableBoard::Message(const std::string& text) {
  if (terminal_) Erase();
  std::fprintf(out_, "%s\n", text.c_str());
  if (terminal_) {
    Redraw();
  } else {
    std::fflush(out_);
  }
}

void CableBoard::Set(int cable, const std::string& head, const std::string& identity,
                     const std::string& step) {
  const auto i = static_cast<std::size_t>(cable);
  const std::string text = head + ": " + step;
  identity_[i] = identity;
  lines_[i] = text;
  if (terminal_) {
    Redraw();
  } else {
    std::fprintf(out_, "seaclone-cli: %s: %s\n", labels_[i].c_str(), text.c_str());
    std::fflush(out_);
  }
}

void CableBoard::ShowBar(int cable, const std::string& bar) {
  if (!bars_ || !terminal_) return;
  const auto i = static_cast<std::size_t>(cable);
  lines_[i] = identity_[i] + "  " + bar;
  Redraw();
}

cmcProgressSink& CableBoard::Progress(int cable) {
  return *sinks_[static_cast<std::size_t>(cable)];
}

void CableBoard::SetCaption(int cable, const std::string& caption, const std::string& later) {
  sinks_[static_cast<std::size_t>(cable)]->SetCaption(caption, later);
}

}  // namespace cli
