// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/hash.h"

std::uint32_t HashBucket(std::string_view key, std::uint32_t n) {
  const std::uint32_t half = n / 2;
  std::uint32_t h = 0;
  std::uint32_t s = half;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto c =
        static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(key[i])));
    h = 2 * h + s + c;
    // The terminating zero is even, so only a following byte can halve s.
    const unsigned char following = i + 1 < key.size() ? static_cast<unsigned char>(key[i + 1]) : 0;
    if (following & 1) {
      s /= 2;
      if (s == 0) s = half;
    }
  }
  return h % n;
}
