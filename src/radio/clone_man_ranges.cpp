#include "radio/clone_man_ranges.h"

#include <array>

namespace cloneman {

RangeList ReadRanges() { return {{kReadFirst, kReadLast}}; }

RangeList WriteRanges(bool maker, bool withDealer, bool withExtra) {
  RangeList list;
  list.push_back({kReadFirst, maker ? kMakerLast : kBasicLast});
  if (maker || withDealer) list.push_back({kDealerFirst, kDealerLast});
  if (withExtra) list.push_back({kExtraFirst, kExtraLast});
  return list;
}

int TotalBytes(const RangeList& ranges) {
  int total = 0;
  for (const clsAddrRange& r : ranges) {
    if (r.IsTerminator()) break;
    total += r.last - r.first + 1;
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
  std::array<std::uint8_t, kTemplateSize> block{};
  block[kTemplateMarkOffset] = 0x01;
  block[kTemplateEndOffset] = 0xFE;
  image.WriteBlock(kTemplateFirst, block.data(), kTemplateSize);
}

}  // namespace cloneman
