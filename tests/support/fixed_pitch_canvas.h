// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A canvas whose glyphs are 7 pixels wide and whose lines are 13 high: only
// the measuring is real, which is all that laying out text uses. It keeps
// the fonts it was given and the lines it measured.

#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/font_value.h"

namespace testsupport {

class FixedPitchCanvas : public platform::Canvas {
 public:
  static constexpr int kGlyphWidth = 7;
  static constexpr int kLineHeight = 13;

  void SetFont(const platform::FontValue& font) override { fonts.push_back(font); }
  void SetTextColor(std::uint32_t) override {}
  void SetBrushColor(std::uint32_t) override {}
  void SetPenColor(std::uint32_t) override {}
  void FillRect(const platform::Rect&) override {}
  void TextAt(int, int, std::string_view) override {}
  void TextClipped(const platform::Rect&, int, int, std::string_view) override {}
  platform::Size TextExtent(std::string_view line) override {
    lines.emplace_back(line);
    return {kGlyphWidth * static_cast<int>(line.size()), kLineHeight};
  }
  void Line(platform::Point, platform::Point) override {}
  void Polygon(const std::vector<platform::Point>&) override {}

  std::vector<platform::FontValue> fonts;
  std::vector<std::string> lines;
};

}  // namespace testsupport
