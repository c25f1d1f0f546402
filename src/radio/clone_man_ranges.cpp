// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/clone_man_ranges.h"

#include <array>

#include "model/memory_map.h"

using namespace memmap;

namespace cloneman {

clsAddrRangeList ReadRanges() { return {{kFileFirst, kFileLast}}; }

clsAddrRangeList WriteRanges(bool maker, bool withDealer, bool withExtra) {
  clsAddrRangeList list;
  list.push_back({kWriteFirst, maker ? kMakerWriteLast : kBasicWriteLast});
  if (maker || withDealer) list.push_back({kDealerActive, kDealerActiveLast});
  if (withExtra) list.push_back({kExtraBlock, kExtraBlockLast});
  return list;
}

int TotalBytes(const clsAddrRangeList& ranges) {
  int total = 0;
  for (const clsAddrRange& r : ranges) {
    if (r.IsTerminator()) break;
    total += r.Bytes();
  }
  return total;
}

std::uint16_t BcdVersion(std::uint8_t high, std::uint8_t low) {
  for (std::uint8_t b : {high, low}) {
    if ((b >> 4) > 9 || (b & 0x0F) > 9) return 0;
  }
  return static_cast<std::uint16_t>(high << 8 | low);
}

void ApplyExtraBlockTemplate(cmcEeprom& image) {
  std::array<std::uint8_t, kExtraTemplateSize> block{};
  block[kTemplateMarkOffset] = 0x01;
  block[kTemplateEndOffset] = 0xFE;
  image.WriteBlock(kExtraBlock, block.data(), kExtraTemplateSize);
}

}  // namespace cloneman
