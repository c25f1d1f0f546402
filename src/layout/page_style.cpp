// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/page_style.h"

#include "layout/group_scan.h"
#include "text/colour_names.h"
#include "text/font_syntax.h"
#include "text/gtex.h"
#include "text/syntax.h"

namespace layout {
namespace {

std::string_view ValueOf(std::string_view text) {
  const std::size_t eq = text.find('=');
  return eq == std::string_view::npos ? std::string_view() : text.substr(eq + 1);
}

platform::FontValue FreshFont(std::string_view descriptor) {
  platform::FontValue font;
  ApplyFontDescriptor(descriptor, font);
  return font;
}

}  // namespace

bool ApplyStyleAttribute(std::string_view text, PageStyle& style) {
  const std::string_view value = ValueOf(text);
  if (StartsWith(text, "TitleString")) {
    if (!value.empty()) style.title = std::string(value);
  } else if (StartsWith(text, "TitleColor")) {
    ColourValue(value, &style.titleColor);
  } else if (StartsWith(text, "TitleFont")) {
    style.titleFont = FreshFont(value);
  } else if (StartsWith(text, "FixedCols")) {
    style.fixedCols = ReadNumber(value);
  } else if (StartsWith(text, "FixedRows")) {
    style.fixedRows = ReadNumber(value);
  } else if (text == "NoPrint") {
    style.noPrint = true;
  } else if (StartsWith(text, "PrintFontRatio")) {
    style.printFontRatio = ReadNumber(value);
  } else if (StartsWith(text, "MultiSelect")) {
    style.multiSelect = value == "Cell"   ? PageStyle::kSelectCell
                        : value == "Line" ? PageStyle::kSelectLine
                                          : PageStyle::kSelectNone;
  } else if (StartsWith(text, "ColSizing")) {
    style.colSizing = true;
  } else if (StartsWith(text, "ColorSelectLine")) {
    style.colorSelectLine = true;
  } else {
    return false;
  }
  return true;
}

void ApplyUsableTitle(cmcGTex& table, PageStyle& style) {
  style.title =
      style.title.value_or(std::string()) + " " + table.Text("GI_AppInd_chSheet_Usable_Title");
  style.titleFont = FreshFont(table.Text("GI_AppInd_chSheet_Usable_Font"));
}

PageStyle ReadPageStyle(cmcGTex& table, const std::string& sheetKey, bool usableView) {
  PageStyle style;
  const std::string line = table.Line(sheetKey + "_Style", 0);
  // An entry without lines reads the next key's heading.
  if (!line.empty() && line[0] == '#') return style;
  ForEachGroup(line, [&](std::string_view item) {
    if (usableView && StartsWith(item, "WithUsable")) {
      ApplyUsableTitle(table, style);
    } else {
      ApplyStyleAttribute(item, style);
    }
  });
  return style;
}

}  // namespace layout
