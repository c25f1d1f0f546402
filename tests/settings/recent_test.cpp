// SPDX-License-Identifier: GPL-3.0-or-later
// The recent-file list: order, letter case, capacity and the menu's text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/recent.h"

namespace {

std::vector<std::string> Entries(cmcRecent& r) {
  std::vector<std::string> out;
  for (int i = 0; i < r.Count(); ++i) out.push_back(r.Entry(i));
  return out;
}

using List = std::vector<std::string>;

TEST(Recent, PutFirstMovesAnEntryToTheTopWhateverItsCase) {
  cmcRecent r;
  r.PutFirst("/boat/a.dat");
  r.PutFirst("/boat/b.dat");
  r.PutFirst("/boat/c.dat");
  r.PutFirst("/BOAT/A.DAT");
  EXPECT_EQ(Entries(r), (List{"/BOAT/A.DAT", "/boat/c.dat", "/boat/b.dat"}));
}

TEST(Recent, TwelveSavesKeepTheTenMostRecent) {
  cmcRecent r;
  for (int i = 1; i <= 12; ++i) r.PutFirst("/boat/f" + std::to_string(i) + ".dat");
  ASSERT_EQ(r.Count(), 10);
  EXPECT_EQ(r.Entry(0), "/boat/f12.dat");
  EXPECT_EQ(r.Entry(9), "/boat/f3.dat");
  EXPECT_EQ(r.Entry(10), "");
  EXPECT_EQ(r.Entry(-1), "");
}

TEST(Recent, AppendAddsAtTheEndWithoutDuplicates) {
  cmcRecent r(3);
  r.Append("/x/1.dat");
  r.Append("/x/2.dat");
  r.Append("/X/1.DAT");  // moves to the end
  EXPECT_EQ(Entries(r), (List{"/x/2.dat", "/X/1.DAT"}));
  r.Append("/x/3.dat");
  r.Append("/x/4.dat");  // beyond the capacity: dropped
  EXPECT_EQ(Entries(r), (List{"/x/2.dat", "/X/1.DAT", "/x/3.dat"}));
  r.Clear();
  EXPECT_EQ(r.Count(), 0);
}

TEST(Recent, LettersBeyondAsciiCompareWithoutCase) {
  cmcRecent r;
  r.PutFirst("/böte/Ärger.dat");
  r.PutFirst("/BÖTE/ärger.dat");
  EXPECT_EQ(r.Count(), 1);
}

TEST(Recent, DisplayTextShortensEntriesOfTheGivenDirectory) {
  cmcRecent r;
  r.Append("/home/skipper/Radios/Dinghy.dat");
  r.Append("/home/skipper/other/Yacht.dat");
  r.Append("Loose.dat");
  r.Append("/Top.dat");
  struct Case {
    int n;
    const char* directory;
    const char* expected;
  };
  const Case cases[] = {
      {0, "/home/skipper/Radios", "Dinghy.dat"},
      {0, "/home/skipper/Radios/", "Dinghy.dat"},   // trailing separator ignored
      {0, "/HOME/skipper/radios//", "Dinghy.dat"},  // letter case ignored
      {0, "/home/skipper", "/home/skipper/Radios/Dinghy.dat"},
      {0, "", "/home/skipper/Radios/Dinghy.dat"},  // empty directory: the full path to open
      {1, "/home/skipper/Radios", "/home/skipper/other/Yacht.dat"},
      {2, "/home/skipper/Radios", "Loose.dat"},
      {3, "/", "Top.dat"},
      {4, "/home/skipper/Radios", ""},  // beyond the list
  };
  for (const Case& c : cases)
    EXPECT_EQ(r.DisplayText(c.n, c.directory), c.expected) << c.n << " in '" << c.directory << "'";
}

}  // namespace
