// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scaled decimal editor: the stored integer counts units of 1/scale and is
// shown as a decimal number with a unit, e.g. 50 at scale 10 as "5.0 sec".

#include <string>

#include "model/editor_common.h"

namespace editor {

struct ScaledParams {
  int scale = 1;
  int minimum = 0;
  int maximum = 0;
  bool zeroMeansOff = false;  // 0 shows the "off" text and "off" can be typed
  int trailing = 4;           // trailing characters that may be trimmed
  std::string suffix;         // " msec", " sec", ...
  bool noSuffixWhenOff = false;
};

// offText is what a zero shows when zero means off.
void EditScaled(const ScaledParams& params, int& v, const Input& in, Output& out,
                const std::string& offText);

// "%d.%03d" of v / scale, trimmed by up to trailing zeros and the point.
std::string ScaledText(int v, int scale, int trailing);

}  // namespace editor
