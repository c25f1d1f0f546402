// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "model/datch.h"
#include "model/eeprom.h"
#include "model/image_checks.h"
#include "model/memory_map.h"
#include "model/normalise.h"
#include "model/numeric.h"

using namespace memmap;

namespace {

// An image of all `fill` with a distinct initial image, so that every byte
// shows whether it came from the image or from the initial one.
struct Pair {
  explicit Pair(std::uint8_t imageFill = 0x00, std::uint8_t initialFill = 0xFF)
      : image(kImageSize), initial(kImageSize) {
    image.Fill(imageFill);
    initial.Fill(initialFill);
  }
  cmcEeprom image;
  cmcEeprom initial;
};

TEST(NormaliseTest, ModeDecidesWhichDerivedValuesAreRefreshed) {
  struct Row {
    const char* what;
    int address;
    int mode0;  // expected value after mode 0
    int mode1;  // expected value after mode 1
  };
  // Image: P words at 968 point at index 5 (as bytes 05 00), weather
  // channels 0 and 1 inhibited, 973 bit 0 set, all else 0x11.
  const Row rows[] = {
      {"saved P word, low", 0x940, 0x11, 0x05},  {"saved P word, high", 0x941, 0x11, 0x00},
      {"saved P word, last", 0x947, 0x11, 0x00}, {"first usable weather", 0x948, 0x11, 0x02},
      {"weather copy", 0xEC0, 0x11, 0x02},       {"94B from initial", 0x94B, 0x11, 0xEE},
      {"94C from initial", 0x94C, 0x11, 0xEE},   {"94D from 973 bit 0", 0x94D, 0x11, 0x01},
      {"94D copy", 0xEC1, 0x11, 0x01},           {"94E from initial", 0x94E, 0xEE, 0xEE},
      {"950 from initial", 0x950, 0xEE, 0xEE},   {"951 is nobody's", 0x951, 0x11, 0x11},
  };
  for (int mode : {0, 1}) {
    Pair p(0x11, 0xEE);
    for (int k = 0; k < kPlanCount; ++k) p.image.SetWord(kPWords + 2 * k, 5);
    p.image.SetWord(kWxBits, 0x0003);
    p.image.SetByte(kFlags973, 0x01);
    p.initial.SetByte(kFlags973, 0x01);
    NormaliseImage(p.image, p.initial, mode, 1);
    for (const Row& r : rows)
      EXPECT_EQ(p.image.GetByte(r.address), mode == 0 ? r.mode0 : r.mode1)
          << r.what << ", mode " << mode;
  }
}

TEST(NormaliseTest, AllWeatherChannelsInhibitedStoresZero) {
  Pair p(0x11, 0x11);
  p.image.SetWord(kWxBits, 0x03FF);
  NormaliseImage(p.image, p.initial, kNormaliseBeforeSave, 1);
  EXPECT_EQ(p.image.GetByte(kFirstWx), 0);
  EXPECT_EQ(p.image.GetByte(kFirstWxCopy), 0);
}

TEST(NormaliseTest, ModelGroupsDecideWhichSettingBitsComeFromInitial) {
  // Masks of the bits taken from the initial image, per byte, per model.
  struct Row {
    int model;
    std::uint8_t b952, b953, b955, b972, b973, b974, b975, b988;
    std::uint8_t b94A;  // whole byte: from initial (FF) or from 972 bit 0 (1)
  };
  const Row rows[] = {
      // 0: group A, the first USA model.
      {0, 0x00, 0x20, 0x20, 0x40, 0x02, 0x57, 0x40, 0x17, 0x01},
      // 1 and 3: group E.
      {1, 0x10, 0x20, 0x20, 0x42, 0x02, 0x90, 0x40, 0x00, 0xFF},
      {3, 0x10, 0x20, 0x20, 0x42, 0x02, 0x90, 0x40, 0x00, 0xFF},
      // 5: group A.
      {5, 0x00, 0x20, 0x20, 0x40, 0x02, 0xD7, 0x40, 0x17, 0xFF},
      // 6: group A, USA plan rule for 94A.
      {6, 0x00, 0x20, 0x20, 0x40, 0x02, 0xD7, 0x40, 0x17, 0x01},
      // 8: groups A and S.
      {8, 0x00, 0x20, 0x20, 0x40, 0x01, 0xD7, 0x40, 0x17, 0xFF},
      // 9: group S.
      {9, 0x10, 0x20, 0x20, 0x42, 0x01, 0xD0, 0x40, 0x00, 0xFF},
      // 12: no group.
      {12, 0x10, 0x20, 0x20, 0x42, 0x02, 0xD0, 0x40, 0x00, 0xFF},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "model " << r.model);
    Pair p(0x00, 0xFF);
    NormaliseImage(p.image, p.initial, kNormaliseAfterLoad, r.model);
    EXPECT_EQ(p.image.GetByte(0x952), r.b952);
    EXPECT_EQ(p.image.GetByte(0x953), r.b953);
    EXPECT_EQ(p.image.GetByte(0x955), r.b955);
    EXPECT_EQ(p.image.GetByte(0x972), r.b972);
    EXPECT_EQ(p.image.GetByte(0x973), r.b973);
    EXPECT_EQ(p.image.GetByte(0x974), r.b974);
    EXPECT_EQ(p.image.GetByte(0x975), r.b975);
    EXPECT_EQ(p.image.GetByte(0x988), r.b988);
    EXPECT_EQ(p.image.GetByte(0x94A), r.b94A);
    EXPECT_EQ(p.image.GetByte(0x949), 0xFF);
    EXPECT_EQ(p.image.GetByte(kModelByte), r.model);
  }
  // With the USA plan on, models 0 and 6 store 0 in 94A.
  Pair p(0x00, 0xFF);
  p.image.SetByte(kFlags972, 0x01);
  NormaliseImage(p.image, p.initial, kNormaliseAfterLoad, 6);
  EXPECT_EQ(p.image.GetByte(0x94A), 0);
}

