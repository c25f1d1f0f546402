// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface over a QPainter: the one that the screen, the print
// preview and the printer share. Text and extents go through QFontMetrics of
// the current font; system colours come from the palette given.

#include <QFont>
#include <QPainter>
#include <QPalette>

#include "platform/canvas.h"

namespace platform {

class QtCanvas : public Canvas {
 public:
  // Draws with painter, which stays the caller's and must outlive this
  // canvas. baseFont fills in what a font value leaves open.
  QtCanvas(QPainter& painter, const QPalette& palette, const QFont& baseFont);

  // As on the platform's canvas, the font brings its colour: SetFont sets
  // the text colour too, and a later SetTextColor overrides it.
  void SetFont(const FontValue& font) override;
  void SetTextColor(std::uint32_t color) override;
  void SetBrushColor(std::uint32_t color) override;
  void SetPenColor(std::uint32_t color) override;

  void FillRect(const Rect& rect) override;
  void TextAt(int x, int y, std::string_view text) override;
  void TextClipped(const Rect& clip, int x, int y, std::string_view text) override;
  Size TextExtent(std::string_view line) override;
  // The end point itself is left out, as the platform's line drawing does,
  // so that a line to a rectangle's right or bottom edge stays inside it.
  void Line(Point from, Point to) override;
  void Polygon(const std::vector<Point>& points) override;

 private:
  QColor Resolve(std::uint32_t color) const;

  QPainter& painter_;
  QPalette palette_;
  QFont baseFont_;
  QFont font_;
  QColor text_;
  QColor brush_;
  QColor pen_;
};

}  // namespace platform
