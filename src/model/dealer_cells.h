// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two dealer settings whose stored form is not what the dealer types:
// the drain-beat tone, kept as a timer divisor and shown in Hz, and the
// forced termination time, kept in units of five minutes.

#include <cstdint>

#include "model/editor_common.h"

class cmcEeprom;

namespace settings {
struct Rule;
}

namespace dealer {

// Clock of the tone timer: Hz = kDrainbeatClock / (2 * divisor).
constexpr std::uint32_t kDrainbeatClock = 4'915'200;

int DrainbeatHz(std::uint16_t divisor);
std::uint16_t DrainbeatDivisor(int hz);

void EditDrainbeat(const settings::Rule& rule, cmcEeprom& image, const editor::Input& in,
                   editor::Output& out);
void EditForcedTermination(const settings::Rule& rule, cmcEeprom& image, const editor::Input& in,
                           editor::Output& out);

}  // namespace dealer
