// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Frequency editor of the free channels. Values are in Hz; a frequency the
// radio cannot tune (no point of its channel raster near what was typed) is
// refused and the old value stays.

#include <cstdint>
#include <optional>
#include <string>

#include "model/editor_common.h"

namespace editor {

constexpr std::uint32_t kFreqMin = 100'000'000;
constexpr std::uint32_t kFreqMax = 199'990'000;

// The raster point for an entered frequency, or none when the nearest point
// above it lies beyond the precision the user typed.
std::optional<std::uint32_t> SnapToRaster(std::uint32_t hz);

// "%d.%05d" in MHz.
std::string FrequencyText(std::uint32_t hz);

struct Frequency {
  std::uint32_t hz = 0;
  bool set = false;
};

// Edits the receive (transmit == false) or transmit frequency of a channel.
// A taken receive frequency also moves the transmit frequency when the
// channel was simplex. Sets rightAligned / centred for the cell's layout.
struct FrequencyResult {
  bool centred = false;  // the transmit cell shows "<-"
};
FrequencyResult EditFrequency(bool transmit, Frequency& rx, Frequency& tx, const Input& in,
                              Output& out);

}  // namespace editor
