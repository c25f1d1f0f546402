// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli diff, export and import on the initial clone data files:
// differences said as the pages say them, the bytes no page shows, the CSV
// round trip, and imports the editors refuse.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <string>

#include "cli_support.h"
#include "model/memory_map.h"

namespace {

using clitest::FileBytes;
using clitest::RunCli;

const char* const kInitialFiles[] = {
    "TB58_00_USA.DAT",       "TB58_01_EUR.DAT", "TB58_02_UK.DAT",      "TB58_03_DE_ATIS.DAT",
    "TB58_04_NL_ATIS.DAT",   "TB58_05_AUS.DAT", "TB58_06_USA_COM.DAT", "TB58_07_NZ.DAT",
    "TB58_08_NORDIC_US.DAT", "TB58_09_SWE.DAT", "TB58_10_NOR.DAT",     "TB58_11_FIN.DAT",
    "TB58_12_EXPORT.DAT",
};

QString Initial(const char* name) { return QStringLiteral(SEACLONE_BIN_DIR "/") + name; }

class CliCsv : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const char* name) const { return dir.filePath(name); }
  QString WriteCsv(const char* name, const std::string& text) const {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return Path(name);
  }
  QTemporaryDir dir;
};

TEST_F(CliCsv, ExportThenImportChangesNoByteOfAnyInitialImage) {
  for (const char* name : kInitialFiles) {
    SCOPED_TRACE(name);
    const QString csv = Path("all.csv");
    const QString out = Path("new.dat");
    QFile::remove(out);
    const auto exported = RunCli({"export", Initial(name), "--csv", csv});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    ASSERT_TRUE(FileBytes(csv).startsWith("Page,GI_Sheet_Common_Plans,"));
    const auto imported = RunCli({"import", Initial(name), "--csv", csv, "--output", out});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(FileBytes(out), FileBytes(Initial(name)));
  }
}

TEST_F(CliCsv, ImportTypesQuotedValuesAndDiffNamesTheCells) {
  // Columns in another order than the page's and padded captions; a quoted
  // field with a comma and doubled quotes in a row the import leaves alone.
  const QString csv = WriteCsv("free.csv",
                               "Page,GI_Sheet_FreeCh,\"Free Channels, edited\"\r\n"
                               "No.,\"Receive (MHz)\",Transmit (MHz), Name \r\n"
                               "1,156.8,\"157.025\",L1\r\n"
                               "2,155.52500,<-,\"L2\"\n");
  const QString out = Path("free.dat");
  const auto imported =
      RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv", csv, "--output", out});
  ASSERT_EQ(imported.exitCode, 0) << imported.err;

  const auto diff = RunCli({"diff", Initial("TB58_00_USA.DAT"), out});
  EXPECT_EQ(diff.exitCode, 1) << diff.err;
  // The channel is no longer simplex: its copies in the plan lists hold
  // the bit, which no page shows on its own.
  EXPECT_EQ(diff.out.substr(0, diff.out.find("Bytes no page shows:\n")),
            "Free Channels | 1 | Receive (MHz): 155.50000 \u2192 156.80000\n"
            "Free Channels | 1 | Transmit (MHz): <- \u2192 157.02500\n");

  const auto same = RunCli({"diff", out, out});
  EXPECT_EQ(same.exitCode, 0) << same.err;
  EXPECT_EQ(same.out, "");
}

