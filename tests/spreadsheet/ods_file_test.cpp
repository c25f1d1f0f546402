// SPDX-License-Identifier: GPL-3.0-or-later
// The OpenDocument spreadsheet's writer and reader on small pages made in
// the test: what a cell holds comes back as it was written, numbers and
// choices are typed for the spreadsheet, what other producers write (and
// what a hostile file claims) is read as a spreadsheet shows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/export_cells.h"
#include "spreadsheet/ods_reader.h"
#include "spreadsheet/ods_writer.h"
#include "spreadsheet/sheet_names.h"
#include "spreadsheet/zip_archive.h"

namespace {

using layout::ExportCell;
using layout::ExportKind;
using layout::ExportPage;
using Fields = std::vector<std::string>;

ExportCell Caption(const std::string& text) { return {text, ExportKind::kCaption, {}}; }

// A page whose column "Value" holds each value on its own row.
ExportPage PageOf(const std::vector<ExportCell>& values, const std::string& title = "Values") {
  ExportPage page{"GI_Sheet_Test", title, {{Caption("Row"), Caption("Value"), Caption("Next")}}};
  for (std::size_t i = 0; i < values.size(); ++i)
    page.rows.push_back({Caption(std::to_string(i + 1)), values[i], {"x", ExportKind::kText, {}}});
  return page;
}

std::vector<text::CsvRecord> ReadBack(const std::string& content) {
  std::vector<text::CsvRecord> records;
  std::string error;
  EXPECT_TRUE(spreadsheet::ReadOdsContent(content, records, error)) << error;
  return records;
}

TEST(OdsFile, TextComesBackAsWrittenAndTypedAsText) {
  // What spreadsheets like to turn into numbers, dates or formulas, and what
  // XML and ODF's white-space rules would change.
  const std::vector<std::string> values = {
      "06", "00",    "0171234567", "+491712345", "1E5",        "12:30",  "3/4",  "=1+2",
      " A", "A  B ", "  ",         "x\ty",       "two\nlines", "<&\"'>", "BÖAT", "-"};
  std::vector<ExportCell> cells;
  for (const std::string& v : values) cells.push_back({v, ExportKind::kText, {}});
  const std::string content = spreadsheet::OdsContent({PageOf(cells)}, "Europe");
  EXPECT_EQ(content.find("office:value-type=\"float\""), std::string::npos);
  // The text format keeps what the user types there text as well.
  EXPECT_NE(content.find("<number:text-style style:name=\"Ntext\"><number:text-content/>"),
            std::string::npos);

  const auto records = ReadBack(content);
  ASSERT_EQ(records.size(), values.size() + 2);
  EXPECT_EQ(records[0].fields, (Fields{"Page", "GI_Sheet_Test", "Values", "Europe"}));
  EXPECT_EQ(records[1].fields, (Fields{"Row", "Value", "Next"}));
  for (std::size_t i = 0; i < values.size(); ++i) {
    SCOPED_TRACE(values[i]);
    EXPECT_EQ(records[i + 2].line, static_cast<int>(i) + 3);
    EXPECT_EQ(records[i + 2].fields, (Fields{std::to_string(i + 1), values[i], "x"}));
  }
}

TEST(OdsFile, NumbersAreNumbersShownWithTheRadiosDigits) {
  const std::string content = spreadsheet::OdsContent(
      {PageOf({{"156.80000", ExportKind::kNumber, {}}, {"05", ExportKind::kNumber, {}}})}, "");
  EXPECT_NE(
      content.find("office:value-type=\"float\" office:value=\"156.80000\"><text:p>156.80000"),
      std::string::npos);
  EXPECT_NE(
      content.find("<number:number number:decimal-places=\"5\" number:min-integer-digits=\"1\""),
      std::string::npos);
  EXPECT_NE(
      content.find("<number:number number:decimal-places=\"0\" number:min-integer-digits=\"2\""),
      std::string::npos);
  const auto records = ReadBack(content);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[2].fields[1], "156.80000");
  EXPECT_EQ(records[3].fields[1], "05");
}

