// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt canvas a sheet draws a cell on, remembering the text colour last
// set: the font sets it, the evaluator may change it, and the sheet then
// adjusts it for dark or tinted backgrounds, which needs to know what it is.

#include <cstdint>

#include "platform/qt/qt_canvas.h"

class cuiSheetCanvas : public platform::QtCanvas {
 public:
  using platform::QtCanvas::QtCanvas;

  void SetFont(const platform::FontValue& font) override {
    platform::QtCanvas::SetFont(font);
    textColor_ = font.color;
  }
  void SetTextColor(std::uint32_t color) override {
    platform::QtCanvas::SetTextColor(color);
    textColor_ = color;
  }
  std::uint32_t TextColor() const { return textColor_; }

 private:
  std::uint32_t textColor_ = platform::kWindowTextColor;
};
