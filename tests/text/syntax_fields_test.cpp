// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/buff.h"
#include "support/fixed_pitch_canvas.h"
#include "text/syntax.h"
#include "text/text_extent.h"

namespace {

TEST(SyntaxField, SplitsAtEveryDelimiter) {
  struct Case {
    std::string text;
    char delimiter;
    int k;
    std::optional<std::string> field;
  } cases[] = {
      {"a,,b", ',', 0, "a"},
      {"a,,b", ',', 1, ""},
      {"a,,b", ',', 2, "b"},
      {"a,,b", ',', 3, std::nullopt},
      {"", ',', 0, ""},
      {"", ',', 1, std::nullopt},
      {"a,", ',', 1, ""},
      {",", ',', 2, std::nullopt},
      {"x|y", ',', 0, "x|y"},
      {"a,b", ',', -1, std::nullopt},
      // A multi-byte character never hides or fakes a delimiter.
      {"\xE3\x82\xB4,\xE3\x82\xB7", ',', 1, "\xE3\x82\xB7"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Field(c.text, c.delimiter, c.k), c.field) << "'" << c.text << "' k=" << c.k;
  }
}

TEST(SyntaxField, AnyByteOfTheSetEndsAField) {
  std::vector<std::string> fields;
  for (int k = 0;; ++k) {
    auto f = FieldOfSet("a,b;c d", ",; ", k);
    if (!f) break;
    fields.push_back(*f);
  }
  EXPECT_EQ(fields, (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(SyntaxNumber, ReadsBlanksSignAndDigits) {
  struct Case {
    std::string text;
    int value;
  } cases[] = {
      {"42", 42}, {"  \t-7x", -7}, {"+15", 15}, {"", 0},   {"abc", 0},
      {"- 3", 0}, {"12 34", 12},   {"007", 7},  {"-0", 0}, {"-2147483648", -2147483647 - 1},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.value) << "'" << c.text << "'";
}

TEST(SyntaxBlanks, TrimRemoveAndSkip) {
  std::string t = " \t a b \t";
  Trim(t);
  EXPECT_EQ(t, "a b");
  std::string all = "\t \t";
  Trim(all);
  EXPECT_EQ(all, "");
  std::string r = " a\tb c ";
  RemoveBlanks(r);
  EXPECT_EQ(r, "abc");
  EXPECT_EQ(SkipBlanks("  \tx "), 3u);
  EXPECT_EQ(SkipBlanks("   "), 3u);
  // Only space and tab are blanks; a line feed is content.
  std::string lf = "\na\n";
  Trim(lf);
  EXPECT_EQ(lf, "\na\n");
}

TEST(SyntaxCopy, NoneGivesEmptyAndCopyNStopsAtTheEnd) {
  EXPECT_EQ(Copy(nullptr), "");
  EXPECT_EQ(Copy("abc"), "abc");
  EXPECT_EQ(CopyN("abcdef", 3), "abc");
  EXPECT_EQ(CopyN("ab", 10), "ab");
  EXPECT_EQ(CopyN(nullptr, 3), "");
  EXPECT_EQ(CopyN("abc", 0), "");
}

TEST(SyntaxAmpersands, EachOneIsDoubled) {
  EXPECT_EQ(DoubleAmpersands("a&b"), "a&&b");
  EXPECT_EQ(DoubleAmpersands("&&"), "&&&&");
  EXPECT_EQ(DoubleAmpersands("plain"), "plain");
}

TEST(SyntaxHexBytes, PairsDigitsAndSkipsTheRest) {
  struct Case {
    std::string text;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"FE fe-E", {0xFE, 0xFE, 0xE0}},
      {"0x1A", {0x01, 0xA0}},  // the x is skipped like any other non-digit
      {"", {}},
      {"zz", {}},
      {"5", {0x50}},
      {"00 ff 7F", {0x00, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    const cmcBuff b = HexadecimalBytes(c.text);
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin(), b.end()), c.bytes) << "'" << c.text << "'";
  }
}

TEST(SyntaxPrintable, AsciiGraphicsAndSpaceOnly) {
  EXPECT_FALSE(Printable(31));
  EXPECT_TRUE(Printable(32));
  EXPECT_TRUE(Printable(126));
  EXPECT_FALSE(Printable(127));
  EXPECT_FALSE(Printable(0xB4));
}

TEST(SyntaxTextExtent, WidestLineAndSumOfHeights) {
  testsupport::FixedPitchCanvas canvas;
  EXPECT_EQ(TextExtent(canvas, "ab\nabcd\n"), (platform::Size{28, 39}));
  EXPECT_EQ(canvas.lines, (std::vector<std::string>{"ab", "abcd", ""}));
  EXPECT_EQ(TextExtent(canvas, ""), (platform::Size{0, 13}));
}

}  // namespace
