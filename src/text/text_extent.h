// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Size of a caption that may span several lines: the widest line and the
// sum of the line heights, in the canvas's current font. Sheets use it to
// widen columns and heighten rows to fit their captions.

#include <string_view>

#include "platform/canvas.h"

platform::Size TextExtent(platform::Canvas& canvas, std::string_view text);

// A measured size in whole pixels: one half added and the fraction cut off.
// Sizes are never negative, and a size that lies a hair below one half (as
// 0.49999999999999994 does) may go either way without a visible difference,
// so the simple form stands.
inline int RoundHalfUp(double x) {
  return static_cast<int>(x + 0.5);  // NOLINT(bugprone-incorrect-roundings)
}
