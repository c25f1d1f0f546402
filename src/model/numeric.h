// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small rules over image bytes: the one-byte checksum used by the ATIS
// identity and the dealer block, and decimal digit pairs (two digits per
// byte, each byte a plain binary 0..99).

#include <cstdint>

class cmcEeprom;

namespace numeric {

// Ones' complement of the low byte of the sum.
std::uint8_t Checksum(const std::uint8_t* bytes, int n);
// The same over image bytes a .. a + n - 1 (every address must be valid).
std::uint8_t Checksum(const cmcEeprom& image, int a, int n);

// Each of the n bytes holds at most 99.
bool DigitPairsValid(const std::uint8_t* bytes, int n);
// The (digits + 1) / 2 bytes that hold that many digits are valid pairs.
bool DigitCountValid(const std::uint8_t* bytes, int digits);

// Digit k: byte k / 2, the tens digit for even k, the units digit for odd k.
int Digit(const std::uint8_t* bytes, int k);
// Replaces digit k with d (0..9), keeping the other digit of the byte.
void SetDigit(std::uint8_t* bytes, int k, int d);

}  // namespace numeric