TEST(OdsFile, AChoiceCellOffersItsValuesAndRefusesOthers) {
  const ExportCell power{"Low (1 W)", ExportKind::kChoice, {"Low (1 W)", "High \"5\" W"}};
  const ExportCell same{"High \"5\" W", ExportKind::kChoice, power.choices};
  const ExportCell onOff{"ON", ExportKind::kChoice, {"OFF", "ON"}};
  const std::string content =
      spreadsheet::OdsContent({PageOf({power, same, onOff}, "Bob's page")}, "");
  EXPECT_NE(content.find("table:condition=\"of:cell-content-is-in-list(&quot;Low (1 W)&quot;;"
                         "&quot;High &quot;&quot;5&quot;&quot; W&quot;)\""),
            std::string::npos)
      << content;
  EXPECT_NE(content.find("table:base-cell-address=\"'Bob''s page'.B3\""), std::string::npos);
  EXPECT_NE(content.find("<table:error-message table:message-type=\"stop\" table:display=\"true\""),
            std::string::npos);
  // One list for the two power cells, one for the switch.
  const auto count = [&](const std::string& what) {
    std::size_t n = 0;
    for (auto at = content.find(what); at != std::string::npos; at = content.find(what, at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count("<table:content-validation "), 2u);
  EXPECT_EQ(count("table:content-validation-name=\"val1\""), 2u);
  EXPECT_EQ(count("table:content-validation-name=\"val2\""), 1u);
  EXPECT_EQ(ReadBack(content)[3].fields[1], "High \"5\" W");
}

TEST(OdsFile, CaptionsStayInViewOnEverySheet) {
  const std::string settings = spreadsheet::OdsSettings({"Plans", "Common"});
  for (const std::string sheet : {"Plans", "Common"}) {
    SCOPED_TRACE(sheet);
    const auto at = settings.find("<config:config-item-map-entry config:name=\"" + sheet + "\">");
    ASSERT_NE(at, std::string::npos);
    const std::string entry =
        settings.substr(at, settings.find("</config:config-item-map-entry>", at) - at);
    EXPECT_NE(entry.find("\"VerticalSplitMode\" config:type=\"short\">2<"), std::string::npos);
    EXPECT_NE(entry.find("\"VerticalSplitPosition\" config:type=\"int\">2<"), std::string::npos);
    EXPECT_NE(entry.find("\"ActiveSplitRange\" config:type=\"short\">2<"), std::string::npos);
  }
}

TEST(OdsFile, SheetNamesAreValidAndUnique) {
  struct Case {
    std::vector<std::string> titles;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {{"Channels", "channels", "Channels"}, {"Channels", "channels (2)", "Channels (3)"}},
      {{"A/B: [x]*?\\"}, {"A-B- -x----"}},
      {{"'quoted'", "", "  "}, {"quoted", "Page", "Page (2)"}},
      {{"International Channels and more words"}, {"International Channels and more"}},
      {{"International Channels and more words", "International Channels and more"},
       {"International Channels and more", "International Channels and (2)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.titles.front());
    EXPECT_EQ(spreadsheet::SheetNames(c.titles), c.names);
  }
}

// content.xml around the rows of one sheet.
std::string Sheet(const std::string& name, const std::string& rows) {
  return "<office:document-content"
         " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
         " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
         " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\">"
         "<office:body><office:spreadsheet><table:table table:name=\"" +
         name + "\">" + rows +
         "</table:table></office:spreadsheet></office:body></office:document-content>";
}

const std::string kPageRow =
    "<table:table-row><table:table-cell><text:p>Page</text:p></table:table-cell>"
    "<table:table-cell><text:p>GI_Sheet_IntCh</text:p></table:table-cell></table:table-row>";
const std::string kCaptions =
    "<table:table-row><table:table-cell><text:p>A</text:p></table:table-cell>"
    "<table:table-cell><text:p>B</text:p></table:table-cell>"
    "<table:table-cell><text:p>C</text:p></table:table-cell>"
    "<table:table-cell><text:p>D</text:p></table:table-cell></table:table-row>";

TEST(OdsFile, ReadsWhatSpreadsheetsWrite) {
  struct Case {
    const char* what;
    std::string row;  // the third row of the sheet, after the page and caption rows
    Fields fields;    // what it reads as
  };
  const Case cases[] = {
      {"repeated and trailing cells",
       "<table:table-row><table:table-cell table:number-columns-repeated=\"2\"><text:p>x</text:p>"
       "</table:table-cell><table:table-cell "
       "table:number-columns-repeated=\"16380\"/></table:table-row>",
       {"x", "x", "", ""}},
      {"empty cells before a value",
       "<table:table-row><table:table-cell table:number-columns-repeated=\"2\"/><table:table-cell>"
       "<text:p>y</text:p></table:table-cell></table:table-row>",
       {"", "", "y", ""}},
      {"merged cells",
       "<table:table-row><table:table-cell table:number-columns-spanned=\"2\"><text:p>m</text:p>"
       "</table:table-cell><table:covered-table-cell/><table:table-cell><text:p>n</text:p>"
       "</table:table-cell></table:table-row>",
       {"m", "", "n", ""}},
      {"spaces, tabs, line breaks and spans",
       "<table:table-row><table:table-cell><text:p><text:s text:c=\"2\"/>a<text:s/>b<text:tab/>c"
       "<text:line-break/><text:span>d</text:span> <text:a>e</text:a></text:p></table:table-cell>"
       "</table:table-row>",
       {"  a b\tc\nd e", "", "", ""}},
      {"white space of the XML collapses",
       "<table:table-row><table:table-cell><text:p>\n  one\n  two  </text:p></table:table-cell>"
       "</table:table-row>",
       {"one two ", "", "", ""}},
      {"paragraphs are lines",
       "<table:table-row><table:table-cell><text:p>1</text:p><text:p>2</text:p></table:table-cell>"
       "</table:table-row>",
       {"1\n2", "", "", ""}},
      {"the shown text, not the value",
       "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"156.8\">"
       "<text:p>156.80000</text:p></table:table-cell><table:table-cell office:value-type=\"float\""
       " office:value=\"6\"/></table:table-row>",
       {"156.80000", "6", "", ""}},
      {"comments are no text",
       "<table:table-row><table:table-cell><office:annotation><text:p>note</text:p>"
       "</office:annotation><text:p>v</text:p></table:table-cell></table:table-row>",
       {"v", "", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto records = ReadBack(Sheet("S", kPageRow + kCaptions + c.row));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].line, 3);
    EXPECT_EQ(records[2].fields, c.fields);
  }
}

TEST(OdsFile, BlankAndRepeatedRowsKeepTheirRowNumbers) {
  const std::string rows =
      kPageRow + kCaptions +
      "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell/></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell><text:p>r</text:p>"
      "</table:table-cell></table:table-row>"
      "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
      "table:number-columns-repeated=\"16384\"/></table:table-row>";
  const auto records = ReadBack(Sheet("S", rows));
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[2].line, 5);
  EXPECT_EQ(records[3].line, 6);
  EXPECT_EQ(records[3].fields, (Fields{"r", "", "", ""}));
}

TEST(OdsFile, ASheetWithoutAPageRowIsNamedForTheImportToRefuse) {
  const std::string two =
      Sheet("Notes",
            "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell/>"
            "</table:table-row><table:table-row><table:table-cell><text:p>hello</text:p>"
            "</table:table-cell></table:table-row>");
  const auto records = ReadBack(two);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].line, 4);
  EXPECT_EQ(records[0].fields, (Fields{"Page", "Notes"}));
  EXPECT_EQ(records[1].fields, (Fields{"hello"}));
  // An empty sheet says nothing.
  EXPECT_TRUE(
      ReadBack(Sheet("Empty", "<table:table-row><table:table-cell/></table:table-row>")).empty());
}

TEST(OdsFile, RefusesWhatWouldSpellOutTooMuch) {
  struct Case {
    const char* what;
    std::string rows;
  };
  const Case cases[] = {
      {"a value repeated in a billion rows",
       "<table:table-row table:number-rows-repeated=\"1000000000\"><table:table-cell><text:p>x"
       "</text:p></table:table-cell></table:table-row>"},
      {"a value repeated in a billion columns",
       "<table:table-row><table:table-cell table:number-columns-repeated=\"1000000000\"><text:p>x"
       "</text:p></table:table-cell></table:table-row>"},
      {"two billion spaces",
       "<table:table-row><table:table-cell><text:p><text:s text:c=\"2000000000\"/>x</text:p>"
       "</table:table-cell></table:table-row>"},
      {"a long text in many rows",
       "<table:table-row table:number-rows-repeated=\"100000\"><table:table-cell><text:p>" +
           std::string(200, 'x') + "</text:p></table:table-cell></table:table-row>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<text::CsvRecord> records;
    std::string error;
    EXPECT_FALSE(spreadsheet::ReadOdsContent(Sheet("S", kPageRow + c.rows), records, error));
    EXPECT_NE(error.find("far more than any export"), std::string::npos) << error;
    EXPECT_TRUE(records.empty());
  }
}

TEST(OdsFile, RefusesFilesThatAreNoSpreadsheet) {
  const std::string mime = "application/vnd.oasis.opendocument.spreadsheet";
  const std::string good = Sheet("S", kPageRow);
  const auto zip = [](std::vector<spreadsheet::ZipEntry> entries) {
    return spreadsheet::ZipOf(entries).value_or("");
  };
  const std::string whole = zip({{"mimetype", mime, true}, {"content.xml", good, false}});
  struct Case {
    const char* what;
    std::string bytes;
    const char* error;
  };
  const Case cases[] = {
      {"a CSV", "Page,GI_Sheet_IntCh,International Channels\r\n", "not a zip archive"},
      {"nothing", "", "not a zip archive"},
      {"a cut file", whole.substr(0, whole.size() / 2), "not a zip archive"},
      {"no content", zip({{"mimetype", mime, true}}), "has no content.xml"},
      {"a text document",
       zip({{"mimetype", "application/vnd.oasis.opendocument.text", true},
            {"content.xml", good, false}}),
       "its type is 'application/vnd.oasis.opendocument.text'"},
      // Packs to a few kilobytes, unpacks to 17 MB.
      {"a zip bomb",
       zip({{"mimetype", mime, true}, {"content.xml", good + std::string(17 << 20, ' '), false}}),
       "unpacks to more than 16 MB"},
      {"no rows", zip({{"mimetype", mime, true}, {"content.xml", Sheet("S", ""), false}}),
       "it holds no rows"},
      {"broken XML", zip({{"mimetype", mime, true}, {"content.xml", good.substr(0, 300), false}}),
       "its content is damaged (line 1 of content.xml"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<text::CsvRecord> records;
    std::string error;
    EXPECT_FALSE(spreadsheet::ReadOds(c.bytes, records, error));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
  std::vector<text::CsvRecord> records;
  std::string error;
  EXPECT_TRUE(spreadsheet::ReadOds(whole, records, error)) << error;
  // A file without the mimetype entry (some writers leave it out) is read by its content.
  EXPECT_TRUE(spreadsheet::ReadOds(zip({{"content.xml", good, false}}), records, error)) << error;
}

TEST(OdsFile, TheMimetypeComesFirstAndUnpacked) {
  const auto file = spreadsheet::OdsFile({PageOf({})}, "Europe");
  ASSERT_TRUE(file);
  // A zip's first local header: name at offset 30, method at offset 8.
  ASSERT_GT(file->size(), 100u);
  EXPECT_EQ(file->substr(0, 4), std::string("PK\3\4", 4));
  EXPECT_EQ((*file)[8], 0);                              // stored
  EXPECT_EQ(file->substr(28, 2), std::string(2, '\0'));  // no extra field
  EXPECT_EQ(file->substr(30, 8), "mimetype");
  EXPECT_EQ(file->substr(38, 46), "application/vnd.oasis.opendocument.spreadsheet");
  std::string manifest;
  EXPECT_EQ(spreadsheet::ReadZipEntry(*file, "META-INF/manifest.xml", 1 << 20, manifest),
            spreadsheet::ZipRead::kRead);
  EXPECT_NE(manifest.find("manifest:full-path=\"content.xml\""), std::string::npos);
}

}  // namespace
