// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two encodings files from a spreadsheet come in: UTF-8, and the
// Windows-1252 ("Western") that spreadsheets on the radio's markets still
// write by default.

#include <cstddef>
#include <string>

namespace text {

// The offset of the first byte of text that does not belong to well-formed
// UTF-8 (overlong forms and surrogates included), npos when there is none.
std::size_t Utf8Fault(const std::string& text);

// text read as Windows-1252, in UTF-8; false with bad set to the offset of
// the first of the five bytes Windows-1252 leaves undefined (0x81 0x8D 0x8F
// 0x90 0x9D), whose meaning no reader can know.
bool FromWindows1252(const std::string& text, std::string& utf8, std::size_t& bad);

}  // namespace text