TEST_F(CliCsv, RefusedImportsNameTheirCellAndWriteNothing) {
  struct Case {
    const char* what;
    std::string csv;
    std::vector<std::string> complaints;
  };
  const Case cases[] = {
      {"bad frequencies",
       "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1,156.0313\r\n2,abc\r\n3,250\r\n",
       {"line 3, Free Channels, row '1', column 'Receive (MHz)': '156.0313': not taken; the cell "
        "keeps '155.50000'",
        "line 4, Free Channels, row '2', column 'Receive (MHz)': 'abc': not taken",
        "row '3', column 'Receive (MHz)': '250': not taken as it stands: the cell would show "
        "'199.98750'"}},
      {"unknown column, before a bad value",
       "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive "
       "(MHz)\r\n1,abc\r\nPage,GI_Sheet_FreeCh,x\r\nNo.,Colour\r\n",
       {"line 5: unknown column 'Colour' on Free Channels"}},
      {"no such choice",
       "Page,GI_Sheet_IntCh,x\r\nChannel,Tag\r\n1  ,Yes\r\n",
       {"row '1', column 'Tag': 'Yes': not one of the choices '-', 'Tag'"}},
      {"inhibited channel",
       "Page,GI_Sheet_IntCh,x\r\nChannel,Tag\r\n1A,Tag\r\n",
       {"row '1A', column 'Tag': 'Tag': This item cannot be edited here."}},
      {"unknown row", "Page,GI_Sheet_FreeCh,x\r\nNo.,Name\r\n99,AB\r\n", {"line 3: no row '99'"}},
      {"unknown page",
       "Page,GI_Sheet_Nowhere,x\r\n",
       {"line 1: there is no page GI_Sheet_Nowhere"}},
      {"open quote",
       "Page,GI_Sheet_FreeCh,x\r\nNo.,Name\r\n1,\"AB\r\n",
       {"line 3: a quoted field is not closed"}},
  };
  const QByteArray original = FileBytes(Initial("TB58_00_USA.DAT"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString out = Path("refused.dat");
    const auto run = RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv",
                             WriteCsv("bad.csv", c.csv), "--output", out});
    EXPECT_EQ(run.exitCode, 40);
    for (const std::string& complaint : c.complaints)
      EXPECT_NE(run.err.find(complaint), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(FileBytes(Initial("TB58_00_USA.DAT")), original);
  }
}

TEST_F(CliCsv, ImportPicksPlanAttributesFromTheirChoices) {
  const QString out = Path("tag.dat");
  const auto run = RunCli(
      {"import", Initial("TB58_00_USA.DAT"), "--csv",
       WriteCsv("tag.csv", "Page,GI_Sheet_IntCh,x\r\nChannel,Tag,Simplex\r\n1  ,Tag,Simplex\r\n"),
       "--output", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto diff = RunCli({"diff", "--page", "GI_Sheet_IntCh", Initial("TB58_00_USA.DAT"), out});
  EXPECT_EQ(diff.exitCode, 1);
  EXPECT_EQ(diff.out,
            "International Channels | 1 | Tag: - \u2192 Tag\n"
            "International Channels | 1 | Simplex: Duplex \u2192 Simplex\n");
}

// The attribute's chooser holds commands; the mark the cell shows picks one.
TEST_F(CliCsv, ImportSetsThePriorityMarkAndTransmitInhibit) {
  const QString out = Path("mark.dat");
  const auto run = RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv",
                           WriteCsv("mark.csv",
                                    "Page,GI_Sheet_IntCh,x\r\nChannel,Attribute,TX inhibit\r\n"
                                    "1  ,P,RX only\r\n"),
                           "--output", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto diff = RunCli({"diff", "--page", "GI_Sheet_IntCh", Initial("TB58_00_USA.DAT"), out});
  EXPECT_NE(diff.out.find("International Channels | 1 | Attribute:  \u2192 P\n"), std::string::npos)
      << diff.out;
  EXPECT_NE(diff.out.find("International Channels | 1 | TX inhibit: - \u2192 RX only\n"),
            std::string::npos)
      << diff.out;
}

TEST(CliDiff, InitialImagesOfTwoModelsDifferInThePlansAndInBytesNoPageShows) {
  const auto run = RunCli({"diff", Initial("TB58_00_USA.DAT"), Initial("TB58_01_EUR.DAT")});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.out.find("Radio and Channel Plans | USA | In use: ON \u2192 OFF\n"),
            std::string::npos)
      << run.out;
  // The model byte shows in the tree's caption, not on a page.
  char model[64];
  std::snprintf(model, sizeof model, "Bytes no page shows:\n  0x%04X: 0x00 \u2192 0x01\n",
                memmap::kPowerOnPlan);
  EXPECT_NE(run.out.find(model), std::string::npos) << run.out;
  std::snprintf(model, sizeof model, "  0x%04X: 0x00 \u2192 0x01\n", memmap::kModelByte);
  EXPECT_NE(run.out.find(model), std::string::npos) << run.out;

  const auto missing = RunCli({"diff", Initial("TB58_00_USA.DAT"), "/nonexistent/b.dat"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
}

}  // namespace
