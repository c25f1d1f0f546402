// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour syntax of the definitions: one of 38 names, written exactly.
// Values are 32-bit colours: 0x00BBGGRR for a fixed colour, 0x80000000 + n
// for system colour n, which the GUI resolves from its palette when drawing.

#include <cstdint>
#include <span>
#include <string_view>

struct ColourName {
  const char* name;
  std::uint32_t value;
};

// The names in table order (fixed colours first, then the system colours).
std::span<const ColourName> ColourNames();

// Looks the whole text up; on a match stores the value into *target and
// returns true, otherwise leaves *target alone. No blanks are skipped and
// case matters, so " clRed" and "clred" match nothing. The highlight-text
// colour is spelled "clHightlightText", as the definitions have always
// written it.
bool ColourValue(std::string_view text, std::uint32_t* target);

inline constexpr std::uint32_t kSystemColourBase = 0x80000000;
inline constexpr std::uint32_t kClWindow = 0x80000005;
