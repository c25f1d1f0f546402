// SPDX-License-Identifier: GPL-3.0-or-later
// Style attributes, the basic cell's font and the measured sizes of a page.
#include <functional>

#include "layout/page_style.h"
#include "support/layout_support.h"

namespace layouttest {
namespace {

using layout::PageStyle;

TEST(PageStyleAttributes, EachAttributeSetsItsField) {
  struct Case {
    const char* text;
    std::function<bool(const PageStyle&)> check;
  };
  const std::vector<Case> cases = {
      {"TitleString=Free channels", [](const PageStyle& s) { return s.title == "Free channels"; }},
      {"TitleString=", [](const PageStyle& s) { return s.title == "kept"; }},
      {"TitleColor=clNavy", [](const PageStyle& s) { return s.titleColor == 0x800000u; }},
      {"TitleColor=navy",
       [](const PageStyle& s) { return s.titleColor == PageStyle::kDefaultTitleColor; }},
      {"TitleFont=,Arial,,,14,fsBold,",
       [](const PageStyle& s) {
         return s.titleFont && s.titleFont->face == "Arial" && s.titleFont->Size() == 14 &&
                s.titleFont->Bold();
       }},
      {"FixedCols=2", [](const PageStyle& s) { return s.fixedCols == 2; }},
      {"FixedRows=3", [](const PageStyle& s) { return s.fixedRows == 3; }},
      {"NoPrint", [](const PageStyle& s) { return s.noPrint; }},
      {"PrintFontRatio=80", [](const PageStyle& s) { return s.printFontRatio == 80; }},
      {"MultiSelect=Cell",
       [](const PageStyle& s) { return s.multiSelect == PageStyle::kSelectCell; }},
      {"MultiSelect=Line",
       [](const PageStyle& s) { return s.multiSelect == PageStyle::kSelectLine; }},
      {"MultiSelect=Lines",
       [](const PageStyle& s) { return s.multiSelect == PageStyle::kSelectNone; }},
      {"ColSizing", [](const PageStyle& s) { return s.colSizing && !s.colorSelectLine; }},
      {"ColorSelectLine", [](const PageStyle& s) { return s.colorSelectLine && !s.colSizing; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PageStyle style;
    style.title = "kept";
    style.multiSelect = PageStyle::kSelectLine;
    if (std::string_view(c.text).starts_with("MultiSelect"))
      style.multiSelect = PageStyle::kSelectNone;
    EXPECT_TRUE(layout::ApplyStyleAttribute(c.text, style));
    EXPECT_TRUE(c.check(style));
  }
  PageStyle style;
  EXPECT_FALSE(layout::ApplyStyleAttribute("WithUsable", style));
  EXPECT_FALSE(layout::ApplyStyleAttribute("Bogus=1", style));
  // NoPrint must match whole.
  EXPECT_FALSE(layout::ApplyStyleAttribute("NoPrinting", style));
  EXPECT_FALSE(style.noPrint);
}

TEST(PageStyleAttributes, EachTitleFontStartsFromAFreshFont) {
  PageStyle style;
  layout::ApplyStyleAttribute("TitleFont=,Arial,,,14,fsBold,", style);
  layout::ApplyStyleAttribute("TitleFont=,,,,10,,", style);
  ASSERT_TRUE(style.titleFont);
  EXPECT_EQ(*style.titleFont, [] {
    platform::FontValue font;
    font.SetSize(10);
    return font;
  }());
}

using Pages = PageTest;

TEST_F(Pages, StyleReadsOnlyItsFirstLineAndIgnoresWhatItDoesNotKnow) {
  Page("GI_Page_Styled");
  EXPECT_EQ(page->Title(), "Common");
  EXPECT_EQ(page->Style().printFontRatio, 50);
  EXPECT_EQ(page->Style().fixedRows, 1);
  EXPECT_EQ(page->Style().multiSelect, PageStyle::kSelectLine);
  // The unclosed "(NoPrint" and the second line's (ColSizing) are not read.
  EXPECT_TRUE(page->IsPrintable());
  EXPECT_FALSE(page->Style().colSizing);
  EXPECT_TRUE(page->CellAt(0, 0).inMultiSelectableRow);
}

TEST_F(Pages, BasicCellFontFollowsDisplayPercentageOrPrintSizeAndRatio) {
  struct Case {
    const char* what;
    int percentage;
    int printSize;
    bool printing;
    int height;
  };
  // The fresh font is 8 points: a character height of 11 pixels.
  const std::vector<Case> cases = {
      {"display 100 %", 100, 0, false, -11},
      {"display 200 %", 200, 0, false, -22},
      {"print size", 100, -40, false, -40},
      {"print size wins over the percentage", 300, -40, false, -40},
      {"print ratio of the style", 100, 0, true, -5},
      {"print size scaled by the ratio", 100, -40, true, -20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    context.fontPercentage = c.percentage;
    context.printFontSize = c.printSize;
    context.printing = c.printing;
    Page("GI_Page_Styled");
    ASSERT_NE(page->BasicCell().Font(), nullptr);
    EXPECT_EQ(page->BasicCell().Font()->Height(), c.height);
    EXPECT_TRUE(page->BasicCell().Selectable());
  }
}

TEST_F(Pages, MeasuredCaptionsWidenColumnsAndHeightenRowsByTheScaledPadding) {
  struct Case {
    double scale;
    std::vector<int> widths;
    std::vector<int> heights;
  };
  // "Wide caption" is 84 pixels, "Longer text here" 112, "A\nB" 26 high.
  const std::vector<Case> cases = {
      {1.0, {92, 120, 1}, {28, 15, 1}},
      {2.0, {100, 128, 1}, {30, 17, 1}},
      {1.3125, {95, 123, 1}, {29, 16, 1}},  // 94.5 and 122.5 round up
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    context.printScale = c.scale;
    Page("GI_Page_Measure");
    EXPECT_EQ(page->ColumnWidths(), c.widths);
    EXPECT_EQ(page->RowHeights(), c.heights);
  }
  // The selectable cells are at (2, 1) and (0, 2).
  EXPECT_EQ(page->FirstSelectableColumn(), 0);
  EXPECT_EQ(page->FirstSelectableRow(), 1);

  context.canvas = nullptr;
  Page("GI_Page_Measure");
  EXPECT_EQ(page->ColumnWidths(), (std::vector<int>{1, 1, 1}));
}

TEST_F(Pages, PageWithoutSelectableCellsHasNoFirstSelectable) {
  Page("GI_Page_Skip");
  EXPECT_EQ(page->FirstSelectableColumn(), -1);
  EXPECT_EQ(page->FirstSelectableRow(), -1);
}

}  // namespace
}  // namespace layouttest
