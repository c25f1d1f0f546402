// SPDX-License-Identifier: GPL-3.0-or-later
// Telling UTF-8 from what is not, and reading Windows-1252: a file taken
// for UTF-8 wrongly would reach the cells as other letters than it holds.
#include <gtest/gtest.h>

#include <string>

#include "text/text_encoding.h"

namespace {

TEST(TextEncoding, OnlyWellFormedUtf8IsTakenForUtf8) {
  constexpr std::size_t kNone = std::string::npos;
  const struct {
    const char* what;
    std::string text;
    std::size_t fault;
  } cases[] = {
      {"ASCII", "Page,K\r\n", kNone},
      {"two, three and four bytes", "\xC3\x96 \xE2\x82\xAC \xF0\x9F\x9A\xA2", kNone},
      {"the lowest second bytes", "\xC3\x80 \xE0\xA4\x85 \xF0\x90\x80\x80", kNone},
      {"the last code point", "a\xF4\x8F\xBF\xBF", kNone},
      {"Windows-1252 letter",
       "B\xD6"
       "AT",
       1},
      {"stray continuation byte", "ab\x80", 2},
      {"overlong two bytes", "a\xC0\xAF", 1},
      {"overlong three bytes", "a\xE0\x80\xAF", 1},
      {"overlong four bytes", "a\xF0\x80\x80\xAF", 1},
      {"surrogate", "a\xED\xA0\x80", 1},
      {"past U+10FFFF", "a\xF4\x90\x80\x80", 1},
      {"no such lead byte", "a\xF5\x80\x80\x80", 1},
      {"cut at the end", "ab\xE2\x82", 2},
      {"continuation missing inside", "a\xE2\x82x", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(text::Utf8Fault(c.text), c.fault);
  }
}

TEST(TextEncoding, Windows1252IsReadAsItsLetters) {
  std::string utf8;
  std::size_t bad = 0;
  ASSERT_TRUE(
      text::FromWindows1252("B\xD6"
                            "AT \x80\x9F\xA0\xFF\x96x",
                            utf8, bad));
  EXPECT_EQ(utf8, "B\u00d6AT \u20ac\u0178\u00a0\u00ff\u2013x");
  for (const char undefined : {'\x81', '\x8D', '\x8F', '\x90', '\x9D'}) {
    EXPECT_FALSE(text::FromWindows1252(std::string("ab") + undefined, utf8, bad));
    EXPECT_EQ(bad, 2u);
  }
}

}  // namespace
