// SPDX-License-Identifier: GPL-3.0-or-later
// Which pages the main tree shows, on a small tree whose nodes carry every
// flag the channel lists, the ATIS page and the dealer pages use.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/tree_pages.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "text/gtex.h"

namespace {

class TreePages : public ::testing::Test {
 protected:
  TreePages() : image(memmap::kImageSize) { table.Bind(SEACLONE_TEST_DATA "/layout/tree.ovl"); }

  std::vector<std::string> Keys(const std::vector<layout::TreePage>& pages) {
    std::vector<std::string> keys;
    for (const layout::TreePage& page : pages) keys.push_back(page.sheetKey);
    return keys;
  }

  cmcGTex table;
  cmcEeprom image;
};

TEST_F(TreePages, PlansModelGroupsAndMakerModeDecideWhichNodesStay) {
  constexpr std::uint8_t kInt = 0x02;                           // 973
  constexpr std::uint8_t kUsa = 0x01, kWx = 0x02, kCan = 0x04;  // 972
  const struct {
    const char* what;
    int model;
    std::uint8_t flags972;
    std::uint8_t flags973;
    bool maker;
    std::vector<std::string> keys;
  } cases[] = {
      {"USA model, no plan", 0, 0, 0, false, {"GI_Root", "GI_Common", "GI_Free", "GI_Last"}},
      {"Europe, every plan",
       1,
       kUsa | kWx | kCan,
       kInt,
       false,
       {"GI_Root", "GI_Common", "GI_Atis", "GI_Int", "GI_Usa", "GI_Can", "GI_Wx", "GI_Free",
        "GI_Last"}},
      // Other bits of the plan bytes switch nothing on.
      {"Europe, other bits",
       1,
       static_cast<std::uint8_t>(~(kUsa | kWx | kCan)),
       static_cast<std::uint8_t>(~kInt),
       false,
       {"GI_Root", "GI_Common", "GI_Atis", "GI_Free", "GI_Last"}},
      // Model 8 is in both the ATIS-less group and the SUV group.
      {"Nordic USA-type",
       8,
       kWx,
       0,
       false,
       {"GI_Root", "GI_Common", "GI_Suv", "GI_Wx", "GI_Free", "GI_Last"}},
      {"Sweden, maker",
       9,
       0,
       0,
       true,
       {"GI_Root", "GI_Common", "GI_Atis", "GI_Suv", "GI_Free", "GI_Maker", "GI_Memory", "GI_Deep",
        "GI_Last"}},
      {"Export, maker",
       12,
       kUsa,
       0,
       true,
       {"GI_Root", "GI_Common", "GI_Atis", "GI_Usa", "GI_Free", "GI_Maker", "GI_Memory", "GI_Deep",
        "GI_Last"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    image.SetByte(memmap::kFlags972, c.flags972);
    image.SetByte(memmap::kFlags973, c.flags973);
    EXPECT_EQ(Keys(layout::ShownTreePages(table, {&image, c.model, c.maker})), c.keys);
  }
  // Without an image no plan is on.
  EXPECT_EQ(Keys(layout::ShownTreePages(table, {nullptr, 1, false})),
            (std::vector<std::string>{"GI_Root", "GI_Common", "GI_Atis", "GI_Free", "GI_Last"}));
}

TEST_F(TreePages, NodesKeepTheirReferenceCaptionAndDepth) {
  const std::vector<layout::TreePage> all = layout::TreeBodyPages(table);
  ASSERT_EQ(Keys(all), (std::vector<std::string>{"GI_Root", "GI_Common", "GI_Atis", "GI_Suv",
                                                 "GI_Int", "GI_Usa", "GI_Can", "GI_Wx", "GI_Free",
                                                 "GI_Maker", "GI_Memory", "GI_Deep", "GI_Last"}));
  EXPECT_EQ(all[0].caption, "Radio: ");
  EXPECT_EQ(all[4].reference, "[x]GI_Int,extra");
  EXPECT_EQ(all[4].caption, "INT");
  EXPECT_EQ(all[8].depth, 2);
  EXPECT_EQ(all[11].depth, 3);

  image.SetByte(memmap::kFlags973, 0x02);
  const std::vector<layout::TreePage> shown = layout::ShownTreePages(table, {&image, 10, false});
  ASSERT_GE(shown.size(), 5u);
  // The tree's first node ends in the model's name.
  EXPECT_EQ(shown[0].caption, "Radio: Model 10");
  EXPECT_EQ(shown[4].reference, "[x]GI_Int,extra");
}

}  // namespace
