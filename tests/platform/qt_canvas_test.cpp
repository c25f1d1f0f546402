// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt canvas drawing on an image: colours resolve (fixed ones in their
// blue-green-red order, system ones from the palette), and fills, text,
// clipped text, lines and polygons land exactly where they were asked to.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <functional>

#include "platform/qt/qt_canvas.h"

using platform::Point;
using platform::Rect;

namespace {

const QColor kPaper(Qt::white);

// Every role the canvas may read gets a colour of its own, so that a wrong
// role shows as a wrong pixel.
QPalette DistinctPalette() {
  QPalette p;
  p.setColor(QPalette::All, QPalette::Base, QColor(1, 2, 3));
  p.setColor(QPalette::All, QPalette::Text, QColor(4, 5, 6));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(7, 8, 9));
  p.setColor(QPalette::All, QPalette::Button, QColor(10, 11, 12));
  p.setColor(QPalette::All, QPalette::ButtonText, QColor(13, 14, 15));
  p.setColor(QPalette::All, QPalette::Highlight, QColor(16, 17, 18));
  p.setColor(QPalette::All, QPalette::HighlightedText, QColor(19, 20, 21));
  p.setColor(QPalette::All, QPalette::Window, QColor(22, 23, 24));
  p.setColor(QPalette::All, QPalette::WindowText, QColor(25, 26, 27));
  p.setColor(QPalette::All, QPalette::Dark, QColor(28, 29, 30));
  p.setColor(QPalette::All, QPalette::Light, QColor(31, 32, 33));
  return p;
}

class QtCanvasTest : public ::testing::Test {
 protected:
  QtCanvasTest() : image_(120, 60, QImage::Format_RGB32) { image_.fill(kPaper); }

  // Draws on a fresh sheet of paper and ends the painting.
  void Draw(const std::function<void(platform::QtCanvas&)>& draw) {
    image_.fill(kPaper);
    QPainter painter(&image_);
    platform::QtCanvas canvas(painter, DistinctPalette(), QApplication::font());
    draw(canvas);
  }

  QColor At(int x, int y) const { return image_.pixelColor(x, y); }

  // The smallest rectangle (right and bottom just outside) holding every
  // pixel that is no longer paper; empty when nothing was drawn.
  QRect Ink() const {
    QRect ink;
    for (int y = 0; y < image_.height(); ++y)
      for (int x = 0; x < image_.width(); ++x)
        if (At(x, y) != kPaper) ink |= QRect(x, y, 1, 1);
    return ink;
  }

  QImage image_;
};

TEST_F(QtCanvasTest, ColoursResolveFixedAndFromThePalette) {
  struct Case {
    std::uint32_t value;
    QColor expected;
  };
  const Case cases[] = {
      {0x000000FF, QColor(255, 0, 0)},  // clRed: the low byte is red
      {0x0000FF00, QColor(0, 255, 0)},  // clLime
      {0x00FF0000, QColor(0, 0, 255)},  // clBlue
      {0x00123456, QColor(0x56, 0x34, 0x12)}, {0x80000005, QColor(1, 2, 3)},  // clWindow → Base
      {0x80000008, QColor(4, 5, 6)},     // clWindowText → Text
      {0x80000011, QColor(7, 8, 9)},     // clGrayText → disabled Text
      {0x8000000F, QColor(10, 11, 12)},  // clBtnFace → Button
      {0x80000012, QColor(13, 14, 15)},  // clBtnText → ButtonText
      {0x8000000D, QColor(16, 17, 18)},  // clHighlight
      {0x8000000E, QColor(19, 20, 21)},  // clHightlightText → HighlightedText
      {0x80000010, QColor(28, 29, 30)},  // clBtnShadow → Dark
      {0x80000014, QColor(31, 32, 33)},  // clBtnHighlight → Light
      {0x800000FF, QColor(4, 5, 6)},     // no such system colour: window text
  };
  for (const Case& c : cases) {
    Draw([&](platform::QtCanvas& canvas) {
      canvas.SetBrushColor(c.value);
      canvas.FillRect({0, 0, 4, 4});
    });
    EXPECT_EQ(At(1, 1), c.expected) << std::hex << c.value;
  }
}

TEST_F(QtCanvasTest, FillCoversTheRectangleWithoutItsRightAndBottomEdges) {
  Draw([](platform::QtCanvas& canvas) {
    canvas.SetBrushColor(0x000000FF);
    canvas.FillRect({10, 5, 30, 20});
  });
  EXPECT_EQ(Ink(), QRect(QPoint(10, 5), QPoint(29, 19)));
  EXPECT_EQ(At(29, 19), QColor(255, 0, 0));
}

