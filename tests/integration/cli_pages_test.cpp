// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli pages on the initial clone data files: every page the tree
// shows, the international channel list slot by slot against the image's
// own channel records, CSV quoting of what a file holds, usage and output
// failures.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <map>
#include <string>
#include <vector>

#include "model/cell_names.h"
#include "model/clone_file.h"
#include "model/datch.h"
#include "model/datch_index.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "support/cli_support.h"
#include "support/initial_files.h"
#include "text/csv_records.h"

namespace {

using clitest::CliStreams;
using clitest::RunCli;

using Record = std::vector<std::string>;

struct Page {
  std::string key;
  std::string title;
  std::vector<Record> rows;
};

// RFC 4180 records: CRLF ends a record, a quoted field may hold commas,
// line breaks and doubled quotes.
std::vector<Record> ParseCsv(const std::string& text) {
  std::vector<Record> records;
  Record record;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      record.push_back(std::move(field));
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      record.push_back(std::move(field));
      field.clear();
      records.push_back(std::move(record));
      record.clear();
      ++i;
    } else {
      field += c;
    }
  }
  EXPECT_TRUE(field.empty() && record.empty() && !quoted) << "the last record has no CRLF";
  return records;
}

// The pages of a CSV listing: a "Page,KEY,title" record, then its rows.
std::vector<Page> ParsePages(const std::string& csv) {
  std::vector<Page> pages;
  for (Record& record : ParseCsv(csv)) {
    if (record.size() == 3 && record[0] == "Page" && record[1].rfind("GI_", 0) == 0) {
      pages.push_back({record[1], record[2], {}});
    } else if (!pages.empty()) {
      pages.back().rows.push_back(std::move(record));
    } else {
      ADD_FAILURE() << "a row before the first page";
    }
  }
  return pages;
}

bool Bit(const cmcEeprom& image, int address, int bit) {
  return (image.GetByte(address) >> bit) & 1;
}

// The pages the program's tree shows for an image of a model, in tree order,
// from the plan switches and the model groups.
std::vector<std::string> ExpectedPages(const cmcEeprom& image, int model, bool maker) {
  std::vector<std::string> keys = {"GI_Sheet_Common_Plans", "GI_Sheet_Common_Common"};
  if (!memmap::InGroupA(model)) keys.push_back("GI_Sheet_Common_Atis");
  if (memmap::InGroupS(model)) keys.push_back("GI_Sheet_SuvCh");
  if (Bit(image, memmap::kFlags973, 1)) keys.push_back("GI_Sheet_IntCh");
  if (Bit(image, memmap::kFlags972, 0)) keys.push_back("GI_Sheet_UsaCh");
  if (Bit(image, memmap::kFlags972, 2)) keys.push_back("GI_Sheet_CanCh");
  if (Bit(image, memmap::kFlags972, 1)) keys.push_back("GI_Sheet_WxCh");
  keys.push_back("GI_Sheet_FreeCh");
  if (maker) {
    keys.push_back("GI_Sheet_Maker");
    keys.push_back("GI_Sheet_Maker_Memory");
  }
  return keys;
}

using testsupport::kInitialFiles;

std::string Initial(const char* name) { return std::string(SEACLONE_BIN_DIR "/") + name; }

