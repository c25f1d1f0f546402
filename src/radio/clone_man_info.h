// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the radio says about itself in an information reply, and the checks
// this model makes on it and on an image read from the radio. The record is
// kept by the document after every accepted information exchange; the
// information cells show it.

#include <array>
#include <cstdint>
#include <string>

#include "model/eeprom.h"
#include "radio/clone_drv_result.h"
#include "radio/clone_man_ranges.h"

class cmcRadioInfo {
 public:
  static constexpr int kPayloadBytes = 28;

  // Value 2 of the reply, then the first 28 payload bytes.
  std::uint16_t value2 = 0;
  std::array<std::uint8_t, kPayloadBytes> payload{};

  int RevisionMajor() const { return payload[1] >> 4; }
  int RevisionMinor() const { return payload[1] & 0x0F; }
  // The 16 comment characters as the radio sent them.
  std::string Comment() const;
  std::uint8_t StatusFlags() const { return payload[19]; }
  bool ReadForbidden() const { return (payload[19] & 0x01) != 0; }
  bool OverTemperature() const { return (payload[19] & 0x06) != 0; }
  bool DcVoltage() const { return (payload[19] & 0x08) != 0; }
  bool OverVoltage() const { return (payload[19] & 0x10) != 0; }
  // Row of the battery text: bit 1 of the battery byte.
  int BatteryRow() const { return (payload[20] >> 1) & 1; }
  int ModelType() const { return payload[21]; }
  std::uint16_t ExtraId() const {
    return static_cast<std::uint16_t>(payload[22] << 8 | payload[23]);
  }
  std::uint16_t ExtraVersion() const { return cloneman::BcdVersion(payload[24], payload[25]); }
  std::uint16_t DealerVersion() const { return cloneman::BcdVersion(payload[26], payload[27]); }
};

namespace cloneman {

constexpr std::uint16_t kModelCode = 0x5816;

// The information handler's test of a successful reply: the model code and
// value 2 = 1, and a payload of at least 28 bytes whose byte 0 is its own
// length (11 otherwise); then byte 2 must be 1 (14). The record is filled
// whenever the first test passes, as the radio did answer.
CloneStatus CheckInformation(std::uint32_t value1, std::uint32_t value2,
                             const std::uint8_t* payload, int length, cmcRadioInfo* info);

// The read handler's test: the maker signature (15); every image that
// carries it is acceptable to this model.
CloneStatus CheckReadImage(const cmcEeprom& image);

// Whether a radio of radioModel may receive an image made for
// currentModel: the SUV family (8..11) and the rest never mix.
bool WriteModelMatches(int radioModel, int currentModel);

// The write list for a radio: the dealer range when in maker mode or when
// the radio's dealer block is older than the initial image's; the extra
// block when the copy about to be sent carries the radio's extra block
// identifier with a newer version.
clsAddrRangeList WriteRangesFor(const cmcRadioInfo& info, const cmcEeprom& sendCopy,
                                const cmcEeprom& initial, bool maker);

}  // namespace cloneman
