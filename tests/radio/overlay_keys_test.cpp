// SPDX-License-Identifier: GPL-3.0-or-later
// Every text key the program looks up must be in the overlay files it ships:
// a missing key stops the program with the fatal text-table error the first
// time the lookup runs, which may be deep inside a rarely used command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "model/memory_map.h"
#include "radio/clone_drv_result.h"
#include "text/gtex.h"

namespace {

// Every "GI_..." string literal in the program's sources.
std::set<std::string> KeysNamedInSources() {
  const std::regex literal("\"(GI_[A-Za-z0-9_]+)\"");
  std::set<std::string> keys;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(SEACLONE_SOURCE_DIR "/src")) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h" && ext != ".def")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    for (std::sregex_iterator m(s.begin(), s.end(), literal), end; m != end; ++m)
      keys.insert((*m)[1]);
  }
  return keys;
}

// Some keys are names that a reader completes before the lookup: pages and
// option lists are read from the name followed by "_Cells"; popup menus, the
// main menu, the tool bar and the tree are built from the name followed by
// "_Body".
std::string KeyLookedUp(const std::string& named) {
  static const std::pair<const char*, const char*> kFamilies[] = {
      {"GI_Sheet_", "_Cells"},  {"GI_PMenu_", "_Body"}, {"GI_Menu_", "_Body"},
      {"GI_ToolBar_", "_Body"}, {"GI_Tree_", "_Body"},
  };
  for (const auto& [prefix, suffix] : kFamilies) {
    if (named.starts_with(prefix) && !named.ends_with(suffix)) return named + suffix;
  }
  return named;
}

class ShippedOverlay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(main.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
    ASSERT_TRUE(help.Bind(SEACLONE_BIN_DIR "/TB58H.OVL"));
  }
  cmcGTex main;
  cmcGTex help;
};

TEST_F(ShippedOverlay, HoldsEveryKeyTheSourcesName) {
  const std::set<std::string> named = KeysNamedInSources();
  // The scan itself must work, or an empty set would pass.
  ASSERT_TRUE(named.contains("GI_Sys_AppTitle"));
  ASSERT_TRUE(named.contains("GI_PMenu_NoItem"));
  std::vector<std::string> missing;
  for (const std::string& key : named) {
    if (main.HasKey(key) || help.HasKey(key)) continue;
    const std::string lookedUp = KeyLookedUp(key);
    if (!main.HasKey(lookedUp) && !help.HasKey(lookedUp)) missing.push_back(lookedUp);
  }
  EXPECT_TRUE(missing.empty()) << "not in TB58.OVL or TB58H.OVL: "
                               << ::testing::PrintToString(missing);
}

// Entries read by line number, where the number comes from the radio or the
// image: each needs a line for every number it can be asked for, or the
// lookup reads on into the entry that follows.
TEST_F(ShippedOverlay, NumberedEntriesHaveALineForEveryNumber) {
  struct Case {
    const char* key;
    int lines;
  };
  const Case cases[] = {
      {"GI_AppInd_Model", memmap::kModelTypes},
      {"GI_App_InitialFile", memmap::kModelTypes},
      {"GI_Mess_CloneErr_Head", static_cast<int>(CloneStatus::kVerifyFailed) + 1},
  };
  for (const Case& c : cases) {
    for (int n = 0; n < c.lines; ++n) {
      std::string line;
      ASSERT_TRUE(main.TryLine(c.key, n, &line)) << c.key << " line " << n;
      EXPECT_FALSE(line.starts_with('#')) << c.key << " has no line " << n << "; it reads " << line;
    }
  }
}

}  // namespace