TEST(CliPages, EveryInitialFilePrintsEveryPageItsTreeShows) {
  struct Case {
    std::string file;
    QStringList options;
    int model;  // the model the pages follow
    bool maker;
  };
  std::vector<Case> cases;
  for (int model = 0; model < memmap::kModelTypes; ++model)
    cases.push_back({Initial(kInitialFiles[model]), {}, model, false});
  cases.push_back({Initial("TB58_01_EUR.DAT"), {"--model", "9"}, 9, false});
  cases.push_back({Initial("TB58_09_SWE.DAT"), {"--model", "0", "--maker"}, 0, true});
  cases.push_back({Initial("TB58_00_USA.DAT"), {"--usable", "--maker"}, 0, true});

  for (const Case& c : cases) {
    const std::string what = c.file + " " + c.options.join(' ').toStdString();
    const cmcEeprom image = clitest::ReadImage(c.file);
    const auto run = RunCli(QStringList{"pages", "--format", "csv"}
                            << c.options << QString::fromStdString(c.file));
    ASSERT_EQ(run.exitCode, 0) << what << "\n" << run.err;
    EXPECT_EQ(run.err, "") << what;
    const std::vector<Page> pages = ParsePages(run.out);
    std::vector<std::string> keys;
    for (const Page& page : pages) {
      keys.push_back(page.key);
      EXPECT_FALSE(page.title.empty()) << what << " " << page.key;
      // A heading row and at least one row under it, all as wide.
      ASSERT_GE(page.rows.size(), 2u) << what << " " << page.key;
      for (const Record& row : page.rows) {
        EXPECT_EQ(row.size(), page.rows[0].size()) << what << " " << page.key;
        for (const std::string& text : row) {
          EXPECT_EQ(text.find("*Yet*"), std::string::npos) << what << " " << page.key;
        }
      }
    }
    EXPECT_EQ(keys, ExpectedPages(image, c.model, c.maker)) << what;

    // The text listing shows the same pages, a title line each.
    const auto text = RunCli(QStringList{"pages"} << c.options << QString::fromStdString(c.file));
    ASSERT_EQ(text.exitCode, 0) << what;
    for (const Page& page : pages) {
      EXPECT_NE(text.out.find(page.title + " [" + page.key + "]\n"), std::string::npos)
          << what << " " << page.key;
    }
  }
}

class CliPagesFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
  QTemporaryDir dir;
};

TEST_F(CliPagesFiles, InternationalListShowsEverySlotOrTheUsableOnesWithTheirAttributes) {
  // Europe's initial image with the international plan on, and a P channel
  // and an ordinary channel inhibited: the usable view keeps the first.
  cmcEeprom image = clitest::ReadImage(Initial("TB58_01_EUR.DAT"));
  ASSERT_TRUE(Bit(image, memmap::kFlags973, 1));
  const unsigned category = static_cast<unsigned>(ValueCategoryOf(CT_IntCh));
  datCh ch(&image);
  int pChannel = -1;
  for (int i = 0; i < memmap::kPlanEntries && pChannel < 0; ++i) {
    ch.Load(category, i);
    if (ch.acFlags & datCh::kAcP) pChannel = i;
  }
  ASSERT_GE(pChannel, 0);
  for (const int i : {pChannel, 7}) {
    ch.Load(category, i);
    ch.attr |= datCh::kAtInhibit;
    ch.Store();
  }
  const std::string file = Path("inhibited.dat");
  clitest::WriteImage(image, file);
  image = clitest::ReadImage(file);

  for (const bool usable : {false, true}) {
    SCOPED_TRACE(usable ? "usable view" : "every slot");
    QStringList args{"pages", "--page", "GI_Sheet_IntCh", "--format", "csv"};
    if (usable) args << "--usable";
    const auto run = RunCli(args << QString::fromStdString(file));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<Page> pages = ParsePages(run.out);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_FALSE(pages[0].rows.empty());
    EXPECT_EQ(pages[0].rows[0],
              (Record{"Channel", "Attribute", "Tag", "TX inhibit", "Low power", "Simplex"}));

    std::vector<int> indices;
    for (int i = 0; i < memmap::kPlanEntries; ++i) {
      ch.Load(category, i);
      const bool listed =
          !(ch.attr & datCh::kAtInhibit) || (ch.acFlags & (datCh::kAcP | datCh::kAcC));
      if (!usable || listed) indices.push_back(i);
    }
    if (!usable) {
      EXPECT_EQ(indices.size(), 418u);
    } else {
      EXPECT_NE(std::find(indices.begin(), indices.end(), pChannel), indices.end());
      EXPECT_EQ(std::find(indices.begin(), indices.end(), 7), indices.end());
    }
    ASSERT_EQ(pages[0].rows.size(), indices.size() + 1);

    const auto option = [](const datCh& c, unsigned bit, const char* on,
                           const char* off) -> std::string {
      if (c.attr & datCh::kAtInhibit) return "---";
      return (c.attr & bit) ? on : off;
    };
    for (std::size_t r = 0; r < indices.size(); ++r) {
      const int i = indices[r];
      ch.Load(category, i);
      const Record& row = pages[0].rows[r + 1];
      SCOPED_TRACE("slot " + std::to_string(i));
      ASSERT_EQ(row.size(), 6u);
      // The CSV leaves out the padding that lines the labels up on screen.
      EXPECT_EQ(row[0], text::Trimmed(ChannelIndexText(image, i)));
      std::string attribute;
      if (ch.acFlags & datCh::kAcP) attribute += "P";
      if (ch.acFlags & datCh::kAcC) attribute += "C";
      EXPECT_EQ(row[1], attribute);
      EXPECT_EQ(row[2], option(ch, datCh::kAtTag, "Tag", "-"));
      EXPECT_EQ(row[3], option(ch, datCh::kAtTxInhibit, "RX only", "-"));
      EXPECT_EQ(row[4], option(ch, datCh::kAtPoc, "PoC", "-"));
      // Where the radio fixes simplex the column shows "---" instead.
      if (row[5] != "---") {
        EXPECT_EQ(row[5], option(ch, datCh::kAtSimplex, "Simplex", "Duplex"));
      }
    }
  }
}

