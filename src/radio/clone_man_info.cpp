// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/clone_man_info.h"

#include <algorithm>

#include "model/image_checks.h"
#include "model/memory_map.h"

std::string cmcRadioInfo::Comment() const {
  return std::string(reinterpret_cast<const char*>(&payload[3]), 16);
}

namespace cloneman {

CloneStatus CheckInformation(std::uint32_t value1, std::uint32_t value2,
                             const std::uint8_t* payload, int length, cmcRadioInfo* info) {
  if (value1 != kModelCode || value2 != 1) return CloneStatus::kInfoMismatch;
  if (payload == nullptr || length < cmcRadioInfo::kPayloadBytes || payload[0] != length) {
    return CloneStatus::kInfoMismatch;
  }
  if (info) {
    info->value2 = static_cast<std::uint16_t>(value2);
    std::copy_n(payload, cmcRadioInfo::kPayloadBytes, info->payload.begin());
  }
  return payload[2] == 1 ? CloneStatus::kOk : CloneStatus::kPayloadRefused;
}

CloneStatus CheckReadImage(const cmcEeprom& image) {
  return HasMakerSignature(image) ? CloneStatus::kOk : CloneStatus::kNoSignature;
}

bool WriteModelMatches(int radioModel, int currentModel) {
  return memmap::InGroupS(radioModel) == memmap::InGroupS(currentModel);
}

clsAddrRangeList WriteRangesFor(const cmcRadioInfo& info, const cmcEeprom& sendCopy,
                                const cmcEeprom& initial, bool maker) {
  const std::uint16_t ours = BcdVersion(initial.GetByte(memmap::kDealerVersion),
                                        initial.GetByte(memmap::kDealerVersion + 1));
  const bool dealer = info.DealerVersion() < ours;
  const bool sameExtra = sendCopy.GetByte(memmap::kExtraBlockId) == info.payload[22] &&
                         sendCopy.GetByte(memmap::kExtraBlockId + 1) == info.payload[23];
  const std::uint16_t copyVersion =
      static_cast<std::uint16_t>(sendCopy.GetByte(memmap::kExtraBlockVersion) << 8 |
                                 sendCopy.GetByte(memmap::kExtraBlockVersion + 1));
  const bool extra = sameExtra && copyVersion > info.ExtraVersion();
  return WriteRanges(maker, dealer, extra);
}

}  // namespace cloneman
