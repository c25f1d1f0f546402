// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/font_value.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "platform/system_language.h"

namespace platform {

int MulDivRound(int a, int b, int c) {
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  // Capped at INT_MAX either way: a damaged definition may ask for a size of
  // billions of points, and heights and sizes are negated into each other.
  const std::int64_t magnitude =
      std::min<std::int64_t>((std::llabs(product) + std::llabs(c) / 2) / std::llabs(c), INT_MAX);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

FontValue::FontValue() : face(DefaultFaceName()) { SetSize(8); }

}  // namespace platform
