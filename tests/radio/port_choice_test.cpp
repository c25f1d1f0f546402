// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the port the user typed or picked, and the two lists the port
// dialog offers.
#include <gtest/gtest.h>

#include <algorithm>

#include "radio/port_choice.h"

namespace {

using portchoice::PortDevice;

TEST(PortChoice, TypedNumbers) {
  const std::pair<const char*, int> cases[] = {
      {" 7 ", 7}, {"256", 256}, {"257", 257}, {"0", 0},    {"", 0},
      {"abc", 0}, {"7a", 0},    {"-3", -3},   {"+12", 12}, {"99999999999", 0},
  };
  for (const auto& [text, number] : cases) {
    EXPECT_EQ(portchoice::ParseTypedNumber(text), number) << '"' << text << '"';
  }
}

TEST(PortChoice, ValidRange) {
  EXPECT_FALSE(portchoice::IsValidPort(0));
  EXPECT_TRUE(portchoice::IsValidPort(1));
  EXPECT_TRUE(portchoice::IsValidPort(256));
  EXPECT_FALSE(portchoice::IsValidPort(257));
  EXPECT_FALSE(portchoice::IsValidPort(-1));
}

TEST(PortChoice, ListedEntries) {
  const std::pair<const char*, int> cases[] = {
      {"COM7", 7},
      {"COM12", 12},
      {"3: Zelm USB-to-Serial Comm. Port (COM3)", 3},
      {"10: FTDI FT232R (COM10)", 10},
      {"COMX", 0},
      {"com5", 0},  // only upper-case COM is skipped
      {": nothing", 0},
  };
  for (const auto& [text, number] : cases) {
    EXPECT_EQ(portchoice::ParseListedNumber(text), number) << text;
  }
}

TEST(PortChoice, EachModeReadsItsEntry) {
  EXPECT_EQ(portchoice::ChosenPort(0, " 7 "), 7);
  EXPECT_EQ(portchoice::ChosenPort(1, "12"), 12);
  EXPECT_EQ(portchoice::ChosenPort(1, "3: x"), 0);  // typed text must be a number
  EXPECT_EQ(portchoice::ChosenPort(2, "3: Zelm USB-to-Serial Comm. Port (COM3)"), 3);
  EXPECT_EQ(portchoice::ChosenPort(2, "COM14"), 14);
}

TEST(PortChoice, DeviceNamesKeepDigitsPointAndMinus) {
  const std::pair<const char*, int> cases[] = {
      {"COM3", 3}, {"COM10", 10}, {"\\Device\\Serial2.6", 3}, {"COM", 0}, {"COM-", 0},
  };
  for (const auto& [text, number] : cases) {
    EXPECT_EQ(portchoice::NumberFromDeviceName(text), number) << text;
  }
}

TEST(PortChoice, NumberListIsNumericAndUnique) {
  EXPECT_EQ(portchoice::NumberList({10, 2, 9, 2, 1}),
            (std::vector<std::string>{"1", "2", "9", "10"}));
  EXPECT_TRUE(portchoice::NumberList({}).empty());
}

TEST(PortChoice, NameListOffersOnlyPresentPortsInNumericOrder) {
  const std::vector<PortDevice> devices = {
      {"COM10", "FTDI FT232R (COM10)"},
      {"COM9", "Prolific PL2303 (COM9)"},
      {"COM3", "Zelm USB-to-Serial Comm. Port (COM3)"},
      {"COM4", ""},               // no friendly name
      {"LPT1", "Printer port"},   // not a COM port
      {"COM5", "Absent (COM5)"},  // not in the device list
  };
  EXPECT_EQ(portchoice::NameList(devices, {3, 4, 9, 10}),
            (std::vector<std::string>{"3: Zelm USB-to-Serial Comm. Port (COM3)",
                                      "9: Prolific PL2303 (COM9)", "10: FTDI FT232R (COM10)"}));
}

TEST(PortChoice, IndexOfTheCurrentPort) {
  const std::vector<std::string> list = {"3: a", "9: b", "10: c"};
  EXPECT_EQ(portchoice::IndexOfPort(list, 10), 2);
  EXPECT_EQ(portchoice::IndexOfPort(list, 1), -1);
}

}  // namespace
