// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_colour.h"

#include <array>

namespace platform {
namespace {

struct SystemColour {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

// System colour n in the order of the platform's numbering (clScrollBar = 0
// … clBtnHighlight = 20, then the 3-D and tool-tip colours). Qt has no
// desktop or caption colours of its own; the nearest roles stand in.
constexpr std::array<SystemColour, 25> kSystemColours{{
    {QPalette::Active, QPalette::Button},             // 0 scroll bar
    {QPalette::Active, QPalette::Window},             // 1 clBackground (desktop)
    {QPalette::Active, QPalette::Highlight},          // 2 clActiveCaption
    {QPalette::Inactive, QPalette::Highlight},        // 3 clInactiveCaption
    {QPalette::Active, QPalette::Window},             // 4 clMenu
    {QPalette::Active, QPalette::Base},               // 5 clWindow
    {QPalette::Active, QPalette::WindowText},         // 6 clWindowFrame
    {QPalette::Active, QPalette::WindowText},         // 7 clMenuText
    {QPalette::Active, QPalette::Text},               // 8 clWindowText
    {QPalette::Active, QPalette::HighlightedText},    // 9 clCaptionText
    {QPalette::Active, QPalette::Window},             // 10 clActiveBorder
    {QPalette::Inactive, QPalette::Window},           // 11 clInactiveBorder
    {QPalette::Active, QPalette::Mid},                // 12 clAppWorkSpace
    {QPalette::Active, QPalette::Highlight},          // 13 clHighlight
    {QPalette::Active, QPalette::HighlightedText},    // 14 clHightlightText
    {QPalette::Active, QPalette::Button},             // 15 clBtnFace
    {QPalette::Active, QPalette::Dark},               // 16 clBtnShadow
    {QPalette::Disabled, QPalette::Text},             // 17 clGrayText
    {QPalette::Active, QPalette::ButtonText},         // 18 clBtnText
    {QPalette::Inactive, QPalette::HighlightedText},  // 19 clInactiveCaptionText
    {QPalette::Active, QPalette::Light},              // 20 clBtnHighlight
    {QPalette::Active, QPalette::Shadow},             // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},           // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},        // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},        // 24 info background
}};

constexpr std::uint32_t kSystemBit = 0x80000000;

}  // namespace

QColor ToQColor(std::uint32_t colour, const QPalette& palette) {
  if (colour & kSystemBit) {
    const std::uint32_t n = colour & ~kSystemBit;
    // A number the platform never had reads as the window text, so that
    // a damaged definition still draws legibly.
    const SystemColour s = n < kSystemColours.size() ? kSystemColours[n] : kSystemColours[8];
    return palette.color(s.group, s.role);
  }
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace platform
