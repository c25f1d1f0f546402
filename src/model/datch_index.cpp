// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/datch_index.h"

#include <cstdio>

#include "model/eeprom.h"
#include "model/memory_map.h"

using namespace memmap;

namespace {
struct FourDigitBlock {
  int firstIndex;
  int lastIndex;
  int firstNumber;
};
constexpr FourDigitBlock kBlocks[] = {
    {kFourDigit1000, kFourDigit1060 - 1, 1001},
    {kFourDigit1060, kFourDigit2000 - 1, 1060},
    {kFourDigit2000, kFourDigit2060 - 1, 2001},
    {kFourDigit2060, kFreeIndexBase - 1, 2060},
};
}  // namespace

int FourDigitChannel(int index) {
  for (const FourDigitBlock& b : kBlocks)
    if (index >= b.firstIndex && index <= b.lastIndex)
      return b.firstNumber + (index - b.firstIndex);
  return 0;
}

int FourDigitIndex(int number) {
  for (const FourDigitBlock& b : kBlocks) {
    const int last = b.firstNumber + (b.lastIndex - b.firstIndex);
    if (number >= b.firstNumber && number <= last) return b.firstIndex + (number - b.firstNumber);
  }
  return -1;
}

std::string ChannelIndexText(const cmcEeprom& image, int index) {
  char text[16];
  if (index < 0 || index >= kPlanEntries) return {};
  if (index < kClassicEnd) {
    std::snprintf(text, sizeof text, "%d%s", index / 2, (index & 1) ? "A" : "  ");
    return text;
  }
  if (index < kFreeIndexBase) {
    std::snprintf(text, sizeof text, "%d", FourDigitChannel(index));
    return text;
  }
  // The name has no terminator in the image; a zero byte ends it early.
  std::string name;
  const int record = FreeRecord(index - kFreeIndexBase);
  for (int i = 0; i < kFreeNameLength; ++i) {
    if (!image.IsValidAddress(record + 4 + i)) break;
    const char c = static_cast<char>(image.GetByte(record + 4 + i));
    if (c == '\0') break;
    name += c;
  }
  return name + " ";
}
