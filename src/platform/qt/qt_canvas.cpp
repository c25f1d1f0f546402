// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

#include "platform/qt/qt_colour.h"
#include "platform/qt/qt_font.h"

namespace platform {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// a / b rounded half away from zero, for b > 0.
int RoundedDiv(int a, int b) { return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b)); }

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, const QPalette& palette, const QFont& baseFont)
    : painter_(painter),
      palette_(palette),
      baseFont_(baseFont),
      font_(baseFont),
      text_(Resolve(kWindowTextColor)),
      brush_(Resolve(0x00FFFFFF)),
      pen_(Resolve(0x00000000)) {
  // Cell grids are drawn pixel for pixel; smoothing would smear the lines.
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBackgroundMode(Qt::TransparentMode);
}

QColor QtCanvas::Resolve(std::uint32_t color) const { return ToQColor(color, palette_); }

void QtCanvas::SetFont(const FontValue& font) {
  font_ = ToQFont(font, baseFont_);
  text_ = Resolve(font.color);
}

void QtCanvas::SetTextColor(std::uint32_t color) { text_ = Resolve(color); }
void QtCanvas::SetBrushColor(std::uint32_t color) { brush_ = Resolve(color); }
void QtCanvas::SetPenColor(std::uint32_t color) { pen_ = Resolve(color); }

void QtCanvas::FillRect(const Rect& rect) { painter_.fillRect(ToQRect(rect), brush_); }

void QtCanvas::TextAt(int x, int y, std::string_view text) {
  painter_.setFont(font_);
  painter_.setPen(text_);
  painter_.drawText(x, y + QFontMetrics(font_).ascent(), ToQString(text));
}

void QtCanvas::TextClipped(const Rect& clip, int x, int y, std::string_view text) {
  painter_.save();
  painter_.setClipRect(ToQRect(clip), Qt::IntersectClip);
  TextAt(x, y, text);
  painter_.restore();
}

Size QtCanvas::TextExtent(std::string_view line) {
  const QFontMetrics metrics(font_);
  return {metrics.horizontalAdvance(ToQString(line)), metrics.height()};
}

void QtCanvas::Line(Point from, Point to) {
  const int dx = to.x - from.x;
  const int dy = to.y - from.y;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  // One pixel step back along the line leaves out the end point.
  const QPoint end(to.x - RoundedDiv(dx, steps), to.y - RoundedDiv(dy, steps));
  painter_.setPen(QPen(pen_, 0));
  painter_.drawLine(QPoint(from.x, from.y), end);
}

void QtCanvas::Polygon(const std::vector<Point>& points) {
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& p : points) polygon << QPoint(p.x, p.y);
  painter_.setPen(QPen(pen_, 0));
  painter_.setBrush(brush_);
  painter_.drawPolygon(polygon);
}

}  // namespace platform
