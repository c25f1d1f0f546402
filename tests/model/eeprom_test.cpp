// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/fatal.h"

namespace {

TEST(EepromTest, NewImageIsEmptyAndSetSizeAlwaysZeroes) {
  cmcEeprom e;
  EXPECT_EQ(e.Size(), 0);
  EXPECT_EQ(e.Data(), nullptr);
  e.Fill(0x55);  // no buffer: nothing to do, and no crash

  e.SetSize(memmap::kImageSize);
  ASSERT_EQ(e.Size(), memmap::kImageSize);
  e.Fill(0xA5);
  e.SetSize(memmap::kImageSize);  // same size still clears
  for (int a = 0; a < e.Size(); ++a) ASSERT_EQ(e.GetByte(a), 0) << a;

  e.SetSize(0);
  EXPECT_EQ(e.Size(), 0);
  EXPECT_FALSE(e.IsValidAddress(0));
}

TEST(EepromTest, AddressGuards) {
  cmcEeprom e(16);
  EXPECT_TRUE(e.IsValidAddress(0));
  EXPECT_TRUE(e.IsValidAddress(15));
  EXPECT_FALSE(e.IsValidAddress(16));
  EXPECT_FALSE(e.IsValidAddress(-1));

  try {
    e.SetByte(16, 1);
    FAIL() << "SetByte past the end returned";
  } catch (const platform::FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Out of EEPROM image address (SetByte).");
  }
  try {
    (void)e.GetByte(-1);
    FAIL() << "GetByte before the start returned";
  } catch (const platform::FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Out of EEPROM image address (GetByte).");
  }
  // A word reaching past the end changes neither byte.
  e.SetByte(15, 0x11);
  EXPECT_THROW(e.SetWord(15, 0xBEEF), platform::FatalStop);
  EXPECT_EQ(e.GetByte(15), 0x11);
}

TEST(EepromTest, WordsAreLittleEndian) {
  cmcEeprom e(4);
  e.SetWord(1, 0x1234);
  EXPECT_EQ(e.GetByte(1), 0x34);
  EXPECT_EQ(e.GetByte(2), 0x12);
  EXPECT_EQ(e.GetWord(1), 0x1234);
}

TEST(EepromTest, BlockCopiesIgnoreRequestsThatDoNotFit) {
  struct Case {
    int address;
    int count;
    bool applied;
  };
  const Case cases[] = {
      {0, 4, true},  {4, 4, true},  {5, 4, false},  {-1, 2, false},
      {8, 1, false}, {0, 0, false}, {3, -1, false}, {7, 1, true},
  };
  const std::array<std::uint8_t, 4> src = {1, 2, 3, 4};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "a=" << c.address << " n=" << c.count);
    cmcEeprom e(8);
    e.Fill(0xEE);
    e.WriteBlock(c.address, src.data(), c.count);
    int changed = 0;
    for (int a = 0; a < 8; ++a) changed += e.GetByte(a) != 0xEE;
    EXPECT_EQ(changed, c.applied ? c.count : 0);

    std::array<std::uint8_t, 4> dst = {9, 9, 9, 9};
    e.ReadBlock(c.address, dst.data(), c.count);
    if (c.applied) {
      for (int i = 0; i < c.count; ++i)
        EXPECT_EQ(dst[static_cast<std::size_t>(i)], src[static_cast<std::size_t>(i)]);
    } else {
      EXPECT_EQ(dst, (std::array<std::uint8_t, 4>{9, 9, 9, 9}));
    }
  }
}

TEST(EepromTest, AssignEqualsDiffers) {
  cmcEeprom a(memmap::kImageSize), b;
  a.SetByte(0, 1);
  a.SetByte(memmap::kImageSize - 1, 2);
  b.Assign(a);
  EXPECT_EQ(b.Size(), a.Size());
  EXPECT_TRUE(b.Equals(a));
  EXPECT_FALSE(b.Differs(a));

  b.SetByte(100, 7);
  EXPECT_TRUE(b.Differs(a));

  // A prefix is not equal, whichever side it is on.
  cmcEeprom longer(5), shorter(4);
  EXPECT_FALSE(longer.Equals(shorter));
  EXPECT_FALSE(shorter.Equals(longer));

  // Copies are deep.
  cmcEeprom copy = a;
  copy.SetByte(0, 99);
  EXPECT_EQ(a.GetByte(0), 1);
}

}  // namespace
