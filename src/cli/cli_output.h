#pragma once
// How seaclone-cli talks to its user: every message of the core goes to
// standard error as "caption: text" and is answered with the default
// button (the command line is itself the confirmation); the progress of a
// read or write is a text bar of the same 32 cells the program shows.

#include <cstdio>
#include <string>

#include "platform/message_box.h"
#include "radio/progress_sink.h"

namespace cli {

class ErrorStreamResponder : public platform::MessageResponder {
 public:
  int Show(const std::string& text, const std::string& caption, unsigned style) override;
  int Count() const { return count_; }

 private:
  int count_ = 0;
};

class TextProgress : public cmcProgressSink {
 public:
  // caption: "Reading" or "Writing"; out: where the bar goes.
  TextProgress(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}
  void SetCaption(const std::string& caption) { caption_ = caption; }

  void OpenProgress(int totalBytes) override;
  void ShowProgress(int dataBytes, int totalBytes) override;
  void CloseProgress() override;

  // The bar for the figures, e.g. "Reading [########................] 1024/3312".
  static std::string Bar(const std::string& caption, int dataBytes, int totalBytes);

 private:
  std::FILE* out_;
  bool enabled_;
  std::string caption_;
  int shownCells_ = -1;
  int lastBytes_ = 0;
  int total_ = 0;
};

}  // namespace cli
