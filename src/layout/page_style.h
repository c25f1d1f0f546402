// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The look of a page as its "_Style" entry gives it: one line of
// parenthesised attributes such as
//   (TitleString=Channels)(FixedRows=1)(MultiSelect=Line)(ColSizing)
// Unknown attributes are ignored, so older overlays keep working.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/font_value.h"

class cmcGTex;

namespace layout {

struct PageStyle {
  static constexpr std::uint32_t kDefaultTitleColor = 0x80000011;  // clGrayText

  enum MultiSelectMode { kSelectNone = 0, kSelectCell = 1, kSelectLine = 2 };

  std::optional<std::string> title;
  std::uint32_t titleColor = kDefaultTitleColor;
  std::optional<platform::FontValue> titleFont;
  int fixedCols = 0;
  int fixedRows = 0;
  bool noPrint = false;
  int printFontRatio = 100;
  int multiSelect = kSelectNone;
  bool colSizing = false;
  bool colorSelectLine = false;
};

// Applies one attribute (the text between the parentheses). Keywords match
// as prefixes, except NoPrint and the MultiSelect values, which must match
// whole. Returns false for an attribute it does not know.
bool ApplyStyleAttribute(std::string_view text, PageStyle& style);

// The channel pages' "WithUsable" while the usable-channels view is on: the
// title gains the usable-view suffix and takes the usable-view font.
void ApplyUsableTitle(cmcGTex& table, PageStyle& style);

// The first line of "<sheetKey>_Style", attribute by attribute; with the
// usable-channels view on, "WithUsable" is honoured too.
PageStyle ReadPageStyle(cmcGTex& table, const std::string& sheetKey, bool usableView);

}  // namespace layout
