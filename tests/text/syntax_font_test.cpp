// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/font_value.h"
#include "platform/system_language.h"
#include "text/colour_names.h"
#include "text/font_syntax.h"

namespace {

using platform::FontValue;

TEST(SyntaxColour, NamesMatchExactlyOrLeaveTheTargetAlone) {
  struct Case {
    std::string text;
    bool match;
    std::uint32_t value;
  } cases[] = {
      {"clRed", true, 0x000000FF},
      {"clBtnFace", true, 0x8000000F},
      {"clHightlightText", true, 0x8000000E},
      {"clBtnHighlight", true, 0x80000014},
      {"clAqua", true, 0x00FFFF00},
      {"clHighlightText", false, 0},
      {" clRed", false, 0},
      {"clRed ", false, 0},
      {"clred", false, 0},
      {"", false, 0},
      {"0x000000FF", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::uint32_t target = 0x12345678;
    EXPECT_EQ(ColourValue(c.text, &target), c.match);
    EXPECT_EQ(target, c.match ? c.value : 0x12345678u);
  }
}

TEST(SyntaxColour, TableHoldsThirtyEightDistinctNames) {
  std::set<std::string> names;
  for (const auto& c : ColourNames()) {
    names.insert(c.name);
    std::uint32_t v = 0;
    EXPECT_TRUE(ColourValue(c.name, &v));
    EXPECT_EQ(v, c.value);
  }
  EXPECT_EQ(names.size(), 38u);
}

class FontDescriptor : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetJapaneseSystemOverride(0);
    platform::SetDefaultFaceName("");
  }
  void TearDown() override { platform::SetJapaneseSystemOverride(-1); }
};

TEST_F(FontDescriptor, FreshFontIsTheClassicDefault) {
  FontValue f;
  EXPECT_EQ(f.face, "MS Sans Serif");
  EXPECT_EQ(f.charset, 1);
  EXPECT_EQ(f.color, 0x80000008u);
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.style, 0);
  EXPECT_EQ(f.pitch, platform::FontPitch::Default);
}

TEST_F(FontDescriptor, FieldsApplyToTheGivenFont) {
  struct Case {
    const char* name;
    const char* text;
    void (*prepare)(FontValue&);
    void (*expect)(FontValue&);
  } cases[] = {
      {"face after an empty charset", ",Arial", [](FontValue& f) { f.face = "Courier"; },
       [](FontValue& f) { f.face = "Arial"; }},
      {"present empty face resets to the default", ",,", [](FontValue& f) { f.face = "Courier"; },
       [](FontValue& f) { f.face = "MS Sans Serif"; }},
      {"absent face field keeps the face", "SYMBOL_CHARSET",
       [](FontValue& f) { f.face = "Courier"; }, [](FontValue& f) { f.charset = 2; }},
      {"face keeps inner and trailing blanks", ",  Times New Roman ", [](FontValue&) {},
       [](FontValue& f) { f.face = "Times New Roman "; }},
      {"charset with blanks around", "  OEM_CHARSET  ", [](FontValue&) {},
       [](FontValue& f) { f.charset = 255; }},
      {"charset followed by other text", "OEM_CHARSET x", [](FontValue&) {}, [](FontValue&) {}},
      {"colour", ",,clRed", [](FontValue&) {},
       [](FontValue& f) {
         f.face = "MS Sans Serif";
         f.color = 0xFF;
       }},
      {"colour with a blank", ",, clRed", [](FontValue&) {},
       [](FontValue& f) { f.face = "MS Sans Serif"; }},
      {"height number", ",,,12,,,", [](FontValue&) {},
       [](FontValue& f) {
         f.SetHeight(12);
         f.face = "MS Sans Serif";
       }},
      {"height percent rounds to zero gives 1", ",,,%5", [](FontValue& f) { f.SetHeight(-12); },
       [](FontValue& f) {
         f.SetHeight(1);
         f.face = "MS Sans Serif";
       }},
      {"height percent", ",,,%150", [](FontValue& f) { f.SetHeight(-12); },
       [](FontValue& f) {
         f.SetHeight(-18);
         f.face = "MS Sans Serif";
       }},
      {"height zero changes nothing", ",,,0", [](FontValue& f) { f.SetHeight(-12); },
       [](FontValue& f) {
         f.SetHeight(-12);
         f.face = "MS Sans Serif";
       }},
      {"size in points", ",,,,12", [](FontValue&) {},
       [](FontValue& f) {
         f.SetSize(12);
         f.face = "MS Sans Serif";
       }},
      {"size percent", ",,,,%200", [](FontValue& f) { f.SetSize(9); },
       [](FontValue& f) {
         f.SetSize(18);
         f.face = "MS Sans Serif";
       }},
      {"style list replaces the style", ",,,,,fsBold+fsItalic",
       [](FontValue& f) { f.style = platform::kFontUnderline; },
       [](FontValue& f) {
         f.face = "MS Sans Serif";
         f.style = platform::kFontBold | platform::kFontItalic;
       }},
      {"unknown style entries are ignored", ",,,,, fsBold + nonsense",
       [](FontValue& f) { f.style = platform::kFontUnderline; },
       [](FontValue& f) {
         f.face = "MS Sans Serif";
         f.style = platform::kFontBold;
       }},
      {"only unknown style keeps the style", ",,,,,nonsense",
       [](FontValue& f) { f.style = platform::kFontUnderline; },
       [](FontValue& f) {
         f.face = "MS Sans Serif";
         f.style = platform::kFontUnderline;
       }},
      {"pitch", ",,,,,, fpFixed ", [](FontValue&) {},
       [](FontValue& f) {
         f.face = "MS Sans Serif";
         f.pitch = platform::FontPitch::Fixed;
       }},
      {"eighth field ignored", "ANSI_CHARSET,A,clRed,1,,,fpVariable,fpFixed", [](FontValue&) {},
       [](FontValue& f) {
         f.charset = 0;
         f.face = "A";
         f.color = 0xFF;
         f.SetHeight(1);
         f.pitch = platform::FontPitch::Variable;
       }},
  };
  for (const auto& c : cases) {
    FontValue actual;
    c.prepare(actual);
    FontValue expected = actual;
    c.expect(expected);
    ApplyFontDescriptor(c.text, actual);
    EXPECT_EQ(actual, expected) << c.name << " (face '" << actual.face << "', height "
                                << actual.Height() << ", style " << int(actual.style) << ")";
  }
}

