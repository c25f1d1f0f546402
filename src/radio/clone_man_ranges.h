#pragma once
// The address ranges a clone exchange moves, and the small rules that pick
// them for a write. A write never sends more than the radio needs: the
// dealer area only in maker mode or when the radio's dealer block is older
// than ours, the extra block only when its identifier matches the radio's
// and ours is newer.

#include <cstdint>

#include "model/eeprom.h"
#include "radio/clone_drv_result.h"

namespace cloneman {

using RangeList = clsAddrRangeList;

constexpr int kReadFirst = 0x000;
constexpr int kReadLast = 0xCEF;
constexpr int kBasicLast = 0x9FF;
constexpr int kMakerLast = 0xA3F;
constexpr int kDealerFirst = 0xA40;
constexpr int kDealerLast = 0xB7F;
constexpr int kExtraFirst = 0xCF0;
constexpr int kExtraLast = 0xDAF;

// The extra block template: 188 bytes laid over 0xCF0..0xDAB of the image
// that is sent.
constexpr int kTemplateFirst = 0xCF0;
constexpr int kTemplateSize = 188;
constexpr int kTemplateMarkOffset = 182;  // 0xDA6 = 0x01
constexpr int kTemplateEndOffset = 187;   // 0xDAB = 0xFE
// Where the sent copy keeps the extra block's identity.
constexpr int kExtraIdAddr = 0xDA6;       // 2 bytes, compared with payload 22..23
constexpr int kExtraVersionAddr = 0xDA8;  // 2 bytes, high byte first

RangeList ReadRanges();
// The write list for the three independent choices.
RangeList WriteRanges(bool maker, bool withDealer, bool withExtra);

// Sum of (last - first + 1): the bytes a read or write moves.
int TotalBytes(const RangeList& ranges);

// A BCD pair read high byte first, as a 16-bit value whose hex digits are
// the decimal digits; 0 when any digit is not decimal, so that a radio that
// reports garbage counts as the oldest version.
std::uint16_t BcdVersion(std::uint8_t high, std::uint8_t low);

void ApplyExtraBlockTemplate(cmcEeprom& image);

}  // namespace cloneman
