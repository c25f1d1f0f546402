// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/syntax.h"

#include <cstdint>
#include <cstring>

#include "base/buff.h"

std::size_t SkipBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

std::string_view SkipBlanksView(std::string_view text) { return text.substr(SkipBlanks(text)); }

int ReadNumber(std::string_view text) {
  std::size_t i = SkipBlanks(text);
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

std::optional<std::string> FieldOfSet(std::string_view text, std::string_view delimiters, int k) {
  if (k < 0) return std::nullopt;
  std::size_t start = 0;
  for (int field = 0;; ++field) {
    std::size_t end = text.find_first_of(delimiters, start);
    if (end == std::string_view::npos) end = text.size();
    if (field == k) return std::string(text.substr(start, end - start));
    if (end == text.size()) return std::nullopt;
    start = end + 1;
  }
}

std::optional<std::string> Field(std::string_view text, char delimiter, int k) {
  return FieldOfSet(text, std::string_view(&delimiter, 1), k);
}

void Trim(std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  text.erase(end);
  text.erase(0, SkipBlanks(text));
}

void RemoveBlanks(std::string& text) {
  std::erase_if(text, [](char c) { return IsBlank(c); });
}

std::string Copy(const char* text) { return text ? std::string(text) : std::string(); }

std::string CopyN(const char* text, int n) {
  if (!text || n <= 0) return {};
  return std::string(text, ::strnlen(text, static_cast<std::size_t>(n)));
}

std::string DoubleAmpersands(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

cmcBuff HexadecimalBytes(std::string_view text) {
  cmcBuff out;
  int high = -1;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) continue;
    if (high < 0) {
      high = digit;
    } else {
      out.AppendByte(static_cast<std::uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  if (high >= 0) out.AppendByte(static_cast<std::uint8_t>(high << 4));
  return out;
}
