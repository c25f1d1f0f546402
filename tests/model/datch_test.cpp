// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "model/datch.h"
#include "model/datch_index.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/numeric.h"

using namespace memmap;

namespace {

class DatChTest : public testing::Test {
 protected:
  DatChTest() : image(kImageSize), ch(&image) {}
  cmcEeprom image;
  datCh ch;
};

TEST_F(DatChTest, PlansSitAtTheirSlotsAndUnpackEveryBit) {
  struct Case {
    unsigned category;
    int base;
  };
  const Case plans[] = {{kCatUsa, 0x000}, {kCatInt, 0x1C0}, {kCatCan, 0x380}, {kCatSuv, 0x540}};
  for (const Case& p : plans) {
    SCOPED_TRACE(p.category);
    cmcEeprom img(kImageSize);
    // Bits 4, 3 and 0 are not part of the view and must survive a store.
    img.SetByte(p.base + 40, 0x80 | 0x40 | 0x20 | 0x04 | 0x19);
    datCh v(&img);
    v.Load(p.category, 40);
    EXPECT_EQ(v.attr, datCh::kAtInhibit | datCh::kAtTag | datCh::kAtPoc | datCh::kAtTxInhibit);
    EXPECT_EQ(v.state, datCh::kStInUse);
    v.attr = datCh::kAtSimplex;
    v.Store();
    EXPECT_EQ(img.GetByte(p.base + 40), 0x02 | 0x19);
    // Nothing else moved.
    for (int a = 0; a < kImageSize; ++a) {
      if (a == p.base + 40) continue;
      ASSERT_EQ(img.GetByte(a), 0) << std::hex << a;
    }
  }
}

TEST_F(DatChTest, ForcedSimplexOnAChannelsAndFourDigitChannels) {
  struct Case {
    int index;
    bool forced;
  };
  const Case cases[] = {{32, false}, {33, true},   {233, true},  {234, true},
                        {347, true}, {348, false}, {417, false}, {0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    ch.Load(kCatInt, c.index);
    EXPECT_EQ((ch.attr & datCh::kAtSimplex) != 0, c.forced);
    ch.Reload();
    EXPECT_EQ((image.GetByte(PlanByte(1, c.index)) & kChSimplex) != 0, c.forced);
  }
}

TEST_F(DatChTest, PAndCWordsAreWrittenOnlyWhenFlagged) {
  image.SetWord(kPWords + 2 * 2, 32);  // CAN: P = 16
  image.SetWord(kCWords + 2 * 2, 18);  // CAN: C = 9
  ch.Load(kCatCan, 32);
  EXPECT_EQ(ch.acFlags, datCh::kAcP);
  ch.Load(kCatCan, 18);
  EXPECT_EQ(ch.acFlags, datCh::kAcC);

  // Storing an unflagged channel leaves both words alone.
  ch.Load(kCatCan, 100);
  ch.Store();
  EXPECT_EQ(image.GetWord(kPWords + 4), 32);
  EXPECT_EQ(image.GetWord(kCWords + 4), 18);

  // Claiming both moves both words, and only this plan's.
  ch.acFlags = datCh::kAcP | datCh::kAcC;
  ch.Store();
  EXPECT_EQ(image.GetWord(kPWords + 4), 100);
  EXPECT_EQ(image.GetWord(kCWords + 4), 100);
  for (int slot : {0, 1, 3}) {
    EXPECT_EQ(image.GetWord(kPWords + 2 * slot), 0);
    EXPECT_EQ(image.GetWord(kCWords + 2 * slot), 0);
  }
  ch.Load(kCatCan, 32);
  EXPECT_EQ(ch.acFlags, 0u);
}

TEST_F(DatChTest, WeatherBitsOnly) {
  image.SetWord(kWxBits, 0xFC00);  // bits above channel 9 are not ours
  ch.Load(kCatWx, 9);
  EXPECT_EQ(ch.attr, 0u);
  ch.attr = datCh::kAtInhibit;
  ch.Store();
  EXPECT_EQ(image.GetWord(kWxBits), 0xFE00);
  ch.Load(kCatWx, 9);
  EXPECT_EQ(ch.attr, datCh::kAtInhibit);
  ch.attr = 0;
  ch.Store();
  EXPECT_EQ(image.GetWord(kWxBits), 0xFC00);
}

TEST_F(DatChTest, FreeChannelEncoding) {
  struct Case {
    std::uint32_t hz;
    std::uint16_t rxCode;
    std::uint16_t txCode;
    bool fine;
  };
  const Case cases[] = {
      {156'025'000, 10'746, 12'482, false},  // on the 12.5 kHz raster
      {156'031'250, 21'493, 24'965, true},   // needs the 6.25 kHz step
      {155'500'000, 10'704, 12'440, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hz);
    ch.Load(kCatFree, 5);
    ch.rxHz = c.hz;
    ch.txHz = c.hz;
    ch.SetName("L1");
    ch.Store();
    const int r = FreeRecord(5);
    EXPECT_EQ(r, 0x728);
    EXPECT_EQ(image.GetWord(r), c.rxCode);
    EXPECT_EQ(image.GetWord(r + 2), c.txCode);
    EXPECT_EQ(image.GetByte(r + 7) & 3, c.fine ? 3 : 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.Data() + r + 4), 3), "L1 ");
    ch.Load(kCatFree, 5);
    EXPECT_EQ(ch.rxHz, c.hz);
    EXPECT_EQ(ch.txHz, c.hz);
  }
}

