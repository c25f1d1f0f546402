// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_cable.h"

namespace sim {

void Cable::FromProgram(const std::uint8_t* bytes, std::size_t n) {
  // Unplugged: neither the echo nor the radio.
  if (options_.fault == Fault::NoEcho) return;
  for (std::size_t i = 0; i < n; ++i, ++count_) {
    // Once the line is cut the radio hears no more of what was sent.
    if (line_.Cut()) return;
    std::uint8_t echo = bytes[i];
    if (options_.fault == Fault::WrongEcho && count_ == options_.At()) {
      echo ^= 0x01;
      log_.Line("fault: wrong echo of byte " + std::to_string(count_));
    }
    line_.Send(Bytes{echo});
    radio_.Receive(bytes[i]);
  }
}

}  // namespace sim
