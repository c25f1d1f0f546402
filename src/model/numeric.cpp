// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/numeric.h"

#include "model/eeprom.h"

namespace numeric {

std::uint8_t Checksum(const std::uint8_t* bytes, int n) {
  unsigned sum = 0;
  for (int i = 0; i < n; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(~sum & 0xFF);
}

std::uint8_t Checksum(const cmcEeprom& image, int a, int n) {
  unsigned sum = 0;
  for (int i = 0; i < n; ++i) sum += image.GetByte(a + i);
  return static_cast<std::uint8_t>(~sum & 0xFF);
}

bool DigitPairsValid(const std::uint8_t* bytes, int n) {
  for (int i = 0; i < n; ++i)
    if (bytes[i] > 99) return false;
  return true;
}

bool DigitCountValid(const std::uint8_t* bytes, int digits) {
  return DigitPairsValid(bytes, (digits + 1) / 2);
}

int Digit(const std::uint8_t* bytes, int k) {
  const int b = bytes[k / 2];
  return (k % 2 == 0) ? b / 10 : b % 10;
}

void SetDigit(std::uint8_t* bytes, int k, int d) {
  const int b = bytes[k / 2];
  // The kept digit is taken modulo 10 so that the result is a valid pair
  // even when the byte held no valid pair before.
  const int tens = (k % 2 == 0) ? d : (b / 10) % 10;
  const int units = (k % 2 == 0) ? b % 10 : d;
  bytes[k / 2] = static_cast<std::uint8_t>(tens * 10 + units);
}

}  // namespace numeric
