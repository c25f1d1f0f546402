// SPDX-License-Identifier: GPL-3.0-or-later
// Which typed values a cell shows as typed, and the forms spreadsheets
// give values they took for numbers, times or dates.
#include <gtest/gtest.h>

#include "layout/typed_value.h"

namespace {

TEST(TypedValue, SameNumbersShowAsTypedAndOtherTextsDoNot) {
  struct Case {
    const char* shown;
    const char* typed;
    bool same;
  };
  const Case cases[] = {
      {"156.80000", "156.8", true},
      {"156.80000", "156,8", true},  // a decimal comma
      {"156.80000", "156,800", true},
      {"06", "6", true},
      {"0171234567", "171234567", true},
      {"+491712345", "491712345", true},
      {"1E5", "100000", true},
      {"100 msec", "100", true},
      {"100 msec", "100 sec", false},
      {"156.80000", "156,9", false},
      {"156.80000", "1,568", false},
      {"L1", "L2", false},
      {"1,000,000", "1000000", false},  // no decimal comma, and no number at all
      {" A", "A", true},
      // A name or channel that begins with digits is no number with a unit.
      {"16A", "16", false},
      {"1A", "1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.shown) + " / " + c.typed);
    EXPECT_EQ(layout::ShowsTyped(c.shown, c.typed), c.same);
  }
}

TEST(TypedValue, DecimalCommaAndSpreadsheetDates) {
  EXPECT_EQ(layout::WithDecimalPoint("156,8"), "156.8");
  EXPECT_EQ(layout::WithDecimalPoint(" -1,25 "), "-1.25");
  for (const char* text : {"156.8", "A,B", "1,000,000", ",5", "5,", "1,5 W", ""}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(layout::WithDecimalPoint(text), "");
  }
  struct Case {
    const char* text;
    bool date;
  };
  const Case cases[] = {
      {"12:30:00", true}, {"12:30 PM", true},     {"03/04/2026", true}, {"2026-03-04", true},
      {"04.03.26", true}, {"3/4/26 12:30", true}, {"12:30", false},     {"3/4", false},
      {"156.800", false}, {"CH 16", false},       {"L1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(layout::LooksLikeSpreadsheetDate(c.text), c.date);
  }
}

}  // namespace
