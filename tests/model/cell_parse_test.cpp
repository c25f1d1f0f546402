// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "cell_test_support.h"
#include "model/cell.h"
#include "platform/fatal.h"
#include "platform/system_language.h"

namespace {

using CellParse = CellFixtureTable;

std::string FatalOf(const std::string& text, std::int32_t* counters) {
  cmcCellObj cell;
  try {
    cell.Parse(text, nullptr, counters);
  } catch (const platform::FatalStop& stop) {
    return stop.what();
  }
  return "no stop";
}

TEST_F(CellParse, AttributesAndCounterCaption) {
  std::int32_t counters[10] = {4};
  cmcCellObj cell;
  EXPECT_EQ(cell.Parse("{S>}Ch\\(@ch0+1)", nullptr, counters), "");
  EXPECT_TRUE(cell.Selectable());
  EXPECT_EQ(cell.HorizontalAlign(), 2);
  EXPECT_EQ(cell.Caption(), "Ch5");
  EXPECT_EQ(counters[0], 4);  // an expansion reads, never changes
}

TEST_F(CellParse, CodesSetAndNegatedCodesClearTheirBits) {
  cmcCellObj parent;
  parent.Parse("{SWTX}", nullptr);
  struct Case {
    const char* text;
    std::uint8_t layout;
    std::uint8_t state;
  } cases[] = {
      {"", 0x10, 0x0D},        {"{!S}", 0x10, 0x09}, {"{!W!T}", 0x00, 0x05},
      {"{! S}", 0x10, 0x09},  // the negation waits past a blank
      {"{!<S}", 0x10, 0x0D},  // alignments ignore and use up the negation
      {"{^_}", 0x19, 0x0D},    {"{>-}", 0x16, 0x0D}, {"{<~HB+}", 0xF0, 0x0D},
      {"{Q}", 0x10, 0x0E},     {"{!X}", 0x10, 0x0C}, {"{!Q}", 0x10, 0x0D},  // clears only the Q bit
      {"{\\S}", 0x10, 0x0D},    // an escaped code is inert
      {"{S}{!S}", 0x10, 0x09},  // several attribute parts apply in order
      {"S", 0x10, 0x0D},        // outside braces it is caption
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    cmcCellObj cell;
    cell.Parse(c.text, &parent);
    EXPECT_EQ(cell.LayoutByte(), c.layout);
    EXPECT_EQ(cell.StateByte(), c.state);
  }
}

TEST_F(CellParse, BindingsTakeCategoryCellIndexAndParameter) {
  std::int32_t counters[10] = {0, 7};
  cmcCellObj cell;
  cell.Parse("{(%CT_UsaCh.CL_ChList_No[@ch1])}", nullptr, counters);
  EXPECT_EQ(cell.Key(), (CellKey{3, 78, 7}));
  EXPECT_FALSE(cell.HasParameter());

  cell.Parse("{(%CL_Model[3]:x\\:y)}", nullptr, counters);
  EXPECT_EQ(cell.Key(), (CellKey{CT_NoCategory, 43, 3}));
  EXPECT_EQ(cell.Parameter(), "x:y");

  struct Case {
    const char* text;
    CellKey key;
    const char* parameter;
  } cases[] = {
      {"{(%CallSheet:GI_Sheet_Comm)}", {8, CallSheet, 0}, "GI_Sheet_Comm"},
      {"{(%CL_Model[abc])}", {8, CL_Model, 0}, ""},
      {"{(%CL_Model[-2])}", {8, CL_Model, -2}, ""},
      {"{(%CT_WxCh.CL_WX_ChInh[12]:a\\.b\\\\c)}", {6, CL_WX_ChInh, 12}, "a.b\\c"},
      {"{(%CL_Model:a\\.b)}", {8, CL_Model, 0}, "a.b"},
      {"{(%CL_Model:a\\|b)}", {8, CL_Model, 0}, "a|b"},
      {"{(%CL_Model:x\\)y)}", {8, CL_Model, 0}, "x)y"},
      {"{(%)}", {8, CL_NoCell, 0}, ""},
      {"{(%.CL_Model)}", {8, CL_Model, 0}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    cell.Parse(c.text, nullptr, counters);
    EXPECT_EQ(cell.Key(), c.key);
    EXPECT_EQ(cell.Parameter(), c.parameter);
  }
}

TEST_F(CellParse, BindingWithoutParentForgetsThePreviousDefinition) {
  cmcCellObj cell;
  cell.Parse("{(%CT_IntCh.CL_ChList_No[9]:p)}", nullptr);
  cell.Parse("{(%Flex0)}", nullptr);
  EXPECT_EQ(cell.Key(), (CellKey{CT_NoCategory, Flex0, 0}));
  EXPECT_FALSE(cell.HasParameter());
}

TEST_F(CellParse, CounterItemsIncrementAndAssign) {
  std::int32_t counters[10] = {0, 0, 5, 0, 0, 0, 0, 0, 0, 9};
  cmcCellObj cell;
  cell.Parse("{(@ch2++)(@ch2++)(@ch3 = 12)(@ch9=-1)}", nullptr, counters);
  EXPECT_EQ(counters[2], 7);
  EXPECT_EQ(counters[3], 12);
  EXPECT_EQ(counters[9], -1);
  // Attributes are read before the caption, so the caption sees the change.
  cell.Parse("{(@ch0++)}No.\\(@ch0)", nullptr, counters);
  EXPECT_EQ(cell.Caption(), "No.1");
}

TEST_F(CellParse, RowsSplitAtUnescapedBars) {
  cmcCellObj cell;
  EXPECT_EQ(cell.Parse("a\\|b|c", nullptr), "c");
  EXPECT_EQ(cell.Caption(), "a|b");

  std::string rest = "{S}one|{(%CL_Model:p\\|q)}two||four";
  std::vector<std::string> captions;
  while (!rest.empty()) {
    cmcCellObj c;
    rest = c.Parse(rest, nullptr);
    captions.push_back(c.Caption());
  }
  EXPECT_EQ(captions, (std::vector<std::string>{"one", "two", "", "four"}));

  cmcCellObj skipped;
  skipped.SetCaption("old");
  EXPECT_EQ(skipped.Parse("{S}new|tail", nullptr, nullptr, true), "tail");
  EXPECT_FALSE(skipped.HasCaption());
  EXPECT_FALSE(skipped.Selectable());
}

TEST_F(CellParse, CaptionEscapes) {
  std::int32_t counters[10] = {1234567, 41};
  struct Case {
    const char* text;
    const char* caption;
  } cases[] = {
      {"  two\\Nlines\\nhere \t", "two\nlines\nhere"},
      {"a\\_b\\_", "a b "},
      {"\\{not attributes\\}", "{not attributes}"},
      {"50\\%", "50%"},
      {"tail\\", "tail"},
      {"\\(@ch1+1)/\\(@ch1)/\\(@ch1-1)", "42/41/40"},
      {"\\(@ch0)", "123456"},  // at most six characters
      {"\\\\", "\\"},
      {"a{S}b", "ab"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    cmcCellObj cell;
    cell.Parse(c.text, nullptr, counters);
    EXPECT_EQ(cell.Caption(), c.caption);
  }
}

TEST_F(CellParse, EmptyCaptionKeepsTheParentsOne) {
  cmcCellObj parent;
  parent.Parse("Parent", nullptr);
  cmcCellObj cell;
  cell.Parse("{S}  ", &parent);
  EXPECT_EQ(cell.Caption(), "Parent");
  cmcCellObj orphan;
  orphan.Parse("{S} \t ", nullptr);
  EXPECT_FALSE(orphan.HasCaption());
  EXPECT_EQ(orphan.Caption(), "");
}

TEST_F(CellParse, MalformedCounterReferencesStop) {
  std::int32_t counters[10] = {};
  struct Case {
    const char* text;
    std::int32_t* counters;
    const char* message;
  } cases[] = {
      {"\\(@ch1", counters, "Illegal Ch No."},
      {"\\(@ch12)", counters, "Ch No. Error"},
      {"\\(@cx1)", counters, "Ch No. Error"},
      {"\\(@ch)", counters, "Ch No. Error"},
      {"\\(@ch1)", nullptr, "Ch No. Error"},
      {"{(@ch1++)}", nullptr, "Ch No. Error"},
      {"{(@chA++)}", counters, "Ch No. Error"},
      {"{(%CL_Model[@ch1])}", nullptr, "Ch No. Error"},
      {"{(%CL_Model[@ch10])}", counters, "Ch No. Error"},
      {"{(%CL_Nothing)}", counters, "Cannot use the specified cell.\n'CL_Nothing'"},
      {"{(%CT_Nothing.CL_Model)}", counters, "Cannot use the specified category.\n'CT_Nothing'"},
      {"{(%CL_Fch_FreqR:12.5)}", counters, "Cannot use the specified category.\n'CL_Fch_FreqR:12'"},
  };
  for (const auto& c : cases) EXPECT_EQ(FatalOf(c.text, c.counters), c.message) << c.text;
}

TEST_F(CellParse, KeyItems) {
  cmcCellObj cell;
  cell.Parse("{(Color=clBtnFace)(ImageIndex=12)(PopupMenu=GI_PMenu_Ch)}", nullptr);
  EXPECT_EQ(cell.Color(), 0x8000000Fu);
  EXPECT_EQ(cell.ImageIndex(), 12);
  EXPECT_EQ(cell.PopupMenu(), "GI_PMenu_Ch");

  cell.Parse("{(Color=clNoSuch)(Color)(ImageIndex)}", nullptr);
  EXPECT_EQ(cell.Color(), cmcCellObj::kDefaultColor);
  EXPECT_EQ(cell.ImageIndex(), -1);

  struct FlagCase {
    const char* text;
    std::uint8_t state;
    std::uint8_t extra;
  } flags[] = {
      {"{(Flag0=1)(Flag3=1)}", 0x90, 0x00},
      {"{(Flag4=1)(Flag7=1)}", 0x00, 0x09},
      {"{(Flag8=1)(Flag1=2)(Flag2)}", 0x00, 0x00},
      {"{(Flag5=1)(Flag5=0)(Flag1=1)}", 0x20, 0x00},
  };
  for (const auto& f : flags) {
    SCOPED_TRACE(f.text);
    cell.Parse(f.text, nullptr);
    EXPECT_EQ(cell.StateByte(), f.state);
    EXPECT_EQ(cell.ExtraFlags(), f.extra);
    for (int d = 0; d < 8; ++d) {
      const bool on = d < 4 ? (f.state >> (4 + d)) & 1 : (f.extra >> (d - 4)) & 1;
      EXPECT_EQ(cell.Flag(d), on) << f.text << " flag " << d;
    }
  }
}

TEST_F(CellParse, CellModelsNestAndASelfReferenceStops) {
  cmcCellObj cell;
  cell.Parse("{($Nested)}", nullptr);
  EXPECT_TRUE(cell.Selectable());
  EXPECT_TRUE(cell.RowMarker());
  EXPECT_EQ(cell.HorizontalAlign(), 2);
  EXPECT_EQ(cell.Color(), 0x0000FFFFu);
  EXPECT_EQ(cell.ImageIndex(), 4);
  EXPECT_EQ(FatalOf("{($Loop)}", nullptr), "Cell model nested too deeply.\n'Loop'");
  EXPECT_EQ(FatalOf("{($Missing)}", nullptr),
            "GTEX Error !\nThe index 'CellModel_Missing' was not found.");
}

// The default face depends on the system language; pin it for one test.
struct NotJapanese {
  NotJapanese() { platform::SetJapaneseSystemOverride(0); }
  ~NotJapanese() { platform::SetJapaneseSystemOverride(-1); }
};

TEST_F(CellParse, FontStartsFromTheParentsFont) {
  NotJapanese pin;
  cmcCellObj parent;
  parent.Parse("{(Font=,Arial,clRed,-20,,fsBold,)}", nullptr);
  ASSERT_NE(parent.Font(), nullptr);
  EXPECT_EQ(parent.Font()->face, "Arial");

  cmcCellObj child;
  child.Parse("{(Font=,,,%50)}", &parent);
  ASSERT_NE(child.Font(), nullptr);
  EXPECT_EQ(child.Font()->Height(), -10);
  EXPECT_EQ(child.Font()->face, "MS Sans Serif");  // a present empty face field
  EXPECT_EQ(child.Font()->color, 0x000000FFu);
  EXPECT_TRUE(child.Font()->Bold());

  cmcCellObj noFont;
  noFont.Parse("{S}", &parent);
  EXPECT_EQ(noFont.Font(), nullptr);  // draws in the sheet's font

  cmcCellObj fresh;
  fresh.Parse("{(Font=,,,,10)(Font=,,,,,fsItalic)}", nullptr);
  ASSERT_NE(fresh.Font(), nullptr);
  EXPECT_EQ(fresh.Font()->Size(), 10);
  EXPECT_TRUE(fresh.Font()->Italic());
}

TEST_F(CellParse, EmptyCellInheritsPlainSettingsAndCopies) {
  cmcCellObj root;
  root.Parse("{(PopupMenu=GI_PMenu_Root)}", nullptr);
  cmcCellObj parent;
  parent.Parse(
      "{S^B(%CT_FreeCh.CL_Fch_ChName[5]:p)(ImageIndex=3)(Color=clAqua)(Flag6=1)(Font=,Arial)}Cap",
      &root);
  cmcCellObj cell;
  cell.Parse("", &parent);
  EXPECT_EQ(cell.Parent(), &parent);
  EXPECT_EQ(cell.Key(), parent.Key());
  EXPECT_EQ(cell.ImageIndex(), 3);
  EXPECT_EQ(cell.LayoutByte(), parent.LayoutByte());
  EXPECT_EQ(cell.StateByte(), parent.StateByte());
  EXPECT_EQ(cell.ExtraFlags(), parent.ExtraFlags());
  EXPECT_EQ(cell.Color(), 0x00FFFF00u);
  EXPECT_EQ(cell.Parameter(), "p");
  EXPECT_EQ(cell.Caption(), "Cap");
  EXPECT_EQ(cell.Font(), nullptr);
  EXPECT_FALSE(cell.OwnPopupMenu().has_value());
  EXPECT_EQ(cell.PopupMenu(), "GI_PMenu_Root");

  // An empty own name does not hide the parent's.
  cell.Parse("{(PopupMenu=)}", &parent);
  EXPECT_EQ(cell.PopupMenu(), "GI_PMenu_Root");
  cmcCellObj lone;
  EXPECT_EQ(lone.PopupMenu(), "");
}

TEST_F(CellParse, CopiesAreDeep) {
  cmcCellObj original;
  original.Parse("{(Font=,Arial)(%CL_Model[2]:p)(PopupMenu=M)}Cap", nullptr);
  cmcCellObj copy(original);
  original.Parse("{(Font=,Courier)}Other", nullptr);
  ASSERT_NE(copy.Font(), nullptr);
  EXPECT_EQ(copy.Font()->face, "Arial");
  EXPECT_EQ(copy.Caption(), "Cap");
  EXPECT_EQ(copy.Parameter(), "p");
  EXPECT_EQ(copy.Key(), (CellKey{8, CL_Model, 2}));
  EXPECT_EQ(copy.PopupMenu(), "M");
  cmcCellObj assigned;
  assigned = copy;
  EXPECT_NE(assigned.Font(), copy.Font());
  EXPECT_EQ(*assigned.Font(), *copy.Font());
}

}  // namespace
