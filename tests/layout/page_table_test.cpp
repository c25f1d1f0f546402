// SPDX-License-Identifier: GPL-3.0-or-later
// A page as text and as CSV: alignment, quoting and the page's own line.
#include <gtest/gtest.h>

#include "layout/page_table.h"

namespace {

using layout::PageTable;

TEST(PageTable, CsvQuotesOnlyTheFieldsThatNeedIt) {
  const struct {
    const char* text;
    const char* field;
  } cases[] = {
      {"Simplex", "Simplex"},
      {"", ""},
      {"Low (1 W)", "Low (1 W)"},
      {"Scan, then watch", "\"Scan, then watch\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"\"", "\"\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""},
      {"it's; fine", "it's; fine"},
  };
  for (const auto& c : cases) EXPECT_EQ(layout::CsvField(c.text), c.field) << c.text;
}

TEST(PageTable, CsvNamesThePageThenOneRecordPerRow) {
  const PageTable table{"GI_Sheet_Test",
                        "Plans, \"all\" of them",
                        {{{"Channel"}, {"Tag"}}, {{"16"}, {"a,b"}}, {{""}, {""}}}};
  EXPECT_EQ(layout::CsvTable(table),
            "Page,GI_Sheet_Test,\"Plans, \"\"all\"\" of them\"\r\n"
            "Channel,Tag\r\n"
            "16,\"a,b\"\r\n"
            ",\r\n");
}

// The screen pads captions to line them up ("0  ", " Name "); a script
// reading the CSV should not have to strip them. A cell a spreadsheet would
// run as a formula is written as text, inside quotes.
TEST(PageTable, CsvTrimsCaptionsAndGuardsFormulaCells) {
  const PageTable table{"GI_Sheet_Test",
                        "Title",
                        {{{"Channel"}, {" Name "}, {"Tag"}},
                         {{"0  "}, {"=cmd|'/Ccalc'!A0"}, {"-"}},
                         {{" 0A"}, {"+1"}, {"---"}},
                         {{"1"}, {"@SUM(A1)"}, {"-5"}},
                         {{"2"}, {" padded "}, {"<-"}}}};
  EXPECT_EQ(layout::CsvTable(table),
            "Page,GI_Sheet_Test,Title\r\n"
            "Channel,Name,Tag\r\n"
            "0,\"'=cmd|'/Ccalc'!A0\",-\r\n"
            "0A,\"'+1\",---\r\n"
            "1,\"'@SUM(A1)\",\"'-5\"\r\n"
            "2, padded ,<-\r\n");
  // The screen's text keeps its padding.
  EXPECT_NE(layout::TextTable(table).find(" Name "), std::string::npos);
}

TEST(PageTable, TextLinesUpColumnsAsTheCellsAreAligned) {
  // Widths count characters: "°" is two bytes of UTF-8 and one column.
  const PageTable table{"GI_Sheet_Test",
                        "Title",
                        {{{"No."}, {"Name", 1}, {"Freq", 2}, {""}},
                         {{"1"}, {"L1", 1}, {"155.500", 2}, {""}},
                         {{"10"}, {"a°b", 1}, {"<-", 2}, {"two\nlines"}},
                         {{""}, {""}, {""}, {""}}}};
  EXPECT_EQ(layout::TextTable(table),
            "Title [GI_Sheet_Test]\n"
            "No.  Name     Freq\n"
            "1     L1   155.500\n"
            "10   a°b        <-  two lines\n"
            "\n");
}

}  // namespace
