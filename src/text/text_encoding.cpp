// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_encoding.h"

#include <cstdint>

namespace text {
namespace {

// Windows-1252's characters for 0x80 to 0x9F; 0 where it has none.
constexpr char32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::size_t Utf8Fault(const std::string& text) {
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size;) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    // The range the second byte must fall in rules out overlong forms,
    // surrogates and code points past U+10FFFF.
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return i;
    }
    if (i + length > size) return i;
    if (byte(i + 1) < low || byte(i + 1) > high) return i;
    for (std::size_t k = 2; k < length; ++k) {
      if ((byte(i + k) & 0xC0) != 0x80) return i;
    }
    i += length;
  }
  return std::string::npos;
}

bool FromWindows1252(const std::string& text, std::string& utf8, std::size_t& bad) {
  utf8.clear();
  utf8.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<std::uint8_t>(text[i]);
    char32_t decoded = c;
    if (c >= 0x80 && c < 0xA0) decoded = kHigh[c - 0x80];
    if (decoded == 0 && c != 0) {
      bad = i;
      return false;
    }
    Append(utf8, decoded);
  }
  return true;
}

}  // namespace text
