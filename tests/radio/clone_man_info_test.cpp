// SPDX-License-Identifier: GPL-3.0-or-later
// The information and read handlers' checks, the write model check, the
// progress figures.
#include <gtest/gtest.h>
#include "support/codes.h"

#include <cstring>
#include <vector>

#include "model/memory_map.h"
#include "radio/clone_drv_result.h"
#include "radio/clone_man_info.h"
#include "radio/progress_sink.h"

namespace {

std::vector<std::uint8_t> Payload(int length) {
  std::vector<std::uint8_t> p(static_cast<std::size_t>(length), 0);
  p[0] = static_cast<std::uint8_t>(length);
  p[1] = 0x12;
  p[2] = 1;
  std::memcpy(&p[3], "HELLO RADIO     ", 16);
  p[19] = 0x1F;
  p[20] = 0x02;
  p[21] = 9;
  return p;
}

TEST(CloneManInfo, InformationReplyChecks) {
  struct Case {
    const char* name;
    std::uint32_t v1, v2;
    int length;
    int lengthByte;  // -1: the true length
    int byte2;
    int status;
  };
  const Case cases[] = {
      {"accepted", 0x5816, 1, 28, -1, 1, 0},
      {"longer payload", 0x5816, 1, 40, -1, 1, 0},
      {"other model code", 0x5817, 1, 28, -1, 1, 11},
      {"value 2 zero", 0x5816, 0, 28, -1, 1, 11},
      {"short payload", 0x5816, 1, 27, -1, 1, 11},
      {"length byte wrong", 0x5816, 1, 28, 29, 1, 11},
      {"byte 2 not 1", 0x5816, 1, 28, -1, 2, 14},
  };
  for (const Case& c : cases) {
    auto p = Payload(c.length);
    if (c.lengthByte >= 0) p[0] = static_cast<std::uint8_t>(c.lengthByte);
    p[2] = static_cast<std::uint8_t>(c.byte2);
    cmcRadioInfo info;
    EXPECT_EQ(Num(cloneman::CheckInformation(c.v1, c.v2, p.data(), c.length, &info)), c.status)
        << c.name;
  }
}

TEST(CloneManInfo, RecordKeepsValue2AndTheFirst28Bytes) {
  auto p = Payload(30);
  p[28] = 0xAA;
  cmcRadioInfo info;
  ASSERT_EQ(Num(cloneman::CheckInformation(0x5816, 1, p.data(), 30, &info)), 0);
  EXPECT_EQ(info.value2, 1);
  EXPECT_EQ(info.RevisionMajor(), 1);
  EXPECT_EQ(info.RevisionMinor(), 2);
  EXPECT_EQ(info.Comment(), "HELLO RADIO     ");
  EXPECT_TRUE(info.ReadForbidden());
  EXPECT_TRUE(info.OverTemperature());
  EXPECT_TRUE(info.DcVoltage());
  EXPECT_TRUE(info.OverVoltage());
  EXPECT_EQ(info.BatteryRow(), 1);
  EXPECT_EQ(info.ModelType(), 9);
}

TEST(CloneManInfo, EmptyPayloadIsRefusedWithoutReadingIt) {
  cmcRadioInfo info;
  EXPECT_EQ(Num(cloneman::CheckInformation(0x5816, 1, nullptr, 0, &info)), 11);
}

TEST(CloneManInfo, ReadImageNeedsTheMakerSignature) {
  cmcEeprom image(memmap::kImageSize);
  EXPECT_EQ(cloneman::CheckReadImage(image), CloneStatus::kNoSignature);
  image.WriteBlock(memmap::kSignature, "Zelm Inc", 8);
  EXPECT_EQ(Num(cloneman::CheckReadImage(image)), 0);
  image.SetByte(memmap::kSignature + 7, 'C');
  EXPECT_EQ(cloneman::CheckReadImage(image), CloneStatus::kNoSignature);
  cmcEeprom tiny(16);
  EXPECT_EQ(cloneman::CheckReadImage(tiny), CloneStatus::kNoSignature);
}

TEST(CloneManInfo, SuvAndOtherModelsNeverMix) {
  EXPECT_TRUE(cloneman::WriteModelMatches(0, 7));
  EXPECT_TRUE(cloneman::WriteModelMatches(8, 11));
  EXPECT_TRUE(cloneman::WriteModelMatches(12, 3));
  EXPECT_FALSE(cloneman::WriteModelMatches(8, 7));
  EXPECT_FALSE(cloneman::WriteModelMatches(0, 9));
  EXPECT_FALSE(cloneman::WriteModelMatches(11, 12));
}

TEST(ProgressFigures, CellsOfTheReadList) {
  EXPECT_EQ(progress::FilledCells(0, 3312), 0);
  EXPECT_EQ(progress::FilledCells(3211, 3312), 31);
  EXPECT_EQ(progress::FilledCells(3212, 3312), 32);
  EXPECT_EQ(progress::FilledCells(3312, 3312), 32);
  EXPECT_EQ(progress::FilledCells(100, 0), 0);
  EXPECT_EQ(progress::CellWidth(256), 8);
  EXPECT_EQ(progress::CellWidth(255), 8);
  EXPECT_EQ(progress::CellWidth(254), 7);
}

}  // namespace
