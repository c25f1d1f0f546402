#include "cli/cli_output.h"

namespace cli {

int ErrorStreamResponder::Show(const std::string& text, const std::string& caption, unsigned style) {
  ++count_;
  std::string body = text;
  while (!body.empty() && body.back() == '\n') body.pop_back();
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), body.c_str());
  std::fflush(stderr);
  const unsigned buttons = style & platform::kMbButtonMask;
  return (buttons == platform::kMbYesNo || buttons == platform::kMbYesNoCancel) ? platform::kIdYes
                                                                                 : platform::kIdOk;
}

std::string TextProgress::Bar(const std::string& caption, int dataBytes, int totalBytes) {
  const int filled = progress::FilledCells(dataBytes, totalBytes);
  std::string bar = caption + " [";
  bar.append(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(progress::kCells - filled), '.');
  bar += "] " + std::to_string(dataBytes) + "/" + std::to_string(totalBytes);
  return bar;
}

void TextProgress::OpenProgress(int totalBytes) {
  shownCells_ = -1;
  lastBytes_ = 0;
  total_ = totalBytes;
  ShowProgress(0, totalBytes);
}

void TextProgress::ShowProgress(int dataBytes, int totalBytes) {
  lastBytes_ = dataBytes;
  const int cells = progress::FilledCells(dataBytes, totalBytes);
  if (!enabled_ || cells == shownCells_) return;
  shownCells_ = cells;
  std::fprintf(out_, "\r%s", Bar(caption_, dataBytes, totalBytes).c_str());
  std::fflush(out_);
}

void TextProgress::CloseProgress() {
  if (enabled_ && shownCells_ >= 0) {
    std::fprintf(out_, "\r%s\n", Bar(caption_, lastBytes_, total_).c_str());
    std::fflush(out_);
  }
  shownCells_ = -1;
}

}  // namespace cli
