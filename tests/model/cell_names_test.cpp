// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "model/cell_names.h"
#include "platform/fatal.h"

namespace {

std::string FatalText(void (*call)()) {
  try {
    call();
  } catch (const platform::FatalStop& stop) {
    return stop.what();
  }
  return "no stop";
}

TEST(CellNames, PositionsAreTheValuesCodeAndTextAgreeOn) {
  struct Case {
    const char* name;
    std::uint32_t constant;
    std::uint32_t position;
  } cases[] = {
      {"CL_Null", CL_Null, 0},
      {"Flex0", Flex0, 1},
      {"CL_Free_Byte_Dec", CL_Free_Byte_Dec, 20},
      {"CL_Menu_File_New", CL_Menu_File_New, 23},
      {"CL_Model", CL_Model, 43},
      {"CallSheet", CallSheet, 50},
      {"CL_PMenu_Edit", CL_PMenu_Edit, 64},
      {"CL_PMenu_Copy", CL_PMenu_Copy, 65},
      {"CL_PMenu_Insert", CL_PMenu_Insert, 71},
      {"CL_PMenu_Help", CL_PMenu_Help, 72},
      {"CL_ChList_No", CL_ChList_No, 78},
      {"CL_ChList_Atr", CL_ChList_Atr, 79},
      {"CL_ChList_Simp", CL_ChList_Simp, 83},
      {"CL_WX_ChInh", CL_WX_ChInh, 85},
      {"CL_Maker_ForcedTerminationSet", CL_Maker_ForcedTerminationSet, 170},
      {"CL_Menu_Edit_Redo", CL_Menu_Edit_Redo, 172},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.constant, c.position) << c.name;
    EXPECT_EQ(CellFromName(c.name), c.position) << c.name;
    EXPECT_EQ(CellName(c.position), c.name);
  }
  EXPECT_EQ(CL_NoCell, 180u);
}

TEST(CellNames, EveryNameReadsBackToItsPosition) {
  for (std::uint32_t i = 0; i < kCellNameCount; ++i) {
    ASSERT_FALSE(CellName(i).empty()) << i;
    EXPECT_EQ(CellFromName(CellName(i)), i) << CellName(i);
  }
  EXPECT_EQ(CellName(180), "");
  EXPECT_EQ(CellName(0xFFFFFFFF), "");
  for (int c = 0; c < kCategoryNameCount; ++c) EXPECT_EQ(CategoryFromName(CategoryName(c)), c);
  EXPECT_EQ(CategoryFromName("CT_UsaCh"), 3);
  EXPECT_EQ(CategoryName(8), "");
  EXPECT_EQ(CategoryName(-1), "");
}

TEST(CellNames, EmptyNamesMeanNone) {
  EXPECT_EQ(CategoryFromName(""), CT_NoCategory);
  EXPECT_EQ(CellFromName(""), CL_NoCell);
}

TEST(CellNames, UnknownNamesStopTheProgram) {
  EXPECT_EQ(FatalText([] { CellFromName("CL_NoSuchCell"); }), "Cannot use the specified cell.\n'CL_NoSuchCell'");
  EXPECT_EQ(FatalText([] { CellFromName("cl_model"); }), "Cannot use the specified cell.\n'cl_model'");
  // The lists share one table, but a name of one list is no name of the other.
  EXPECT_EQ(FatalText([] { CellFromName("CT_IntCh"); }), "Cannot use the specified cell.\n'CT_IntCh'");
  EXPECT_EQ(FatalText([] { CategoryFromName("CL_Model"); }), "Cannot use the specified category.\n'CL_Model'");
  EXPECT_EQ(FatalText([] { CategoryFromName("CT_Usa"); }), "Cannot use the specified category.\n'CT_Usa'");
}

TEST(CellNames, CategoriesMapToImageChannelCategories) {
  const int expected[] = {0, 0, 1, 2, 3, 4, 5, 6, 0};
  for (int c = 0; c <= 8; ++c) EXPECT_EQ(ValueCategoryOf(c), expected[c]) << c;
  EXPECT_EQ(FatalText([] { ValueCategoryOf(9); }), "Unknown Cell Category. (9)");
  EXPECT_EQ(FatalText([] { ValueCategoryOf(-1); }), "Unknown Cell Category. (-1)");
}

}  // namespace
