// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/memory_map.h"

#include "model/eeprom.h"

namespace memmap {

bool PlanOn(const cmcEeprom& image, unsigned plan) {
  const auto bit = [&image](int address, int n) {
    return ((image.GetByte(address) >> n) & 1) != 0;
  };
  switch (plan) {
    case kCatUsa: return bit(kFlags972, 0);
    case kCatInt: return bit(kFlags973, 1);
    case kCatCan: return bit(kFlags972, 2);
    case kCatWx: return bit(kFlags972, 1);
    default: return false;
  }
}

}  // namespace memmap
