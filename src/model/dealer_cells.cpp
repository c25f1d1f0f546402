// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/dealer_cells.h"

#include "model/editor_integer.h"
#include "model/eeprom.h"
#include "model/settings_cells.h"

namespace dealer {

int DrainbeatHz(std::uint16_t divisor) {
  // A divisor of 0 would stop the timer; the radio then uses its lowest tone.
  if (divisor == 0) return 40;
  return static_cast<int>(kDrainbeatClock / (2u * divisor));
}

std::uint16_t DrainbeatDivisor(int hz) {
  if (hz < 1) hz = 1;
  return static_cast<std::uint16_t>(kDrainbeatClock / (2u * static_cast<unsigned>(hz)));
}

void EditDrainbeat(const settings::Rule& rule, cmcEeprom& image, const editor::Input& in,
                   editor::Output& out) {
  int hz = DrainbeatHz(image.GetWord(rule.address));
  editor::EditInteger({rule.minimum, rule.maximum, 0, 1, {}, false}, hz, in, out);
  if (out.changed) image.SetWord(rule.address, DrainbeatDivisor(hz));
  if (out.result != EvalResult::kOpenEditor) out.text += rule.suffix;
}

void EditForcedTermination(const settings::Rule& rule, cmcEeprom& image, const editor::Input& in,
                           editor::Output& out) {
  int minutes = image.GetByte(rule.address) * 5;
  editor::EditInteger({rule.minimum, rule.maximum, 0, 5, {}, false}, minutes, in, out);
  if (out.changed) image.SetByte(rule.address, static_cast<std::uint8_t>(minutes / 5));
  if (out.result == EvalResult::kOpenEditor) return;
  if (out.text == "0")
    out.text = "OFF";
  else
    out.text += rule.suffix;
}

}  // namespace dealer
