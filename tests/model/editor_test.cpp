// SPDX-License-Identifier: GPL-3.0-or-later
// The value editors on their own: (starting value, key or typed text) in,
// (shown text, stored value, what the sheet must do next) out.
#include <gtest/gtest.h>
#include "support/codes.h"

#include <map>
#include <vector>

#include "model/editor_frequency.h"
#include "model/editor_integer.h"
#include "model/editor_option.h"
#include "model/editor_scaled.h"
#include "model/editor_text.h"

namespace {

using namespace editor;

Input Typed(const std::string& text) {
  Input in;
  in.inputMode = 1;
  in.text = text;
  return in;
}
Input Key(int action) {
  Input in;
  in.keys = true;
  in.action = action;
  return in;
}

// ---------------------------------------------------------------- integer

struct IntegerCase {
  const char* name;
  IntegerParams params;
  int start;
  Input in;
  int value;
  const char* shown;
  int result;
};

TEST(IntegerEditor, Table) {
  const IntegerParams byte{0, 255, 0, 1, {}, false};
  const IntegerParams offset1{0, 9, 1, 1, {}, false};
  const IntegerParams fives{0, 1275, 0, 5, {}, false};
  const IntegerParams signedParams{-5, 5, 0, 1, {}, false};
  const std::vector<IntegerCase> cases = {
      {"plain", byte, 7, Typed("42"), 42, "42", 0},
      {"filters letters", byte, 7, Typed("a1b2"), 12, "12", 0},
      {"rounds half up", byte, 7, Typed("2.5"), 3, "3", 0},
      {"clamps high", byte, 7, Typed("999"), 255, "255", 0},
      {"clamps low", byte, 7, Typed("-3"), 0, "0", 0},
      {"unreadable keeps", byte, 7, Typed("abc"), 7, "7", 0},
      {"only a sign keeps", byte, 7, Typed("-"), 7, "7", 0},
      {"cut to nine", byte, 7, Typed("0000000001234"), 0, "0", 0},
      {"offset removed", offset1, 0, Typed("5"), 4, "5", 0},
      {"step rounds down", fives, 0, Typed("12"), 10, "10", 0},
      {"step rounds half away", fives, 0, Typed("12.5"), 15, "15", 0},
      {"step 13", fives, 0, Typed("13"), 15, "15", 0},
      {"space adds step", fives, 10, Key(' '), 15, "15", 0},
      {"space wraps to min", fives, 1275, Key(' '), 0, "0", 0},
      {"backspace wraps to max", fives, 0, Key(8), 1275, "1275", 0},
      // The ends are stops of their own before the wrap.
      {"backspace reaches min", fives, 5, Key(8), 0, "0", 0},
      {"space reaches max", fives, 1270, Key(' '), 1275, "1275", 0},
      {"backspace reaches min 0 of a byte", byte, 1, Key(8), 0, "0", 0},
      {"backspace reaches a negative min", signedParams, -4, Key(8), -5, "-5", 0},
      {"backspace wraps from a negative min", signedParams, -5, Key(8), 5, "5", 0},
      {"space reaches max of a byte", byte, 254, Key(' '), 255, "255", 0},
      {"digit starts editing", byte, 7, Key('4'), 7, "4", 2},
      {"enter starts editing", byte, 77, Key(13), 77, "77", 2},
      {"F2 starts editing", byte, 77, Key(0x7100), 77, "77", 2},
      {"minus ignored when unsigned", byte, 7, Key('-'), 7, "7", 0},
      {"minus starts editing when signed", signedParams, 1, Key('-'), 1, "-", 2},
      {"negative typed", signedParams, 1, Typed("-4"), -4, "-4", 0},
      {"negative halves away", signedParams, 1, Typed("-2.5"), -3, "-3", 0},
      {"key without grid ignored", byte, 7, Input{' ', false, 0, "", 0}, 7, "7", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int v = c.start;
    Output out;
    EditInteger(c.params, v, c.in, out);
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(out.text, c.shown);
    EXPECT_EQ(Num(out.result), c.result);
    EXPECT_EQ(out.changed, c.value != c.start);
  }
}

TEST(IntegerEditor, TypedCharacterReplacesTextWithCaretAfterIt) {
  int v = 123;
  Output out;
  EditInteger({0, 255, 0, 1, {}, false}, v, Key('9'), out);
  EXPECT_EQ(out.text, "9");
  EXPECT_EQ(out.cursor, 1);
  EXPECT_EQ(out.selection, 0);
}

TEST(IntegerEditor, ClampPullsAStoredValueIntoRange) {
  const IntegerParams params{40, 300, 0, 1, {}, true};
  int v = 1000;
  Output out;
  EditInteger(params, v, Key('x'), out);
  EXPECT_EQ(v, 300);
  EXPECT_TRUE(out.changed);
  // Without an action nothing is clamped: a plain show leaves the image alone.
  v = 1000;
  Output shown;
  EditInteger(params, v, Input{}, shown);
  EXPECT_EQ(v, 1000);
  EXPECT_FALSE(shown.changed);
}

TEST(IntegerEditor, FixedTextIsShownInsteadOfTheNumber) {
  int v = 3;
  Output out;
  EditInteger({0, 9, 0, 1, std::string("fixed"), false}, v, Input{}, out);
  EXPECT_EQ(out.text, "fixed");
}

// ---------------------------------------------------------------- scaled

struct ScaledCase {
  const char* name;
  ScaledParams params;
  int start;
  Input in;
  int value;
  const char* shown;
  int result;
};

TEST(ScaledEditor, Table) {
  const ScaledParams tenths{10, 50, 255, false, 2, " sec", false};
  const ScaledParams seconds{1, 0, 255, true, 4, " sec", true};
  const ScaledParams msec{1, 60, 200, true, 4, " msec", false};
  const ScaledParams hundredths{100, 80, 150, true, 1, " sec", false};
  const std::vector<ScaledCase> cases = {
      {"50 at scale 10", tenths, 50, Input{}, 50, "5.0 sec", 0},
      {"255 at scale 10", tenths, 255, Input{}, 255, "25.5 sec", 0},
      {"typed 7.25", tenths, 50, Typed("7.25"), 72, "7.2 sec", 0},
      {"typed 3 clamps", tenths, 60, Typed("3"), 50, "5.0 sec", 0},
      {"typed 99 clamps", tenths, 60, Typed("99"), 255, "25.5 sec", 0},
      {"unreadable keeps", tenths, 60, Typed("x"), 60, "6.0 sec", 0},
      {"80 at scale 100", hundredths, 80, Input{}, 80, "0.80 sec", 0},
      {"whole seconds trim the point", seconds, 60, Input{}, 60, "60 sec", 0},
      {"zero is off without suffix", seconds, 0, Input{}, 0, "OFF", 0},
      {"zero is off with suffix", msec, 0, Input{}, 0, "OFF msec", 0},
      {"typed off", seconds, 30, Typed("Off"), 0, "OFF", 0},
      {"typed o f with blanks", seconds, 30, Typed(" o  F"), 0, "OFF", 0},
      {"typed of-digit is no off", seconds, 30, Typed("o1f"), 1, "1 sec", 0},
      {"off on a setting without off", tenths, 60, Typed("off"), 50, "5.0 sec", 0},
      {"space adds one", seconds, 5, Key(' '), 6, "6 sec", 0},
      {"space wraps", seconds, 255, Key(' '), 0, "0 sec", 0},
      // Stepping wraps between minimum and maximum; zero, even where it
      // means off, is no extra stop.
      {"off steps up out of off", seconds, 0, Key(' '), 1, "1 sec", 0},
      {"off steps down to the maximum", seconds, 0, Key(8), 255, "255 sec", 0},
      {"maximum wraps to the minimum", msec, 200, Key(' '), 60, "60 msec", 0},
      {"minimum wraps to the maximum", msec, 60, Key(8), 200, "200 msec", 0},
      {"off below the minimum gives the maximum", msec, 0, Key(' '), 200, "200 msec", 0},
      {"enter edits trimmed text", tenths, 50, Key(13), 50, "5.0", 2},
      {"digit starts editing", tenths, 50, Key('7'), 50, "7", 2},
      {"point starts editing", tenths, 50, Key('.'), 50, ".", 2},
      {"o starts editing", seconds, 10, Key('o'), 10, "o", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int v = c.start;
    Output out;
    EditScaled(c.params, v, c.in, out, "OFF");
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(out.text, c.shown);
    EXPECT_EQ(Num(out.result), c.result);
  }
}

TEST(ScaledEditor, TypedDecimalsKeepTheirLastDigit) {
  // Each of these is stored in binary a hair below what was typed, so
  // multiplying by the scale alone lands one step lower.
  const ScaledParams dualWatch{100, 80, 150, true, 1, " sec", false};
  const ScaledParams powerSave{100, 1, 255, true, 1, " sec", false};
  struct Case {
    const ScaledParams* params;
    const char* typed;
    int value;
  };
  const Case cases[] = {
      {&dualWatch, "1.13", 113}, {&dualWatch, "1.14", 114}, {&dualWatch, "1.15", 115},
      {&dualWatch, "1.16", 116}, {&powerSave, "0.29", 29},  {&powerSave, "0.57", 57},
      {&powerSave, "0.58", 58},  {&powerSave, "2.01", 201}, {&powerSave, "2.55", 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    int v = 100;
    Output out;
    EditScaled(*c.params, v, Typed(c.typed), out, "OFF");
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(out.text, std::string(c.typed) + " sec");
  }
}

TEST(ScaledEditor, TrimStopsAfterThePointAndAtTheLimit) {
  EXPECT_EQ(ScaledText(60, 1, 4), "60");
  EXPECT_EQ(ScaledText(60, 1, 2), "60.0");
  EXPECT_EQ(ScaledText(100, 1, 4), "100");  // zeros before the point stay
  EXPECT_EQ(ScaledText(125, 100, 4), "1.25");
  EXPECT_EQ(ScaledText(0, 100, 1), "0.00");
}

// ---------------------------------------------------------------- option

class FakeList : public OptionList {
 public:
  // Column order 2, 0, 1: stepping follows this, not the values.
  std::vector<std::pair<int, std::string>> items{{2, "High"}, {0, "Low"}, {1, "Mid"}};
  std::string TextFor(int value) override {
    for (auto& [v, t] : items)
      if (v == value) return t;
    return "error";
  }
  int Step(int value, int d) override {
    const int n = static_cast<int>(items.size());
    for (int i = 0; i < n; ++i)
      if (items[i].first == value) return items[((i + d) % n + n) % n].first;
    return items[0].first;
  }
};

TEST(OptionEditor, Table) {
  struct Case {
    const char* name;
    int start;
    Input in;
    int value;
    const char* shown;
    int result;
  };
  Input pick;
  pick.inputMode = 2;
  pick.choice = 0;
  const std::vector<Case> cases = {
      {"shows", 0, Input{}, 0, "Low", 0},
      {"unlisted shows error", 7, Input{}, 7, "error", 0},
      {"space next", 2, Key(' '), 0, "Low", 0},
      {"space wraps last to first", 1, Key(' '), 2, "High", 0},
      {"backspace wraps first to last", 2, Key(8), 1, "Mid", 0},
      {"unlisted space goes to first", 7, Key(' '), 2, "High", 0},
      {"unlisted backspace goes to first", 7, Key(8), 2, "High", 0},
      {"enter asks for a chooser", 1, Key(13), 1, "Mid", 1},
      {"pick applied", 1, pick, 0, "Low", 0},
      {"typed letter ignored", 1, Key('x'), 1, "Mid", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeList list;
    int v = c.start;
    Output out;
    EditOption(list, v, c.in, out);
    EXPECT_EQ(v, c.value);
    EXPECT_EQ(out.text, c.shown);
    EXPECT_EQ(Num(out.result), c.result);
    EXPECT_EQ(out.changed, c.value != c.start);
  }
}

// ---------------------------------------------------------------- text

TEST(TextEditor, TypedTextIsCutPaddedAndCleaned) {
  std::vector<std::uint8_t> field(4, 'x');
  Output out;
  EditText(field, Typed("ab\tcdef"), out);
  EXPECT_TRUE(out.changed);
  EXPECT_EQ(std::string(field.begin(), field.end()), "ab c");
  Output shortOut;
  EditText(field, Typed("z"), shortOut);
  EXPECT_EQ(std::string(field.begin(), field.end()), "z   ");
  EXPECT_EQ(shortOut.text, "z");
  // A non-ASCII character becomes spaces, never bytes outside 32..126.
  Output utf;
  EditText(field, Typed("\xC3\xA9t"), utf);
  EXPECT_EQ(std::string(field.begin(), field.end()), "  t ");
}

TEST(TextEditor, KeysOpenTheEditor) {
  std::vector<std::uint8_t> field{'a', 'b', 0x01, ' '};
  struct Case {
    int key;
    const char* text;
    int cursor;
  };
  for (const Case c : {Case{13, "ab", 0}, Case{8, "ab", 0}, Case{' ', "ab", 0},
                       Case{0x7100, "ab", 0}, Case{'Q', "Q", 1}}) {
    Output out;
    EditText(field, Key(c.key), out);
    EXPECT_EQ(Num(out.result), 2) << c.key;
    EXPECT_EQ(out.text, c.text) << c.key;
    EXPECT_EQ(out.cursor, c.cursor) << c.key;
  }
}

TEST(DigitEditor, StoresExactlyTheRightCountElseClears) {
  struct Case {
    const char* typed;
    std::vector<std::uint8_t> bytes;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"0123456789", {1, 23, 45, 67, 89}, "0123456789"},
      {"01-23 45.67x89", {1, 23, 45, 67, 89}, "0123456789"},
      {"012345678", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
      {"01234567890", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
      {"", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    std::vector<std::uint8_t> field(5, 0);
    Output out;
    EditDigits(field, Typed(c.typed), out);
    EXPECT_EQ(field, c.bytes);
    EXPECT_EQ(out.text, c.shown);
  }
}

TEST(ChannelName, EachPositionHasItsOwnSet) {
  const std::map<std::string, std::string> cases = {
      {"eh1", "Eh "}, {"aba", "abA"}, {"k", "   "},   {"KKK", "   "},
      {"B1b", "b1b"}, {"-=B", "-=b"}, {"12 ", "12 "}, {"hhh", "hh "},
  };
  for (const auto& [typed, fitted] : cases) EXPECT_EQ(FitChannelName(typed), fitted) << typed;
}

// ---------------------------------------------------------------- frequency

TEST(FrequencyEditor, RasterSnap) {
  struct Case {
    std::uint32_t hz;
    std::optional<std::uint32_t> snapped;
  };
  const std::vector<Case> cases = {
      {156'050'000, 156'050'000}, {156'031'200, 156'031'250}, {156'031'300, std::nullopt},
      {156'025'000, 156'025'000}, {156'037'500, 156'037'500}, {156'001'000, std::nullopt},
      {156'006'250, 156'006'250}, {199'990'000, 199'990'000}, {100'000'000, 100'000'000},
  };
  for (const auto& c : cases) EXPECT_EQ(SnapToRaster(c.hz), c.snapped) << c.hz;
}

TEST(FrequencyEditor, TypedReceiveFrequencies) {
  struct Case {
    const char* typed;
    std::uint32_t hz;
    bool set;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"156.05", 156'050'000, true, "156.05000"},   {"156.0312", 156'031'250, true, "156.03125"},
      {"156.0313", 160'000'000, true, "160.00000"},  // rejected: old value stays
      {"250", 199'990'000, true, "199.99000"},      {"50", 100'000'000, true, "100.00000"},
      {"MHz", 160'000'000, true, "160.00000"},      {"", 160'000'000, true, "160.00000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Frequency rx{160'000'000, true};
    Frequency tx{161'000'000, true};
    Output out;
    EditFrequency(false, rx, tx, Typed(c.typed), out);
    EXPECT_EQ(rx.hz, c.hz);
    EXPECT_EQ(rx.set, c.set);
    EXPECT_EQ(out.text, c.shown);
    EXPECT_EQ(tx.hz, 161'000'000u);  // duplex: transmit untouched
  }
}

TEST(FrequencyEditor, SimplexReceiveMovesBothAndTransmitShowsArrow) {
  Frequency rx{156'800'000, true};
  Frequency tx{156'800'000, true};
  Output out;
  EditFrequency(false, rx, tx, Typed("156.850"), out);
  EXPECT_TRUE(out.changed);
  EXPECT_EQ(rx.hz, 156'850'000u);
  EXPECT_EQ(tx.hz, 156'850'000u);
  Output txOut;
  const auto r = EditFrequency(true, rx, tx, Input{}, txOut);
  EXPECT_EQ(txOut.text, "<-");
  EXPECT_TRUE(r.centred);
  // Changing the transmit side of a simplex channel leaves receive alone.
  Output again;
  EditFrequency(true, rx, tx, Typed("157"), again);
  EXPECT_EQ(rx.hz, 156'850'000u);
  EXPECT_EQ(tx.hz, 157'000'000u);
}

TEST(FrequencyEditor, UnsetShowsNothingAndTakesAValue) {
  Frequency rx{0, false};
  Frequency tx{0, false};
  Output out;
  EditFrequency(true, rx, tx, Input{}, out);
  EXPECT_EQ(out.text, "");
  Output typed;
  EditFrequency(true, rx, tx, Typed("156.3"), typed);
  EXPECT_TRUE(tx.set);
  EXPECT_FALSE(rx.set);
  EXPECT_EQ(tx.hz, 156'300'000u);
}

TEST(FrequencyEditor, KeysOpenTheEditor) {
  Frequency rx{156'800'000, true};
  Frequency tx{157'000'000, true};
  struct Case {
    bool transmit;
    int key;
    const char* text;
    int cursor;
    int selection;
  };
  const std::vector<Case> cases = {
      {false, '.', "156.80000", 4, 0}, {true, '=', "156.80000", 9, 0},
      {false, '=', "156.80000", 0, 0},  // '=' means nothing on the receive cell
      {false, '7', "7", 1, 0},         {false, ' ', " ", 1, 0},
      {true, 13, "157.00000", 0, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    Output out;
    EditFrequency(c.transmit, rx, tx, Key(c.key), out);
    EXPECT_EQ(out.text, c.text);
    EXPECT_EQ(out.cursor, c.cursor);
    EXPECT_EQ(out.selection, c.selection);
    EXPECT_EQ(Num(out.result), (c.key == '=' && !c.transmit) ? 0 : 2);
  }
}

}  // namespace
