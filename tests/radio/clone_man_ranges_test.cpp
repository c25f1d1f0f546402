// SPDX-License-Identifier: GPL-3.0-or-later
// The range lists a write sends, the version rules that choose them, and
// the extra block template.
#include <gtest/gtest.h>

#include "model/memory_map.h"
#include "radio/clone_man_info.h"
#include "radio/clone_man_ranges.h"

namespace {

std::vector<std::pair<int, int>> Pairs(const clsAddrRangeList& list) {
  std::vector<std::pair<int, int>> out;
  for (const auto& r : list) out.emplace_back(r.first, r.last);
  return out;
}

TEST(CloneManRanges, ReadListMovesTheFileRange) {
  EXPECT_EQ(Pairs(cloneman::ReadRanges()), (std::vector<std::pair<int, int>>{{0x000, 0xCEF}}));
  EXPECT_EQ(cloneman::TotalBytes(cloneman::ReadRanges()), 3312);
}

TEST(CloneManRanges, TotalBytesStopsAtATerminator) {
  EXPECT_EQ(cloneman::TotalBytes({{0, 15}, {1, 0}, {32, 47}}), 16);
}

TEST(CloneManRanges, WriteListsForEveryChoice) {
  struct Case {
    bool maker, dealer, extra;
    std::vector<std::pair<int, int>> expected;
  };
  const Case cases[] = {
      {true, false, true, {{0x000, 0xA3F}, {0xA40, 0xB7F}, {0xCF0, 0xDAF}}},
      {true, false, false, {{0x000, 0xA3F}, {0xA40, 0xB7F}}},
      {true, true, false, {{0x000, 0xA3F}, {0xA40, 0xB7F}}},
      {false, true, true, {{0x000, 0x9FF}, {0xA40, 0xB7F}, {0xCF0, 0xDAF}}},
      {false, true, false, {{0x000, 0x9FF}, {0xA40, 0xB7F}}},
      {false, false, true, {{0x000, 0x9FF}, {0xCF0, 0xDAF}}},
      {false, false, false, {{0x000, 0x9FF}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Pairs(cloneman::WriteRanges(c.maker, c.dealer, c.extra)), c.expected)
        << c.maker << c.dealer << c.extra;
  }
}

TEST(CloneManRanges, BcdVersionsWithANonDecimalDigitCountAsZero) {
  EXPECT_EQ(cloneman::BcdVersion(0x01, 0x23), 0x0123);
  EXPECT_EQ(cloneman::BcdVersion(0x99, 0x99), 0x9999);
  EXPECT_EQ(cloneman::BcdVersion(0x0A, 0x00), 0);
  EXPECT_EQ(cloneman::BcdVersion(0x01, 0xF0), 0);
}

TEST(CloneManRanges, TemplateTouchesOnlyItsOwn188Bytes) {
  cmcEeprom image(memmap::kImageSize);
  image.Fill(0x55);
  cloneman::ApplyExtraBlockTemplate(image);
  for (int a = 0; a < image.Size(); ++a) {
    std::uint8_t expected = 0x55;
    if (a >= 0xCF0 && a <= 0xDAB) expected = 0;
    if (a == 0xDA6) expected = 0x01;
    if (a == 0xDAB) expected = 0xFE;
    ASSERT_EQ(image.GetByte(a), expected) << std::hex << a;
  }
}

class WriteRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initial.SetSize(memmap::kImageSize);
    copy.SetSize(memmap::kImageSize);
    initial.SetByte(memmap::kDealerVersion, 0x01);
    initial.SetByte(memmap::kDealerVersion + 1, 0x20);
    cloneman::ApplyExtraBlockTemplate(copy);
    info.payload[22] = 0x01;  // the template's identifier at 0xDA6..0xDA7
    info.payload[23] = 0x00;
  }
  void RadioDealerVersion(std::uint8_t hi, std::uint8_t lo) {
    info.payload[26] = hi;
    info.payload[27] = lo;
  }
  cmcEeprom initial, copy;
  cmcRadioInfo info;
};

TEST_F(WriteRulesTest, MakerModeAlwaysSendsTheDealerRange) {
  RadioDealerVersion(0x99, 0x99);
  EXPECT_EQ(Pairs(cloneman::WriteRangesFor(info, copy, initial, true)),
            (std::vector<std::pair<int, int>>{{0x000, 0xA3F}, {0xA40, 0xB7F}}));
}

TEST_F(WriteRulesTest, DealerRangeOnlyForAnOlderRadio) {
  struct Case {
    std::uint8_t hi, lo;
    bool dealer;
  };
  const Case cases[] = {
      {0x01, 0x19, true},   // older
      {0x01, 0x20, false},  // same
      {0x02, 0x00, false},  // newer
      {0x01, 0x2A, true},   // not BCD: counts as 0
  };
  for (const Case& c : cases) {
    RadioDealerVersion(c.hi, c.lo);
    clsAddrRangeList expected = cloneman::WriteRanges(false, c.dealer, false);
    EXPECT_EQ(Pairs(cloneman::WriteRangesFor(info, copy, initial, false)), Pairs(expected))
        << std::hex << int(c.hi) << int(c.lo);
  }
}

TEST_F(WriteRulesTest, TemplateNeverSendsTheExtraBlock) {
  // Identifier matches, but the template's version 0 is never newer.
  RadioDealerVersion(0x99, 0x99);
  EXPECT_EQ(Pairs(cloneman::WriteRangesFor(info, copy, initial, false)),
            (std::vector<std::pair<int, int>>{{0x000, 0x9FF}}));
}

TEST_F(WriteRulesTest, ExtraBlockWhenIdentifierMatchesAndOursIsNewer) {
  RadioDealerVersion(0x99, 0x99);
  copy.SetByte(0xDA8, 0x00);
  copy.SetByte(0xDA9, 0x02);
  info.payload[24] = 0x00;
  info.payload[25] = 0x01;
  EXPECT_EQ(Pairs(cloneman::WriteRangesFor(info, copy, initial, false)),
            (std::vector<std::pair<int, int>>{{0x000, 0x9FF}, {0xCF0, 0xDAF}}));
  info.payload[23] = 0x01;  // another extra block: never overwritten
  EXPECT_EQ(Pairs(cloneman::WriteRangesFor(info, copy, initial, false)),
            (std::vector<std::pair<int, int>>{{0x000, 0x9FF}}));
}

}  // namespace
