// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The address ranges a clone exchange moves, and the small rules that pick
// them for a write. A write never sends more than the radio needs: the
// dealer area only in maker mode, the active dealer copy only in maker mode
// or when the radio's dealer block is older than ours, the extra block only
// when its identifier matches the radio's and ours is newer.

#include <cstdint>

#include "model/addr_range.h"
#include "model/eeprom.h"
#include "model/memory_map.h"

namespace cloneman {

// The extra block template: zero but for two marks, laid over the start of
// the extra block in the copy of the image that is sent. Its version, 0, is
// newer than no radio's, so with this template the extra block never goes out.
constexpr int kTemplateMarkOffset = memmap::kExtraBlockId - memmap::kExtraBlock;  // 0xDA6 := 0x01
constexpr int kTemplateEndOffset = memmap::kExtraTemplateSize - 1;                // 0xDAB := 0xFE

clsAddrRangeList ReadRanges();
// The write list for the three independent choices.
clsAddrRangeList WriteRanges(bool maker, bool withDealer, bool withExtra);

// The bytes a read or write moves.
int TotalBytes(const clsAddrRangeList& ranges);

// A BCD pair read high byte first, as a 16-bit value whose hex digits are
// the decimal digits; 0 when any digit is not decimal, so that a radio that
// reports garbage counts as the oldest version.
std::uint16_t BcdVersion(std::uint8_t high, std::uint8_t low);

void ApplyExtraBlockTemplate(cmcEeprom& image);

}  // namespace cloneman