TEST(FreeChannelCodeTest, CodesOutsideSixteenBitsAreHeldAtTheEnds) {
  // Below the receive base and beyond the top of the code range: held, not
  // wrapped into a plausible but wrong frequency.
  EXPECT_EQ(EncodeFreeRx(10'000'000).code, 0);
  EXPECT_EQ(EncodeFreeRx(900'000'000).code, 0xFFFF);
  EXPECT_EQ(EncodeFreeTx(900'000'000).code, 0xFFFF);
  EXPECT_EQ(DecodeFreeRx(0xFFFF, false), 0xFFFFu * 12'500 + 21'700'000);
  EXPECT_EQ(DecodeFreeTx(0xFFFF, true), 0xFFFFu * 6'250);
}

TEST_F(DatChTest, FreeChannelStepBitsAreIndependentAndUpperBitsKept) {
  const int r = FreeRecord(69);
  image.SetByte(r + 7, 0xFC);
  ch.Load(kCatFree, 69);
  ch.rxHz = 156'031'250;  // fine
  ch.txHz = 160'625'000;  // coarse
  ch.Store();
  EXPECT_EQ(image.GetByte(r + 7), 0xFC | kFreeRxFine);
}

TEST_F(DatChTest, FreeChannelSimplexBitFollowsFrequenciesInAllPlans) {
  for (int slot = 0; slot < kPlanCount; ++slot) image.SetByte(PlanByte(slot, 348 + 3), 0x80);
  ch.Load(kCatFree, 3);
  ch.rxHz = ch.txHz = 157'850'000;
  ch.Store();
  for (int slot = 0; slot < kPlanCount; ++slot) EXPECT_EQ(image.GetByte(PlanByte(slot, 351)), 0x82);
  ch.txHz = 157'875'000;
  ch.Store();
  for (int slot = 0; slot < kPlanCount; ++slot) EXPECT_EQ(image.GetByte(PlanByte(slot, 351)), 0x80);
}

TEST_F(DatChTest, InvalidKeysAndBlankViews) {
  image.Fill(0x5A);
  const cmcEeprom before = image;
  const struct {
    unsigned category;
    int index;
  } keys[] = {{kCatInt, 418}, {kCatInt, -1}, {kCatWx, 10}, {kCatFree, 70}, {0, 0}, {7, 0}};
  for (const auto& k : keys) {
    ch.Load(k.category, k.index);
    EXPECT_EQ(ch.category, k.category);
    EXPECT_EQ(ch.index, k.index);
    EXPECT_EQ(ch.state, datCh::kStInUse);
    ch.attr = datCh::kAtInhibit;
    ch.acFlags = datCh::kAcP;
    ch.Store();
  }
  EXPECT_TRUE(image.Equals(before));

  datCh blank;
  blank.Blank();
  EXPECT_EQ(blank.state, datCh::kStRxUnset | datCh::kStTxUnset);
  EXPECT_EQ(blank.attr, 0u);

  // A blank free channel keeps the record's frequencies rather than
  // encoding a zero frequency below the receive base.
  blank.Bind(&image);
  blank.category = kCatFree;
  blank.index = 0;
  blank.Store();
  EXPECT_EQ(image.GetWord(FreeRecord(0)), 0x5A5A);
  EXPECT_EQ(image.GetWord(FreeRecord(0) + 2), 0x5A5A);
}

TEST(ChannelIndexTextTest, DisplayTable) {
  cmcEeprom image(kImageSize);
  const char name[3] = {'F', '2', 'A'};
  image.WriteBlock(FreeRecord(69) + 4, name, 3);
  const struct {
    int index;
    const char* text;
  } cases[] = {
      {0, "0  "},    {1, "0A"},     {32, "16  "},  {33, "16A"},   {233, "116A"}, {234, "1001"},
      {261, "1028"}, {262, "1060"}, {290, "1088"}, {291, "2001"}, {318, "2028"}, {319, "2060"},
      {347, "2088"}, {348, " "},    {417, "F2A "}, {418, ""},     {-1, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ChannelIndexText(image, c.index), c.text) << c.index;
  for (int i = 234; i < 348; ++i) EXPECT_EQ(FourDigitIndex(FourDigitChannel(i)), i);
  EXPECT_EQ(FourDigitIndex(1029), -1);
  EXPECT_EQ(FourDigitIndex(2089), -1);
}

TEST(NumericTest, ChecksumAndDigitPairs) {
  const std::uint8_t five[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(numeric::Checksum(five, 5), 0xF0);
  const std::uint8_t wrap[] = {0xFF, 0xFF, 0x02};  // sum 0x200: low byte 0
  EXPECT_EQ(numeric::Checksum(wrap, 3), 0xFF);

  std::uint8_t id[5] = {12, 34, 56, 78, 90};
  EXPECT_TRUE(numeric::DigitPairsValid(id, 5));
  EXPECT_EQ(numeric::Digit(id, 0), 1);
  EXPECT_EQ(numeric::Digit(id, 1), 2);
  EXPECT_EQ(numeric::Digit(id, 9), 0);
  numeric::SetDigit(id, 3, 7);
  EXPECT_EQ(id[1], 37);
  numeric::SetDigit(id, 8, 4);
  EXPECT_EQ(id[4], 40);
  id[4] = 100;
  EXPECT_FALSE(numeric::DigitPairsValid(id, 5));
  EXPECT_TRUE(numeric::DigitCountValid(id, 8));   // the fifth byte is not part of 8 digits
  EXPECT_FALSE(numeric::DigitCountValid(id, 9));  // but is of 9
  std::uint8_t bad = 0xFF;
  numeric::SetDigit(&bad, 1, 3);
  EXPECT_LE(bad, 99);
}

}  // namespace
