// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Size of a caption that may span several lines: the widest line and the
// sum of the line heights, in the canvas's current font. Sheets use it to
// widen columns and heighten rows to fit their captions.

#include <string_view>

#include "platform/canvas.h"

platform::Size TextExtent(platform::Canvas& canvas, std::string_view text);