TEST(NormaliseTest, ChannelBytesKeepTheUsersBitsAndTakeTheRestFromInitial) {
  Pair p(0x00, 0x00);
  for (int slot = 0; slot < kPlanCount; ++slot) {
    p.image.SetByte(PlanByte(slot, 32), 0xFF);  // every bit set
    p.initial.SetByte(PlanByte(slot, 32), 0x00);
    p.image.SetByte(PlanByte(slot, 33), 0x00);  // A channel, nothing set
    p.initial.SetByte(PlanByte(slot, 33), 0x19);
  }
  NormaliseImage(p.image, p.initial, kNormaliseAfterLoad, 1);
  for (int slot = 0; slot < kPlanCount; ++slot) {
    EXPECT_EQ(p.image.GetByte(PlanByte(slot, 32)), 0xE6) << slot;
    EXPECT_EQ(p.image.GetByte(PlanByte(slot, 33)), 0x19 | kChSimplex) << slot;
  }
}

TEST(NormaliseTest, FreeChannelsAreReencodedAndTheirSimplexBitsFollow) {
  Pair p(0x00, 0x00);
  const int r = FreeRecord(2);
  // 156.025 MHz receive, written with the fine step although the coarse one
  // holds it; transmit the same frequency with the coarse step.
  p.image.SetWord(r, 21'492);
  p.image.SetWord(r + 2, 12'482);
  p.image.SetByte(r + 7, kFreeRxFine | 0xFC);
  p.initial.SetByte(r + 7, 0xA8);
  NormaliseImage(p.image, p.initial, kNormaliseAfterLoad, 1);
  EXPECT_EQ(p.image.GetWord(r), 10'746);
  EXPECT_EQ(p.image.GetWord(r + 2), 12'482);
  EXPECT_EQ(p.image.GetByte(r + 7), 0xA8);
  for (int slot = 0; slot < kPlanCount; ++slot)
    EXPECT_EQ(p.image.GetByte(PlanByte(slot, 350)), kChSimplex);
}

TEST(NormaliseTest, PChannelIsSpelledOutInOneOfThreeForms) {
  struct Case {
    int index;
    int classic, fourDigit, free;
  };
  const Case cases[] = {
      {32, 32, 0xFFFF, 0xFF},  {233, 233, 0xFFFF, 0xFF}, {234, 0xFF, 1001, 0xFF},
      {319, 0xFF, 2060, 0xFF}, {347, 0xFF, 2088, 0xFF},  {348, 0xFF, 0xFFFF, 0},
      {417, 0xFF, 0xFFFF, 69}, {-1, 0xFF, 0xFFFF, 0xFF}, {418, 0xFF, 0xFFFF, 0xFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    Pair p(0x00, 0x00);
    p.image.SetWord(kPWords + 2 * 3, static_cast<std::uint16_t>(c.index));  // SUV slot
    NormaliseImage(p.image, p.initial, kNormaliseBeforeSave, 9);
    EXPECT_EQ(p.image.GetByte(kPClassic + 3), c.classic);
    EXPECT_EQ(p.image.GetWord(kPFourDigit + 6), c.fourDigit);
    EXPECT_EQ(p.image.GetByte(kPFree + 3), c.free);
    EXPECT_EQ(p.image.GetByte(kPClassic + 0), 0) << "other slots keep P = 0";
  }
}

TEST(NormaliseTest, AtisIdentity) {
  struct Case {
    const char* what;
    int model;
    std::uint8_t id[6];
    bool fromInitial;
    int missing;
  };
  const std::uint8_t initialId[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const Case cases[] = {
      {"valid identity stays", 3, {12, 34, 56, 78, 90, 0}, false, 0},
      {"bad checksum", 3, {12, 34, 56, 78, 90, 0x12}, true, 1},
      {"byte above 99", 1, {12, 34, 100, 78, 90, 0}, true, 0},
      {"no identity, ATIS model", 4, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, true, 1},
      {"no identity, other model", 5, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, true, 0},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.what);
    Pair p(0x00, 0x00);
    if (!c.fromInitial) c.id[5] = numeric::Checksum(c.id, 5);
    p.image.WriteBlock(kAtisId, c.id, 6);
    p.initial.WriteBlock(kAtisId, initialId, 6);
    p.initial.SetWord(kFromInitial986, 0xBEEF);
    NormaliseImage(p.image, p.initial, kNormaliseAfterLoad, c.model);
    std::uint8_t got[6];
    p.image.ReadBlock(kAtisId, got, 6);
    if (c.fromInitial)
      EXPECT_EQ(0, std::memcmp(got, initialId, 6));
    else
      EXPECT_EQ(0, std::memcmp(got, c.id, 6));
    EXPECT_EQ(p.image.GetByte(kIdMissing), c.missing);
    EXPECT_EQ(p.image.GetWord(kFromInitial986), 0xBEEF);
  }
}

TEST(NormaliseTest, DealerBlockVersionAndActiveCopy) {
  struct Case {
    const char* what;
    std::uint8_t imageVersion[2];
    std::uint8_t initialVersion[2];
    bool replaced;
  };
  const Case cases[] = {
      {"older image block is replaced", {0x01, 0x00}, {0x01, 0x02}, true},
      {"newer image block stays", {0x02, 0x00}, {0x01, 0x02}, false},
      {"same version stays", {0x01, 0x02}, {0x01, 0x02}, false},
      {"non-BCD version counts as 0", {0x01, 0xA0}, {0x00, 0x01}, true},
      {"non-BCD high byte counts as 0", {0xA1, 0x00}, {0x00, 0x01}, true},
      {"initial version 0 never replaces", {0xFF, 0xFF}, {0x00, 0x00}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pair p(0x00, 0x00);
    for (int i = 0; i < kDealerSize; ++i) {
      p.image.SetByte(kDealerBlock + i, 0x33);
      p.initial.SetByte(kDealerBlock + i, 0x44);
    }
    p.image.WriteBlock(kDealerVersion, c.imageVersion, 2);
    p.initial.WriteBlock(kDealerVersion, c.initialVersion, 2);
    NormaliseImage(p.image, p.initial, kNormaliseAfterLoad, 1);
    EXPECT_EQ(p.image.GetByte(kDealerBlock), c.replaced ? 0x44 : 0x33);
    // The active copy is the block with bit 7 of its next-to-last byte set
    // and its own checksum in the last.
    for (int i = 0; i < kDealerSize - 2; ++i)
      ASSERT_EQ(p.image.GetByte(kDealerActive + i), p.image.GetByte(kDealerBlock + i)) << i;
    EXPECT_EQ(p.image.GetByte(kDealerActiveMarker),
              p.image.GetByte(kDealerBlock + kDealerSize - 2) | 0x80);
    EXPECT_EQ(p.image.GetByte(kDealerActiveChecksum),
              numeric::Checksum(p.image, kDealerActive, kDealerSize - 1));
  }
}

TEST(NormaliseTest, IdentityBytesAndUnnamedBytes) {
  Pair p(0x5A, 0xA5);
  const char* sig = kSignatureText;
  p.initial.WriteBlock(kSignature, sig, kSignatureLength);
  for (int i = 0; i < kCopyLength; ++i)
    p.image.SetByte(kCopySource + i, static_cast<std::uint8_t>(i));
  NormaliseImage(p.image, p.initial, kNormaliseAfterLoad, 7);

  EXPECT_EQ(p.image.GetByte(kImageFlags), 0x41);  // 0x5A: bits 4..1 cleared, bit 0 set
  EXPECT_EQ(p.image.GetByte(kModelByte), 7);
  EXPECT_TRUE(HasMakerSignature(p.image));
  EXPECT_TRUE(ModelByteAcceptable(p.image));
  for (int a : {0xA02, 0xA09, 0xA10, 0xA11}) EXPECT_EQ(p.image.GetByte(a), 0xA5) << std::hex << a;
  for (int i = 0; i < kCopyLength; ++i) EXPECT_EQ(p.image.GetByte(kCopyTarget + i), i);
  // Bytes no rule names are carried as they are.
  for (int a :
       {0x960, 0x967, 0x9C0, 0x9CF, 0xA00, 0xA01, 0xA0A, 0xA12, 0xA3F, 0xCF0, 0xDAF, 0xEC2, 0xED3})
    EXPECT_EQ(p.image.GetByte(a), 0x5A) << std::hex << a;
}

TEST(NormaliseTest, RunningTwiceChangesNothingMore) {
  for (int mode : {0, 1}) {
    for (int model = 0; model < kModelTypes; ++model) {
      cmcEeprom image(kImageSize), initial(kImageSize);
      for (int a = 0; a < kImageSize; ++a) {
        image.SetByte(a, static_cast<std::uint8_t>(a * 7 + 3));
        initial.SetByte(a, static_cast<std::uint8_t>(a * 13 + 1));
      }
      NormaliseImage(image, initial, mode, model);
      const cmcEeprom once = image;
      NormaliseImage(image, initial, mode, model);
      EXPECT_TRUE(image.Equals(once)) << "mode " << mode << " model " << model;
    }
  }
}

TEST(NormaliseTest, AnImageNormalisedAgainstItselfActsAsAgainstACopy) {
  for (int mode : {0, 1}) {
    cmcEeprom image(kImageSize);
    for (int a = 0; a < kImageSize; ++a) image.SetByte(a, static_cast<std::uint8_t>(a * 11 + 5));
    cmcEeprom expected = image;
    const cmcEeprom copy = image;
    NormaliseImage(expected, copy, mode, 4);
    NormaliseImage(image, image, mode, 4);
    EXPECT_TRUE(image.Equals(expected)) << mode;
  }
}

TEST(ImageChecksTest, SignatureAndModelByte) {
  cmcEeprom image(kImageSize);
  EXPECT_FALSE(HasMakerSignature(image));
  image.WriteBlock(kSignature, "Zelm Inc", 8);
  EXPECT_TRUE(HasMakerSignature(image));
  image.SetByte(kSignature + 7, 'C');
  EXPECT_FALSE(HasMakerSignature(image));

  for (int m : {0, 7, 8, 12}) {
    image.SetByte(kModelByte, static_cast<std::uint8_t>(m));
    EXPECT_TRUE(ModelByteAcceptable(image)) << m;
  }
  for (int m : {13, 0xFF}) {
    image.SetByte(kModelByte, static_cast<std::uint8_t>(m));
    EXPECT_FALSE(ModelByteAcceptable(image)) << m;
  }
  cmcEeprom tiny(4);
  EXPECT_FALSE(HasMakerSignature(tiny));
  EXPECT_FALSE(ModelByteAcceptable(tiny));
}

}  // namespace
