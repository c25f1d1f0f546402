// SPDX-License-Identifier: GPL-3.0-or-later
// Standard error as the progress bar and the messages share it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cli_output.h"

namespace {

// Collects what is written to a FILE.
class Captured {
 public:
  Captured() : file_(open_memstream(&buffer_, &size_)) {}
  ~Captured() {
    std::fclose(file_);
    std::free(buffer_);
  }
  std::FILE* file() { return file_; }
  std::string Text() {
    std::fflush(file_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* file_;
};

std::string Bar(int bytes) { return "\r" + cli::TextProgress::Bar("Reading", bytes, 3312); }

TEST(CliProgress, AMessageEndsTheBarsLineAndTheBarIsNotDrawnAgain) {
  Captured err;
  cli::ErrorStream stream(err.file());
  cli::ErrorStreamResponder responder(stream);
  cli::TextProgress progress(stream, true);
  progress.SetCaption("Reading");

  progress.OpenProgress(3312);
  progress.ShowProgress(1600, 3312);
  responder.Show("The radio did not answer in time.\n\n", "Seaclone", 0);
  progress.ShowProgress(1700, 3312);
  progress.CloseProgress();
  EXPECT_EQ(err.Text(), Bar(0) + Bar(1600) + "\nSeaclone: The radio did not answer in time.\n");

  // The next read or write draws its bar again and ends it itself.
  progress.OpenProgress(3312);
  progress.ShowProgress(3312, 3312);
  progress.CloseProgress();
  responder.Show("done", "Seaclone", 0);
  EXPECT_EQ(err.Text(), Bar(0) + Bar(1600) + "\nSeaclone: The radio did not answer in time.\n" +
                            Bar(0) + Bar(3312) + Bar(3312) + "\nSeaclone: done\n");
}

TEST(CliProgress, QuietRunShowsOnlyTheMessages) {
  Captured err;
  cli::ErrorStream stream(err.file());
  cli::ErrorStreamResponder responder(stream);
  cli::TextProgress progress(stream, false);
  progress.OpenProgress(3312);
  progress.ShowProgress(1600, 3312);
  responder.Show("failed", "Seaclone", 0);
  progress.CloseProgress();
  EXPECT_EQ(err.Text(), "Seaclone: failed\n");
}

}  // namespace
