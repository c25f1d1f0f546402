// SPDX-License-Identifier: GPL-3.0-or-later
// The cables' lines of seaclone-cli fleet, as a terminal shows them (the
// output played on a small screen model) and as a log receives them.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_cable_board.h"

namespace {

// What a terminal shows after text: lines, with the cursor movements the
// board uses (cursor up, carriage return, clear to the end of the screen).
std::vector<std::string> Screen(const std::string& text) {
  std::vector<std::string> lines(1);
  std::size_t row = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\033' && i + 1 < text.size() && text[i + 1] == '[') {
      std::size_t end = i + 2;
      while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
      const int n = end > i + 2 ? std::stoi(text.substr(i + 2, end - i - 2)) : 1;
      if (text[end] == 'A') row = row >= static_cast<std::size_t>(n) ? row - n : 0;
      if (text[end] == 'J') lines.resize(row + 1), lines[row].clear();
      i = end;
    } else if (c == '\r') {
      lines[row].clear();
    } else if (c == '\n') {
      if (++row == lines.size()) lines.emplace_back();
    } else {
      lines[row] += c;
    }
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

std::string Written(std::FILE* file) {
  std::string text;
  std::rewind(file);
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(CableBoard, ATerminalShowsOneLinePerCableUnderTheMessages) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  {
    cli::CableBoard board(out, {"/dev/ttyUSB0", "port 3"}, true, true);
    board.Set(0, "identity 2110000011 (1 of 2)", "2110000011", "asking");
    board.Set(1, "identity 2110000021 (2 of 2)", "2110000021", "asking");
    board.SetCaption(1, "Reading");
    board.Progress(1).OpenProgress(3312);
    board.Progress(1).ShowProgress(1656, 3312);
    board.Message("Seaclone: /dev/ttyUSB0: The radio did not answer.");
    board.Set(0, "identity 2110000011 (1 of 2)", "2110000011", "failed (exit 25)");
  }
  const std::vector<std::string> expected = {
      "Seaclone: /dev/ttyUSB0: The radio did not answer.",
      "/dev/ttyUSB0  identity 2110000011 (1 of 2): failed (exit 25)",
      "port 3        2110000021  Reading [################................]",
  };
  EXPECT_EQ(Screen(Written(out)), expected);
  std::fclose(out);
}

TEST(CableBoard, ALogGetsAPlainLinePerStepAndNoBars) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  {
    cli::CableBoard board(out, {"/dev/ttyUSB0", "port 3"}, false, true);
    board.Set(1, "identity 2110000021 (2 of 2)", "2110000021", "reading");
    board.SetCaption(1, "Reading");
    board.Progress(1).OpenProgress(3312);
    board.Progress(1).ShowProgress(3312, 3312);
    board.Set(1, "identity 2110000021 (2 of 2)", "2110000021", "ok");
  }
  EXPECT_EQ(Written(out),
            "seaclone-cli: port 3: identity 2110000021 (2 of 2): reading\n"
            "seaclone-cli: port 3: identity 2110000021 (2 of 2): ok\n");
  std::fclose(out);
}

}  // namespace
