// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cell_test_support.h"
#include "model/cell_names.h"
#include "model/fcache.h"
#include "platform/fatal.h"

namespace {

using OptionList = CellFixtureTable;

std::vector<int> Values(const std::vector<cmcFCacheList::Item>& items) {
  std::vector<int> v;
  for (const auto& i : items) v.push_back(i.value);
  return v;
}

TEST_F(OptionList, TextsAreFoundByValueWhateverTheOrderInTheFile) {
  cmcFCache cache(&Table());
  EXPECT_EQ(cache.TextForValue("GI_Test_OnOff", Flex0, 0), "Off");
  EXPECT_EQ(cache.TextForValue("GI_Test_OnOff", Flex0, 1), "On");
  EXPECT_EQ(cache.TextForValue("GI_Test_OnOff", Flex0, 2), "error");

  struct Case {
    int value;
    const char* text;
  } cases[] = {
      {5, "Five by parameter"},  // the parameter wins over the caption
      {10, "Ten"},               // of equal values the first in the file
      {20, "Twenty"},
      {30, "Thirty"},
      {40, "Forty"},
      {15, "error"},
      {99, "error"},  // belongs to another cell
      {-1, "error"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(cache.TextForValue("GI_Test_Scattered", Flex0, c.value), c.text) << c.value;
  EXPECT_EQ(cache.TextForValue("GI_Test_Scattered", CL_Model, 99), "not this cell");
}

TEST_F(OptionList, RecordKeepsShapeAndBothOrders) {
  cmcFCache cache(&Table());
  const cmcFCacheList& list = cache.List("GI_Test_Scattered", Flex0);
  EXPECT_EQ(list.LineCount(), 4);  // the empty line counts, the "#" line ends it
  EXPECT_EQ(list.MaxColumns(), 3);
  EXPECT_EQ(list.ItemCount(), 6);
  EXPECT_EQ(Values(list.ByValue()), (std::vector<int>{5, 10, 10, 20, 30, 40}));
  EXPECT_EQ(list.ByValue()[2].text, "Ten again");
  // Down each column of four lines: line + 4 x column.
  EXPECT_EQ(Values(list.ByColumn()), (std::vector<int>{30, 20, 10, 10, 5, 40}));
  EXPECT_EQ(list.ByColumn()[2].line, 3);
  EXPECT_EQ(list.ByColumn()[5].column, 2);
  // Built once: later calls find the same record.
  EXPECT_EQ(cache.Find("GI_Test_Scattered", Flex0), &list);
  EXPECT_EQ(&cache.List("GI_Test_Scattered", Flex0), &list);
  EXPECT_EQ(cache.Find("GI_Test_Scattered", CL_Model), nullptr);
}

TEST_F(OptionList, StepsFollowColumnOrderAndWrap) {
  cmcFCache cache(&Table());
  int result = -100;
  // Not built yet: nothing to step through.
  EXPECT_FALSE(cache.Step("GI_Test_OnOff", Flex0, 0, +1, &result));
  EXPECT_EQ(result, -100);

  cache.TextForValue("GI_Test_OnOff", Flex0, 0);
  cache.TextForValue("GI_Test_Scattered", Flex0, 0);
  struct Case {
    const char* list;
    int from;
    int direction;
    int to;
  } cases[] = {
      {"GI_Test_OnOff", 1, +1, 0},       {"GI_Test_OnOff", 0, +1, 1},  // past the last: the first
      {"GI_Test_OnOff", 1, -1, 0},                                     // before the first: the last
      {"GI_Test_OnOff", 7, +1, 1},  // unknown value: the first, either way
      {"GI_Test_OnOff", 7, -1, 1},       {"GI_Test_Scattered", 30, +1, 20},
      {"GI_Test_Scattered", 20, +1, 10}, {"GI_Test_Scattered", 5, +1, 40},
      {"GI_Test_Scattered", 40, +1, 30}, {"GI_Test_Scattered", 30, -1, 40},
      {"GI_Test_Scattered", 10, -1, 20},  // from the first 10 in column order
      {"GI_Test_Scattered", 11, -1, 30},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(cache.Step(c.list, Flex0, c.from, c.direction, &result)) << c.list << " " << c.from;
    EXPECT_EQ(result, c.to) << c.list << " from " << c.from << " by " << c.direction;
  }
}

TEST_F(OptionList, ListWithoutChoicesGivesErrorAndDoesNotStep) {
  cmcFCache cache(&Table());
  EXPECT_EQ(cache.TextForValue("GI_Test_None", Flex0, 0), "error");
  EXPECT_EQ(cache.List("GI_Test_None", Flex0).ItemCount(), 0);
  int result = 3;
  EXPECT_FALSE(cache.Step("GI_Test_None", Flex0, 3, +1, &result));
  EXPECT_FALSE(cache.Step("GI_Test_None", Flex0, 3, -1, &result));
  EXPECT_EQ(result, 3);
}

TEST_F(OptionList, MissingEntryStopsTheProgram) {
  cmcFCache cache;  // reads the program's table
  try {
    cache.TextForValue("GI_Test_Missing", Flex0, 0);
    FAIL() << "no stop";
  } catch (const platform::FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "GTEX Error !\nThe index 'GI_Test_Missing_Cells' was not found.");
  }
}

}  // namespace
