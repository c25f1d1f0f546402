// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text and digit string editors. Both edit a fixed-size field of the image
// directly, so they take and give back the field's bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "model/editor_common.h"

namespace editor {

// Text of n characters. bytes is the field (size n); it is replaced when the
// typed text is applied.
void EditText(std::vector<std::uint8_t>& bytes, const Input& in, Output& out);

// The text a field shows: unprintable bytes as spaces, trailing blanks removed.
std::string TextShown(const std::vector<std::uint8_t>& bytes);

// Digit string of 2 * bytes.size() digits, two per byte. A typed text with
// exactly that many digits is stored pair by pair, any other sets every
// byte to 0xFF (no value).
void EditDigits(std::vector<std::uint8_t>& bytes, const Input& in, Output& out);

// True when every byte holds a digit pair (at most 99).
bool DigitsValid(const std::vector<std::uint8_t>& bytes);

// The channel name rule: each of the three characters must come from its own
// set; one that does not is replaced by its other letter case when that is
// in the set, else by a space.
std::string FitChannelName(const std::string& name);

}  // namespace editor
