// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts from a damaged overlay: heights and sizes far outside anything a
// screen shows. Heights and sizes are negated into each other and squared on
// the way to a QFont, so the extremes of a 32-bit number must keep their
// sign and magnitude instead of wrapping around.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/font_value.h"
#include "platform/qt/qt_font.h"
#include "text/font_syntax.h"

namespace {

TEST(FontExtremes, SizesNearTheLimitsKeepTheirSign) {
  struct Case {
    const char* descriptor;
    bool cellHeight;  // a positive height (cell height) rather than a character height
  } cases[] = {
      // -1610612736 points are exactly INT_MIN pixels at 96 pixels per inch.
      {",,,,-1610612736", true}, {",,,,-2147483648", true}, {",,,,2147483647", false},
      {",,,,1610612736", false}, {",,,-2147483648", false}, {",,,2147483647", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.descriptor);
    platform::FontValue font;
    ApplyFontDescriptor(c.descriptor, font);
    EXPECT_EQ(font.Height() > 0, c.cellHeight);
    // A cell height shows as a negative size, a character height as a positive one.
    EXPECT_EQ(font.Size() < 0, c.cellHeight);
  }
}

TEST(FontExtremes, QFontOfAHugeHeightIsHugeNotTiny) {
  const QFont base;
  struct Case {
    int height;
    int atLeast;
  } cases[] = {
      {-INT_MAX, 1000000},
      {INT_MIN, 1000000},
      // A cell height is squared on the way and divided by Qt's line
      // height, which is anything at such sizes; 65536 squared wraps a
      // 32-bit int to exactly 0 and left a pixel size of 1. Other squares
      // wrap silently, which only the sanitizer build sees.
      {65536, 2},
      {100000, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    platform::FontValue value;
    value.SetHeight(c.height);
    const QFont font = platform::ToQFont(value, base);
    EXPECT_GE(font.pixelSize(), c.atLeast);
  }
}

}  // namespace
