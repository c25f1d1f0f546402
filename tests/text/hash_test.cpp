// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "platform/fatal.h"
#include "text/hash.h"

namespace {

// Bucket numbers worked out by hand from the hash rule.
TEST(HashBucket, MatchesHandWorkedValues) {
  struct Case {
    std::string key;
    std::uint32_t n;
    std::uint32_t bucket;
  } cases[] = {
      {"a", 101, 46},     // 50 + 97 = 147
      {"AB", 1031, 710},  // 515+65 = 580; 1160+515+66 = 1741
      {"ac", 1031, 549},  // odd 'c' halves s to 257: 1224+257+99 = 1580
      {"\xFF", 101, 49},  // sign-extended: 50 - 1
      {"\x80"
       "a",
       101, 34},      // sum wraps below zero: 2^32 - 34, taken unsigned
      {"aaa", 4, 3},  // s halves 2 -> 1 -> 0, and 0 restarts at n/2
      {"", 1031, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HashBucket(c.key, c.n), c.bucket) << "key '" << c.key << "' n " << c.n;
  }
}

TEST(HashTable, ZeroBucketsMeans1031AndInsertGoesToTheBucketHead) {
  cmcHash table(0);
  EXPECT_EQ(table.BucketCount(), 1031u);
  // One bucket puts every key in the same chain, so the order shows.
  cmcHash tiny(1);
  tiny.Insert("first", 1);
  tiny.Insert("second", 2);
  ASSERT_NE(tiny.BucketHead(0), nullptr);
  EXPECT_EQ(tiny.BucketHead(0)->key, "second");
  EXPECT_EQ(tiny.BucketHead(0)->next->key, "first");
  ASSERT_NE(tiny.Find("first"), nullptr);
  EXPECT_EQ(tiny.Find("first")->payload, 1);
  EXPECT_EQ(tiny.Find("second")->payload, 2);
  EXPECT_EQ(tiny.Find("First"), nullptr);
  EXPECT_EQ(tiny.Find("firs"), nullptr);
}

TEST(HashTable, DuplicateKeyIsFatalWithItsOwnText) {
  cmcHash one(101);
  one.Insert("clRed", 0xFF);
  try {
    one.Insert("clRed", 1);
    FAIL() << "duplicate accepted";
  } catch (const platform::FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Overlapped Hash table.");
  }
  EXPECT_EQ(one.Find("clRed")->payload, 0xFF);

  cmcHash2 two(1031);
  two.Insert("GI_Sheet_Sel_X#43", nullptr);
  try {
    two.Insert("GI_Sheet_Sel_X#43", nullptr);
    FAIL() << "duplicate accepted";
  } catch (const platform::FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Overlapped Hash2 table.");
  }
}

}  // namespace
