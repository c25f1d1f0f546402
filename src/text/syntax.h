// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small text routines that every definition reader shares. Texts are
// UTF-8 bytes; no continuation byte of a multi-byte character equals an
// ASCII delimiter, so scanning byte by byte never splits a character.

#include <optional>
#include <string>
#include <string_view>

class cmcBuff;

// Blanks are the space and the tab.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Position of the first byte that is not a blank (text.size() if none).
std::size_t SkipBlanks(std::string_view text);
std::string_view SkipBlanksView(std::string_view text);

// A decimal integer: blanks skipped, an optional sign, digits up to the
// first non-digit; no digits reads as 0. Overlong digit runs wrap like the
// 32-bit arithmetic they were written for rather than overflow.
int ReadNumber(std::string_view text);

// Field k (from 0) of the text split at every occurrence of the delimiter;
// none when the text has fewer than k + 1 fields. An empty text has one
// empty field.
std::optional<std::string> Field(std::string_view text, char delimiter, int k);
// As Field, but any byte of the set ends a field.
std::optional<std::string> FieldOfSet(std::string_view text, std::string_view delimiters, int k);

// Removes leading and trailing blanks.
void Trim(std::string& text);
// Removes every blank.
void RemoveBlanks(std::string& text);

// A copy; none gives an empty text.
std::string Copy(const char* text);
// At most n bytes of the text (none or n <= 0 gives an empty text).
std::string CopyN(const char* text, int n);

// Every "&" becomes "&&", so a caption shows the ampersand instead of
// marking a shortcut.
std::string DoubleAmpersands(std::string_view text);

// Hexadecimal digits taken in pairs, high nibble first; other bytes are
// skipped and a lone last digit gives a byte with a zero low nibble.
cmcBuff HexadecimalBytes(std::string_view text);

// 32 to 126 inclusive.
constexpr bool Printable(int byte) { return byte >= 32 && byte <= 126; }
