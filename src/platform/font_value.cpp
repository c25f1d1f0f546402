#include "platform/font_value.h"

#include <cstdint>
#include <cstdlib>

#include "platform/system_language.h"

namespace platform {

int MulDivRound(int a, int b, int c) {
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (std::llabs(product) + std::llabs(c) / 2) / std::llabs(c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

FontValue::FontValue() : face(DefaultFaceName()) { SetSize(8); }

}  // namespace platform