TEST_F(QtCanvasTest, TextLiesWithinItsExtentFromItsTopLeftCorner) {
  platform::Size extent;
  Draw([&](platform::QtCanvas& canvas) {
    canvas.SetTextColor(0x00000000);
    extent = canvas.TextExtent("Ship 16");
    canvas.TextAt(20, 10, "Ship 16");
  });
  ASSERT_FALSE(Ink().isEmpty());
  EXPECT_TRUE(QRect(20, 10, extent.width, extent.height).contains(Ink()))
      << Ink().x() << "," << Ink().y();
  // The ink starts near the corner, not a line lower (top, not baseline).
  EXPECT_LT(Ink().top() - 10, extent.height / 2);
  EXPECT_EQ(At(Ink().center().x(), Ink().bottom() + 1), kPaper);
}

TEST_F(QtCanvasTest, ClippedTextStaysInsideTheClip) {
  const Rect clip{20, 10, 35, 40};
  Draw([&](platform::QtCanvas& canvas) {
    canvas.SetTextColor(0x00000000);
    canvas.TextClipped(clip, 20, 10, "WWWWWWWWWW");
    // The clip holds for that text only.
    canvas.TextAt(20, 40, "W");
  });
  QRect upper;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < image_.width(); ++x)
      if (At(x, y) != kPaper) upper |= QRect(x, y, 1, 1);
  ASSERT_FALSE(upper.isEmpty());
  EXPECT_LT(upper.right(), clip.right);
  EXPECT_GE(upper.left(), clip.left);
  EXPECT_GT(Ink().bottom(), 40);  // the later text was drawn
}

TEST_F(QtCanvasTest, ExtentFollowsTheFontAndItsColourComesAlong) {
  platform::Size small, large, empty;
  Draw([&](platform::QtCanvas& canvas) {
    platform::FontValue font;
    font.SetHeight(-10);
    canvas.SetFont(font);
    small = canvas.TextExtent("Channel");
    empty = canvas.TextExtent("");
    font.SetHeight(-30);
    font.color = 0x80000011;  // clGrayText
    canvas.SetFont(font);
    large = canvas.TextExtent("Channel");
    canvas.TextAt(0, 0, "H");
  });
  EXPECT_GT(large.width, small.width);
  EXPECT_GT(large.height, small.height);
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.height, small.height);
  // The stems of the glyph are painted in the font's own colour.
  bool sawFontColour = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) sawFontColour |= At(x, y) == QColor(7, 8, 9);
  EXPECT_TRUE(sawFontColour);
}

TEST_F(QtCanvasTest, LinesLeaveOutTheirEndPoint) {
  struct Case {
    Point from, to;
    QRect ink;
  };
  const Case cases[] = {
      {{5, 10}, {15, 10}, QRect(QPoint(5, 10), QPoint(14, 10))},   // rightward
      {{15, 12}, {5, 12}, QRect(QPoint(6, 12), QPoint(15, 12))},   // leftward
      {{40, 5}, {40, 25}, QRect(QPoint(40, 5), QPoint(40, 24))},   // downward
      {{50, 5}, {60, 15}, QRect(QPoint(50, 5), QPoint(59, 14))},   // diagonal
      {{80, 5}, {100, 10}, QRect(QPoint(80, 5), QPoint(99, 10))},  // shallow: ends on its last row
      {{70, 5}, {70, 5}, QRect()},                                 // a point: nothing
  };
  for (const Case& c : cases) {
    Draw([&](platform::QtCanvas& canvas) {
      canvas.SetPenColor(0x00FF0000);
      canvas.Line(c.from, c.to);
    });
    EXPECT_EQ(Ink(), c.ink) << c.from.x << "," << c.from.y << " → " << c.to.x << "," << c.to.y;
    if (!c.ink.isEmpty()) {
      EXPECT_EQ(At(c.from.x, c.from.y), QColor(0, 0, 255));
    }
  }
}

TEST_F(QtCanvasTest, PolygonIsOutlinedWithThePenAndFilledWithTheBrush) {
  Draw([](platform::QtCanvas& canvas) {
    canvas.SetPenColor(0x00FF0000);    // blue
    canvas.SetBrushColor(0x000000FF);  // red
    canvas.Polygon({{10, 10}, {30, 10}, {30, 30}, {10, 30}});
  });
  EXPECT_EQ(Ink(), QRect(QPoint(10, 10), QPoint(30, 30)));
  EXPECT_EQ(At(10, 20), QColor(0, 0, 255));
  EXPECT_EQ(At(30, 20), QColor(0, 0, 255));
  EXPECT_EQ(At(20, 20), QColor(255, 0, 0));
}

}  // namespace
