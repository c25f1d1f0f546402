// SPDX-License-Identifier: GPL-3.0-or-later
// CSV as spreadsheets save it and as users hand it over: records, the marks
// a spreadsheet adds, values that must not pass, files that are no CSV.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "text/csv_records.h"
#include "text/input_file.h"

namespace {

namespace fs = std::filesystem;
using text::CsvRecord;

std::string Joined(const std::vector<CsvRecord>& records) {
  std::string text;
  for (const CsvRecord& r : records) {
    text += std::to_string(r.line) + ":";
    for (std::size_t i = 0; i < r.fields.size(); ++i) text += (i ? "|" : "") + r.fields[i];
    text += "\n";
  }
  return text;
}

TEST(CsvRecords, ReadsWhatSpreadsheetsWriteAndRefusesWhatWouldBeMisread) {
  struct Case {
    const char* what;
    std::string csv;
    const char* records;  // nullptr: refused
    const char* error;    // the start of the refusal
    const char* format;   // how the file was found to be, as messages say it
  };
  const Case cases[] = {
      {"plain", "a,b\r\nc,d\n", "1:a|b\n2:c|d\n", "", "','-separated, UTF-8, mixed line ends"},
      {"last line without its end", "a,b\r\nc", "1:a|b\n2:c\n", "",
       "','-separated, UTF-8, CRLF line ends"},
      {"quoted comma, quote and line break", "\"a,\"\"b\"\"\nc\",d\r\ne\n", "1:a,\"b\"\nc|d\n3:e\n",
       "", ""},
      {"byte-order mark of CSV UTF-8", "\xEF\xBB\xBFPage,K\r\nx\r\n", "1:Page|K\n2:x\n", "",
       "','-separated, UTF-8 with byte-order mark, CRLF line ends"},
      {"a mark later on is text",
       "a\n\xEF\xBB\xBF"
       "b\n",
       "1:a\n2:\xEF\xBB\xBF"
       "b\n",
       "", ""},
      // Old Mac files: every record, not one, and the lines counted.
      {"CR line ends", "Page,K,t\rn,v\r\r1,x\r", "1:Page|K|t\n2:n|v\n3:\n4:1|x\n", "",
       "','-separated, UTF-8, CR line ends"},
      {"CR inside a quoted field counts its line", "a,\"b\rc\"\rd\r\"e", nullptr,
       "line 4: a quoted field is not closed", ""},
      // Spreadsheets pad each row to the sheet's width.
      {"trailing empty fields", "Page,K,t,,\r\nn,v,\r\n1,,x,\"\",\r\n,,,\r\n",
       "1:Page|K|t\n2:n|v\n3:1||x\n4:\n", "", ""},
      {"blank lines are records without fields", "a\n\n\r\nb", "1:a\n2:\n3:\n4:b\n", "", ""},
      {"blanks are kept", "a, \n", "1:a| \n", "", ""},
      {"semicolons", "Page;K;\"t;x\"\r\nn;v\r\n1;156,025;\"a;b\"\r\n",
       "1:Page|K|t;x\n2:n|v\n3:1|156,025|a;b\n", "", "';'-separated, UTF-8, CRLF line ends"},
      {"tabs", "Page\tK\tt\nn\tv,w;x\n", "1:Page|K|t\n2:n|v,w;x\n", "",
       "tab-separated, UTF-8, LF line ends"},
      {"the first separator outside quotes", "\"a,b\";c,d\n1;2,3\n", "1:a,b|c,d\n2:1|2,3\n", "",
       "';'-separated, UTF-8, LF line ends"},
      {"leading blank lines do not decide", "\r\n\r\nPage;K\r\n", "1:\n2:\n3:Page|K\n", "",
       "';'-separated, UTF-8, CRLF line ends"},
      {"no separator in the first record", "Page\n1;2\n", "1:Page\n2:1;2\n", "",
       "','-separated, UTF-8, LF line ends"},
      {"Windows-1252",
       "Page;K;B\xD6"
       "AT \x80\x96\r\n",
       "1:Page|K|B\u00d6AT \u20ac\u2013\n", "", "';'-separated, Windows-1252, CRLF line ends"},
      {"UTF-8 that could also be Windows-1252",
       "B\xC3\x96"
       "AT\n",
       "1:B\u00d6AT\n", "", "','-separated, UTF-8, LF line ends"},
      {"a byte Windows-1252 leaves undefined", "a\r\nb\xD6\r\n\r\nc\x81\r\n", nullptr,
       "line 4: byte 0x81 is neither UTF-8 nor Windows-1252", "','-separated, Windows-1252"},
      {"a byte-order mark over other bytes",
       "\xEF\xBB\xBF"
       "a\rb\xD6\r",
       nullptr, "line 2: byte 0xD6 is not UTF-8, which the file's byte-order mark promises", ""},
      {"overlong UTF-8 is no UTF-8", "a\xC0\xAF\n", "1:a\u00c0\u00af\n", "",
       "','-separated, Windows-1252, LF line ends"},
      {"NUL inside a value", std::string("Page,K\r\n1,156.025\0junk\r\n", 23), nullptr,
       "line 2: a NUL character inside a field", ""},
      {"NUL inside a quoted value", std::string("a\n\"x\0\"\n", 7), nullptr, "line 2: a NUL", ""},
      {"open quote", "a\n\"b\n", nullptr, "line 2: a quoted field is not closed", ""},
      {"stray quote", "a\nb\"c\n", nullptr,
       "line 2: a quote inside a field that is not quoted (the file was read as ','-separated, "
       "as its first record has no separator)",
       ""},
      // A German spreadsheet's file whose first line an editor mended with
      // commas: the message says how it was read.
      {"stray quote in a file read with the wrong separator",
       "Page,K,t\r\nn;v\r\n1;\"a;b\";x\r\n\"2\";\"c\"\r\n", nullptr,
       "line 3: a quote inside a field that is not quoted (the file was read as ','-separated, as "
       "its first record is)",
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<CsvRecord> records;
    std::string error;
    text::CsvFormat format;
    const bool read = text::ReadCsv(c.csv, records, error, &format);
    if (c.records) {
      ASSERT_TRUE(read) << error;
      EXPECT_EQ(Joined(records), c.records);
    } else {
      EXPECT_FALSE(read);
      EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    }
    if (*c.format) {
      EXPECT_EQ(text::Described(format), c.format);
    }
    // The three-argument form reads the same.
    std::vector<CsvRecord> again;
    std::string againError;
    EXPECT_EQ(text::ReadCsv(c.csv, again, againError), read);
    EXPECT_EQ(Joined(again), Joined(records));
  }
}

TEST(CsvRecords, EchoedValuesAreCutAfterSixtyCharacters) {
  const std::string sixty(60, 'x');
  EXPECT_EQ(text::Echoed(""), "");
  EXPECT_EQ(text::Echoed(sixty), sixty);
  EXPECT_EQ(text::Echoed(sixty + "y"), sixty + "\u2026");
  EXPECT_EQ(text::Echoed(std::string(20 * 1024 * 1024, 'z')), std::string(60, 'z') + "\u2026");
  // Cut by characters: a two-byte character is never split.
  std::string umlauts;
  for (int i = 0; i < 70; ++i) umlauts += "\u00e4";
  std::string cut;
  for (int i = 0; i < 60; ++i) cut += "\u00e4";
  EXPECT_EQ(text::Echoed(umlauts), cut + "\u2026");
}

TEST(CsvRecords, FormulaCellsAreGuardedAndComeBackAsTheyWere) {
  const struct {
    const char* value;
    const char* cell;
  } cases[] = {
      {"=cmd|'/Ccalc'!A0", "'=cmd|'/Ccalc'!A0"},
      {"+1", "'+1"},
      {"-5", "'-5"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"-", "-"},  // a dash alone is no formula
      {"---", "---"},
      {"<-", "<-"},
      {"", ""},
      {"'", "'"},
      {"it's", "it's"},
      {"'=x", "''=x"},  // already looks guarded: one more quote
      {"'-", "''-"},
      {"156.025", "156.025"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(text::SpreadsheetText(c.value), c.cell);
    EXPECT_EQ(text::FromSpreadsheetText(c.cell), c.value) << c.cell;
  }
  // What a spreadsheet saves after reading the guard is the bare value.
  EXPECT_EQ(text::FromSpreadsheetText("=cmd"), "=cmd");
  EXPECT_EQ(text::FromSpreadsheetText("'abc"), "'abc");
}

class CsvFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("seaclone-csv-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

TEST_F(CsvFiles, OnlyARegularFileUpToTheLimitIsRead) {
  const fs::path small = dir / "small.csv";
  std::ofstream(small, std::ios::binary) << "a,b\r\n";
  const fs::path large = dir / "large.csv";
  std::ofstream(large, std::ios::binary).put('x');
  fs::resize_file(large, text::kCsvLimit + 1);
  const fs::path limit = dir / "limit.csv";
  std::ofstream(limit, std::ios::binary).put('x');
  fs::resize_file(limit, text::kCsvLimit);

  const struct {
    fs::path path;
    bool read;
    const char* why;
  } cases[] = {
      {small, true, ""},
      {limit, true, ""},
      {large, false, "is larger than 16 MB"},
      {dir, false, "is not a regular file"},
      {dir / "missing.csv", false, "cannot be opened"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.string());
    std::string text = "left over";
    std::string why = "unset";
    EXPECT_EQ(text::ReadWhole(c.path.string(), text, &why), c.read);
    EXPECT_EQ(why, c.why);
    if (!c.read) {
      EXPECT_EQ(text, "");
    }
  }
  std::string text;
  ASSERT_TRUE(text::ReadWhole(small.string(), text));
  EXPECT_EQ(text, "a,b\r\n");
}

TEST_F(CsvFiles, OnlyAFreeNameOrARegularFileIsATarget) {
  std::ofstream(dir / "file.csv") << "x";
  fs::create_directory(dir / "folder");
  EXPECT_TRUE(text::IsFileTarget((dir / "file.csv").string()));
  EXPECT_TRUE(text::IsFileTarget((dir / "new.csv").string()));
  EXPECT_FALSE(text::IsFileTarget((dir / "folder").string()));
  std::error_code error;
  fs::create_directory_symlink(dir / "folder", dir / "link", error);
  if (!error) {
    EXPECT_FALSE(text::IsFileTarget((dir / "link").string()));
  }
}

}  // namespace
