// SPDX-License-Identifier: GPL-3.0-or-later
// Column-width names, redraw relations and tints.
#include <gtest/gtest.h>

#include "layout/redraw_relation.h"
#include "layout/width_name.h"
#include "text/gtex.h"

namespace {

TEST(ColumnWidthName, PageReferenceMapsThroughTheListUpToItsFirstLineWithoutColon) {
  cmcGTex table;
  table.Bind(SEACLONE_TEST_DATA "/layout/pages.ovl");
  struct Case {
    const char* reference;
    std::optional<std::string> name;
  };
  const std::vector<Case> cases = {
      {"GI_Sheet_IntCh", "IntList"},
      {"GI_Sheet_Common,ATIS", "Common"},
      {"[INT]GI_Sheet_IntCh,extra", "IntList"},
      {"[GI_Sheet_Common]", std::nullopt},
      {"[open GI_Sheet_IntCh", std::nullopt},
      {"GI_Sheet_IntChannels", std::nullopt},
      {"GI_Sheet_Late", std::nullopt},  // listed after the line without ":"
      {"", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(layout::ColumnWidthName(table, c.reference), c.name) << c.reference;
}

TEST(RedrawRelation, EachBitTestsItsRelation) {
  using namespace layout;
  const CellKey probe{CT_UsaCh, CL_ChList_No, 5};
  const CellKey noCategoryProbe{CT_NoCategory, CL_ChList_No, 5};
  struct Case {
    const char* what;
    CellKey probe;
    CellKey slot;
    unsigned holds;  // the bits whose relation holds
  };
  const std::vector<Case> cases = {
      {"the same cell",
       probe,
       {CT_UsaCh, CL_ChList_No, 5},
       kSameCellAndNumber | kSameCategory | kSameCell | kSameNumber | kNeighbourNumber |
           kAnyDataCell | kNumberFromProbe | kNumberUpToProbe},
      {"next number",
       probe,
       {CT_UsaCh, CL_ChList_No, 6},
       kSameCategory | kSameCell | kNeighbourNumber | kAnyDataCell | kNumberFromProbe},
      {"previous number, other cell",
       probe,
       {CT_UsaCh, CL_ChList_Tag, 4},
       kSameCategory | kNeighbourNumber | kAnyDataCell | kNumberUpToProbe},
      {"two numbers on",
       probe,
       {CT_UsaCh, CL_ChList_Tag, 7},
       kSameCategory | kAnyDataCell | kNumberFromProbe},
      {"same number, other category",
       probe,
       {CT_IntCh, CL_ChList_Tag, 5},
       kSameNumber | kAnyDataCell | kNumberFromProbe | kNumberUpToProbe},
      {"static cell", probe, {CT_UsaCh, CL_NoCell, 5}, kSameCategory},
      {"probe without category",
       noCategoryProbe,
       {CT_IntCh, CL_ChList_No, 5},
       kSameCellAndNumber | kSameCell | kAnyDataCell},
      {"both without category",
       noCategoryProbe,
       {CT_NoCategory, CL_Comm_Beep, 9},
       kSameCategory | kAnyDataCell},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (unsigned bit = 0; bit < 8; ++bit) {
      const unsigned mask = 1u << bit;
      EXPECT_EQ(IsRelated(c.probe, c.slot, mask), (c.holds & mask) != 0)
          << c.what << ", bit " << bit;
    }
    EXPECT_EQ(IsRelated(c.probe, c.slot, 0xFF), c.holds != 0);
    EXPECT_FALSE(IsRelated(c.probe, c.slot, 0));
  }
}

TEST(Tints, BlendEachChannelOfWindowAndText) {
  EXPECT_EQ(layout::ComputeTints(0xFFFFFF, 0x000000), (layout::Tints{0xDFDFDF, 0xBFBFBF}));
  EXPECT_EQ(layout::ComputeTints(0x102030, 0xF0E0D0), (layout::Tints{0x2C3844, 0x485058}));
  EXPECT_EQ(layout::ComputeTints(0x000000, 0xFFFFFF), (layout::Tints{0x202020, 0x404040}));
}

}  // namespace
