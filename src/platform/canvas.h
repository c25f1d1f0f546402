// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface that cells and sheets paint on. The core only knows
// this interface; the Qt layer implements it over QPainter, and printing
// implements it over the printer's painter, so one drawing routine serves
// the screen, the preview and the paper.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/font_value.h"

namespace platform {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Edges as the platform counts them: right and bottom lie just outside.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Colours are the definitions' 32-bit values (0x00BBGGRR or system colour
  // 0x80000000 + n); the implementation resolves system colours.
  virtual void SetFont(const FontValue& font) = 0;
  virtual void SetTextColor(std::uint32_t color) = 0;
  virtual void SetBrushColor(std::uint32_t color) = 0;
  virtual void SetPenColor(std::uint32_t color) = 0;

  virtual void FillRect(const Rect& rect) = 0;
  // (Not TextOut/DrawText: those are macros once windows.h is included.)
  // One line of text with its top-left corner at (x, y), in the current font
  // and text colour, on a transparent background.
  virtual void TextAt(int x, int y, std::string_view text) = 0;
  // As TextAt, but nothing is drawn outside the clip rectangle.
  virtual void TextClipped(const Rect& clip, int x, int y, std::string_view text) = 0;
  // Width and height of one line of text in the current font.
  virtual Size TextExtent(std::string_view line) = 0;
  virtual void Line(Point from, Point to) = 0;
  // A closed polygon, outlined with the pen and filled with the brush.
  virtual void Polygon(const std::vector<Point>& points) = 0;
};

}  // namespace platform