TEST_F(CliPagesFiles, CsvQuotesACommentWithACommaAndAQuote) {
  const std::string file = Path("comment.dat");
  clitest::WriteModelImage(QString::fromStdString(file), "SAY \"HI\", THEN");
  const auto run = RunCli({"pages", "--page", "GI_Sheet_Common_Plans", "--format", "csv",
                           QString::fromStdString(file)});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(",\"SAY \"\"HI\"\", THEN\""), std::string::npos) << run.out;
  bool found = false;
  for (const Page& page : ParsePages(run.out)) {
    for (const Record& row : page.rows) {
      found = found || std::find(row.begin(), row.end(), "SAY \"HI\", THEN") != row.end();
    }
  }
  EXPECT_TRUE(found) << run.out;
}

TEST_F(CliPagesFiles, UnknownPagesMissingFilesAndLostOutputFail) {
  const std::string eur = Initial("TB58_01_EUR.DAT");
  const struct Case {
    const char* what;
    QStringList args;
    CliStreams streams;
    int exitCode;
    const char* err;  // a part of standard error
  } cases[] = {
      {"unknown page",
       {"pages", "--page", "GI_Sheet_Nothing", QString::fromStdString(eur)},
       {},
       64,
       "--page GI_Sheet_Nothing names no page; the pages are GI_Sheet_Common_Plans, "},
      {"unknown page, no file",
       {"pages", "--page", "GI_Sheet_Nothing", QString::fromStdString(Path("none.dat"))},
       {},
       64,
       "names no page"},
      {"missing file", {"pages", QString::fromStdString(Path("none.dat"))}, {}, 1, ""},
      {"full disk",
       {"pages", QString::fromStdString(eur)},
       {{}, "/dev/full"},
       74,
       "standard output could not be written"},
      {"full disk, one page",
       {"pages", "--page", "GI_Sheet_WxCh", "--format", "csv", QString::fromStdString(eur)},
       {{}, "/dev/full"},
       74,
       "standard output could not be written"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto run = RunCli(c.args, c.streams);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what << "\n" << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.what << "\n" << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(CliPagesFiles, StandardInputListsAsTheFileDoes) {
  const std::string eur = Initial("TB58_01_EUR.DAT");
  const auto fromFile = RunCli({"pages", QString::fromStdString(eur)});
  const auto fromInput = RunCli({"pages", "-"}, CliStreams{QString::fromStdString(eur), {}});
  ASSERT_EQ(fromInput.exitCode, 0) << fromInput.err;
  EXPECT_EQ(fromInput.out, fromFile.out);
}

}  // namespace
