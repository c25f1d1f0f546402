// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A font as the definitions describe it, free of any GUI type: the cell
// model keeps fonts on cells without linking Qt Widgets, and the GUI turns
// the value into a QFont only when it draws.
//
// Height and size are two views of one quantity, as on the platform the
// definitions were written for: a negative height is the character height in
// pixels, a positive one the cell height, and the size in points follows
// from the height at the font's pixels per inch. Setting one changes the
// other, so "scale the height by 150 %" after "size 12" scales the 12 points.

#include <cstdint>
#include <string>

namespace platform {

enum FontStyleBits : std::uint8_t {
  kFontBold = 1,
  kFontItalic = 2,
  kFontUnderline = 4,
  kFontStrikeOut = 8,
};

enum class FontPitch : std::uint8_t { Default, Variable, Fixed };

inline constexpr int kDefaultCharset = 1;                      // DEFAULT_CHARSET
inline constexpr std::uint32_t kWindowTextColor = 0x80000008;  // clWindowText
inline constexpr int kDefaultPixelsPerInch = 96;

// a × b ÷ c rounded half away from zero, the platform's rounding for font
// heights; c must not be 0.
int MulDivRound(int a, int b, int c);

struct FontValue {
  // A fresh font: default character set and face, window-text colour,
  // 8 points, no style, default pitch.
  FontValue();

  int charset = kDefaultCharset;
  std::string face;
  std::uint32_t color = kWindowTextColor;
  std::uint8_t style = 0;  // FontStyleBits
  FontPitch pitch = FontPitch::Default;
  int pixelsPerInch = kDefaultPixelsPerInch;

  int Height() const { return height_; }
  void SetHeight(int height) { height_ = height; }
  // Points; a positive (cell) height gives a negative size, as it always has.
  int Size() const { return -MulDivRound(height_, 72, pixelsPerInch); }
  void SetSize(int points) { height_ = -MulDivRound(points, pixelsPerInch, 72); }

  bool Bold() const { return style & kFontBold; }
  bool Italic() const { return style & kFontItalic; }
  bool Underline() const { return style & kFontUnderline; }
  bool StrikeOut() const { return style & kFontStrikeOut; }

  friend bool operator==(const FontValue&, const FontValue&) = default;

 private:
  int height_ = 0;
};

}  // namespace platform