TEST_F(FontDescriptor, HeightAndSizeAreOneQuantity) {
  FontValue f;
  ApplyFontDescriptor(",,,,12", f);  // 12 points at 96 pixels per inch
  EXPECT_EQ(f.Height(), -16);
  ApplyFontDescriptor(",,,%150", f);  // the scale works on the 12 points
  EXPECT_EQ(f.Height(), -24);
  EXPECT_EQ(f.Size(), 18);
}

TEST_F(FontDescriptor, DefaultFaceFollowsTheSystemLanguageOrTheReplacement) {
  platform::SetJapaneseSystemOverride(1);
  FontValue f;
  ApplyFontDescriptor(",", f);
  EXPECT_EQ(f.face, platform::kDefaultJapaneseFace);
  platform::SetDefaultFaceName("DejaVu Sans");
  ApplyFontDescriptor(",", f);
  EXPECT_EQ(f.face, "DejaVu Sans");
  platform::SetDefaultFaceName("");
  platform::SetJapaneseSystemOverride(0);
  EXPECT_EQ(platform::DefaultFaceName(), "MS Sans Serif");
}

TEST(SystemLanguage, PrimaryLanguageIsTheLowTenBits) {
  EXPECT_TRUE(platform::IsJapaneseLanguageId(0x0411));  // Japanese (Japan)
  EXPECT_TRUE(platform::IsJapaneseLanguageId(0x0011));
  EXPECT_TRUE(platform::IsJapaneseLanguageId(0xFC11));   // any sub-language
  EXPECT_FALSE(platform::IsJapaneseLanguageId(0x0409));  // English (US)
  EXPECT_FALSE(platform::IsJapaneseLanguageId(0x0412));  // Korean
  EXPECT_FALSE(
      platform::IsJapaneseLanguageId(0x0111));  // ten bits, not eight: 0x111 is another language
}

TEST(FontValueRounding, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(platform::MulDivRound(8, 96, 72), 11);    // 10.67
  EXPECT_EQ(platform::MulDivRound(-11, 72, 96), -8);  // -8.25
  EXPECT_EQ(platform::MulDivRound(3, 1, 2), 2);       // 1.5
  EXPECT_EQ(platform::MulDivRound(-3, 1, 2), -2);
}

}  // namespace
