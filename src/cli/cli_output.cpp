// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_output.h"

#include <cerrno>
#include <cstring>

#include "text/text_encoding.h"

namespace cli {

void ErrorStream::Message(const std::string& text) {
  if (barOnLine_) {
    std::fputc('\n', out_);
    barOnLine_ = false;
    barQuiet_ = true;
  }
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
}

void ErrorStream::DrawBar(const std::string& bar) {
  if (barQuiet_) return;
  std::fprintf(out_, "\r%s", bar.c_str());
  std::fflush(out_);
  barOnLine_ = true;
}

void ErrorStream::EndBar() {
  if (!barOnLine_) return;
  std::fputc('\n', out_);
  std::fflush(out_);
  barOnLine_ = false;
}

ErrorStream& StandardError() {
  static ErrorStream stream(stderr);
  return stream;
}

bool FlushStandardOutput(int writeError) {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  const int error = writeError != 0 ? writeError : errno;
  std::string text = "seaclone-cli: standard output could not be written";
  if (error != 0) text += std::string(": ") + std::strerror(error);
  StandardError().Message(text);
  // Said once; what is still buffered is lost anyway.
  std::clearerr(stdout);
  return false;
}

int ErrorStreamResponder::Show(const std::string& text, const std::string& caption,
                               unsigned style) {
  ++count_;
  std::string body = text;
  while (!body.empty() && body.back() == '\n') body.pop_back();
  stream_.Message(caption + ": " + body);
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
  if (opened_ && !later_.empty()) caption_ = later_;
  opened_ = true;
  shownCells_ = -1;
  lastBytes_ = 0;
  total_ = totalBytes;
  if (enabled_) stream_.StartBar();
  ShowProgress(0, totalBytes);
}

void TextProgress::ShowProgress(int dataBytes, int totalBytes) {
  lastBytes_ = dataBytes;
  const int cells = progress::FilledCells(dataBytes, totalBytes);
  if (!enabled_ || cells == shownCells_) return;
  shownCells_ = cells;
  stream_.DrawBar(Bar(caption_, dataBytes, totalBytes));
}

void TextProgress::CloseProgress() {
  if (enabled_ && shownCells_ >= 0) {
    // The final figures, which the last repaint may not have shown.
    stream_.DrawBar(Bar(caption_, lastBytes_, total_));
    stream_.EndBar();
  }
  shownCells_ = -1;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  std::string rest = text;
  for (;;) {
    const std::size_t fault = text::Utf8Fault(rest);
    for (const char c : rest.substr(0, fault)) {
      if (c == '"' || c == '\\') {
        out += '\\';
        out += c;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
        out += escaped;
      } else {
        out += c;
      }
    }
    if (fault == std::string::npos) break;
    out += "\\ufffd";
    rest.erase(0, fault + 1);
  }
  return out + "\"";
}

}  // namespace cli
