// SPDX-License-Identifier: GPL-3.0-or-later
// Font values of the definitions turned into QFonts for drawing.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>

#include "platform/qt/qt_font.h"
#include "platform/system_language.h"

namespace {

QFont Base() {
  QFont f = QApplication::font();
  f.setPointSize(11);
  return f;
}

TEST(QtFont, DefaultFacesMeanThePlatformFont) {
  for (const char* face : {platform::kDefaultFace, platform::kDefaultJapaneseFace, ""}) {
    platform::FontValue v;
    v.face = face;
    EXPECT_EQ(platform::ToQFont(v, Base()).family(), Base().family()) << face;
  }
  platform::FontValue named;
  named.face = "DejaVu Serif";
  EXPECT_EQ(platform::ToQFont(named, Base()).family(), QStringLiteral("DejaVu Serif"));
}

TEST(QtFont, HeightsFollowTheirSign) {
  platform::FontValue v;
  v.SetHeight(-17);  // character height in pixels
  EXPECT_EQ(platform::ToQFont(v, Base()).pixelSize(), 17);

  v.SetHeight(0);  // nothing said: the base size stays
  EXPECT_EQ(platform::ToQFont(v, Base()).pointSize(), 11);

  v.SetHeight(24);  // cell height: the line comes out that high
  const QFont cell = platform::ToQFont(v, Base());
  EXPECT_NEAR(QFontMetrics(cell).height(), 24, 2);
  EXPECT_LT(cell.pixelSize(), 24);
}

TEST(QtFont, StyleAndPitch) {
  platform::FontValue v;
  v.style = platform::kFontBold | platform::kFontUnderline;
  v.pitch = platform::FontPitch::Fixed;
  QFont base = Base();
  base.setItalic(true);
  const QFont f = platform::ToQFont(v, base);
  EXPECT_TRUE(f.bold());
  EXPECT_FALSE(f.italic());  // the value decides the whole style
  EXPECT_TRUE(f.underline());
  EXPECT_FALSE(f.strikeOut());
  EXPECT_TRUE(f.fixedPitch());
}

}  // namespace
