// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seven-field font descriptor written after "Font=" in definitions:
//   charset, face, colour, height, size, style, pitch
// Each field that is present changes one property of a font the caller
// already holds; a field that does not parse leaves its property alone.

#include <optional>
#include <string_view>

#include "platform/font_value.h"

// Character set value of a name such as "ANSI_CHARSET" (exact match).
std::optional<int> CharsetFromName(std::string_view name);
// Style bit of "fsBold", "fsItalic", "fsUnderline" or "fsStrikeOut".
std::optional<std::uint8_t> StyleFromName(std::string_view name);
// "fpDefault", "fpVariable" or "fpFixed".
std::optional<platform::FontPitch> PitchFromName(std::string_view name);

// Applies a descriptor to the font. Fields past the seventh are ignored.
// A present face field first resets the face to the default face, so an
// empty one ("Font=,,,12") means "the default face". Height and size take a
// number or "%" and a percentage of the current value; a result of 0 leaves
// the value alone, and a percentage that rounds to 0 gives 1.
void ApplyFontDescriptor(std::string_view text, platform::FontValue& font);
