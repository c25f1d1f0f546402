// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/fatal.h"
#include "platform/temporary_folder.h"
#include "text/gtex.h"

namespace {

class OverlayFile {
 public:
  explicit OverlayFile(const std::string& content) {
    path_ = dir_.Path() + "/T.OVL";
    std::ofstream(path_, std::ios::binary) << content;
  }
  const std::string& path() const { return path_; }

 private:
  platform::TemporaryFolder dir_{"seaclone-test"};
  std::string path_;
};

struct Table {
  explicit Table(const std::string& content) : file(content) { gtex.Bind(file.path()); }
  OverlayFile file;
  cmcGTex gtex;
};

TEST(TextTable, LinesCountOnPastTheNextKeyLine) {
  Table t("#A\na0\na1\n#B\nb0\n");
  EXPECT_EQ(t.gtex.Text("A"), "a0");
  EXPECT_EQ(t.gtex.Line("A", 1), "a1");
  EXPECT_EQ(t.gtex.Line("A", 2), "#B");
  EXPECT_EQ(t.gtex.Line("A", 3), "b0");
  EXPECT_EQ(t.gtex.Text("B"), "b0");
}

TEST(TextTable, MemoResetsWhenAskedForAnEarlierLine) {
  Table t("#K\nzero\none\ntwo\n");
  EXPECT_EQ(t.gtex.Line("K", 2), "two");
  EXPECT_EQ(t.gtex.Line("K", 0), "zero");
  EXPECT_EQ(t.gtex.Line("K", 1), "one");
}

TEST(TextTable, KeysAreTakenVerbatim) {
  Table t("#Key \nwith blank\n#Key\nplain\n#Dup\nfirst\n#Dup\nsecond\n");
  EXPECT_EQ(t.gtex.Text("Key "), "with blank");
  EXPECT_EQ(t.gtex.Text("Key"), "plain");
  EXPECT_EQ(t.gtex.Text("Dup"), "first");
  EXPECT_FALSE(t.gtex.HasKey("key"));
}

TEST(TextTable, KeysAfterTheEndMarkerAreNotFound) {
  Table t("#A\na\n#End_Of_Ovl\n#Late\nlate\n");
  EXPECT_EQ(t.gtex.Text("A"), "a");
  EXPECT_THROW(t.gtex.Text("Late"), platform::FatalStop);
  // The marker itself is an ordinary key.
  EXPECT_EQ(t.gtex.Text("End_Of_Ovl"), "#Late");
}

TEST(TextTable, MissingKeyIsFatalWithTheIndexNamed) {
  Table t("#A\na\n");
  try {
    t.gtex.Text("GI_Nope");
    FAIL() << "no fatal stop";
  } catch (const platform::FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "GTEX Error !\nThe index 'GI_Nope' was not found.");
  }
}

TEST(TextTable, MissingFileFailsEveryLookup) {
  cmcGTex gtex;
  gtex.Bind("/nonexistent/folder/T.OVL");
  EXPECT_THROW(gtex.Text("A"), platform::FatalStop);
}

TEST(TextTable, SecondBindIsIgnored) {
  Table t("#A\nfirst file\n");
  EXPECT_FALSE(t.gtex.Bind("/elsewhere.OVL"));
  EXPECT_EQ(t.gtex.Text("A"), "first file");
}

TEST(TextTable, BlockStopsAtAnyLineBeginningWithHash) {
  Table t("#M\nline one\n\nline three\n#\nafter\n#Empty\n#Next\nx\n#Last\nl0\nl1\n#End_Of_Ovl\n");
  EXPECT_EQ(t.gtex.Block("M"), "line one\n\nline three");
  // "#" alone is a content line for line lookups.
  EXPECT_EQ(t.gtex.Line("M", 3), "#");
  EXPECT_EQ(t.gtex.Line("M", 4), "after");
  EXPECT_EQ(t.gtex.Block("Empty"), "");
  EXPECT_EQ(t.gtex.Block("Last"), "l0\nl1");
}

TEST(TextTable, BlockRunningOffTheEndIsFatal) {
  Table t("#M\nno end\n");
  EXPECT_THROW(t.gtex.Block("M"), platform::FatalStop);
}

TEST(TextTable, CrLfReadsAsOneLineEnd) {
  Table t("#A\r\na0\r\na1\r\n#B\r\nb0\r\n");
  EXPECT_EQ(t.gtex.Text("A"), "a0");
  EXPECT_EQ(t.gtex.Line("A", 1), "a1");
  EXPECT_EQ(t.gtex.Text("B"), "b0");
}

TEST(TextTable, OverlongLineIsReadAsPieces) {
  const std::string longLine(cmcGTex::kMaxLine + 100, 'x');
  Table t("#A\n" + longLine + "\nnext\n");
  EXPECT_EQ(t.gtex.Line("A", 0), std::string(cmcGTex::kMaxLine, 'x'));
  EXPECT_EQ(t.gtex.Line("A", 1), std::string(100, 'x'));
  EXPECT_EQ(t.gtex.Line("A", 2), "next");
}

TEST(TextTable, ManyKeysAndRepeatedLookupsStayConsistent) {
  // More keys than the move-to-front depth and more lines than the cache
  // holds, asked in an order that moves keys and evicts cache entries.
  std::string content;
  for (int k = 0; k < 200; ++k) {
    content += "#K" + std::to_string(k) + "\n";
    for (int n = 0; n < 3; ++n) content += "v" + std::to_string(k) + "." + std::to_string(n) + "\n";
  }
  Table t(content);
  for (int round = 0; round < 3; ++round) {
    for (int k = 199; k >= 0; k -= 7) {
      for (int n = 2; n >= 0; --n) {
        EXPECT_EQ(t.gtex.Line("K" + std::to_string(k), n),
                  "v" + std::to_string(k) + "." + std::to_string(n));
      }
    }
  }
}

}  // namespace

namespace {

TEST(TextTable, VariantEntriesStandInForTheirKeysWhereTheyExist) {
  Table t(
      "#GI_Mess\nwindow\nline 1\n#GI_Cli_Mess\ncommand "
      "line\n#GI_Only\nshared\n#Plain\np\n#Cli_Plain\nno\n");
  t.gtex.SetVariant("Cli");
  const std::pair<const char*, const char*> cases[] = {
      {"GI_Mess", "command line"},  // the variant's whole entry, not line by line
      {"GI_Only", "shared"},        // no variant: the key itself
      {"Plain", "p"},               // only GI_ keys have variants
      {"GI_Cli_Mess", "command line"},
  };
  for (const auto& [key, text] : cases) {
    EXPECT_EQ(t.gtex.Block(key), text) << key;
  }
  EXPECT_FALSE(t.gtex.HasKey("GI_Cli_Only"));
  t.gtex.SetVariant("");
  EXPECT_EQ(t.gtex.Block("GI_Mess"), "window\nline 1");
}

}  // namespace
