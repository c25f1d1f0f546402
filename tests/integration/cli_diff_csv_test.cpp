// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli diff, export and import on the initial clone data files:
// differences said as the pages say them, the bytes no page shows, the CSV
// round trip, and imports the editors refuse.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <string>

#ifdef __linux__
#include <sys/stat.h>
#endif

#include "model/memory_map.h"
#include "support/cli_support.h"
#include "support/initial_files.h"

namespace {

using clitest::FileBytes;
using clitest::RunCli;

using testsupport::Initial;
using testsupport::kInitialFiles;

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
      // A short row ends in empty values; a longer one has a value no
      // caption names.
      {"more fields than the captions",
       "Page,GI_Sheet_FreeCh,x,,\r\nNo.,Receive (MHz),Name,,\r\n1,156.8,AB,XYZ,,\r\n",
       {"line 3: 4 fields where the captions name 3 columns; the last one is 'XYZ'"}},
      {"a letter the radio has no sign for",
       "Page,GI_Sheet_Common_Plans,x\r\nChannel plan,In use\r\nClone comment,B\u00d6AT\r\n",
       {"line 3, Radio and Channel Plans, row 'Clone comment', column 'In use': 'B\u00d6AT': the "
        "radio cannot show the character '\u00d6'"}},
      {"NUL inside a value",
       std::string("Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1,156.025") + '\0' + "junk\r\n",
       {"line 3: a NUL character inside a field"}},
      // Channel 16 holds the P mark. Moving it to 6 clears 16; the row of 16
      // left as exported must not type it back and undo the move.
      {"P mark moved, the old row left as exported",
       "Page,GI_Sheet_IntCh,x\r\nChannel,Attribute\r\n6,P\r\n16,P\r\n",
       {"line 4, International Channels, row '16', column 'Attribute': 'P': another value of the "
        "CSV changed it: the cell would show ''"}},
      {"two rows take the P mark",
       "Page,GI_Sheet_IntCh,x\r\nChannel,Attribute\r\n6,P\r\n20,P\r\n",
       {"line 4, International Channels, row '20', column 'Attribute': 'P': sets what line 3 "
        "(International Channels, row '6', column 'Attribute') sets, to another value"}},
      // Key beep lives in a bit the memory view shows too; the view's row
      // as exported would set it back.
      {"a setting and the memory view's byte",
       "Page,GI_Sheet_Common_Common,x\r\nFunction,Current setting\r\nKey beep,OFF\r\n"
       "Page,GI_Sheet_Maker_Memory,x\r\nAddress,'+6\r\n950,1\r\n",
       {"line 6, Memory View, row '950', column '+6': '1': another value of the CSV changed it"}},
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

// What spreadsheets do to a file comes back as the user meant it: their
// padding is no value, a number they rewrote is no edit, a decimal comma
// is a decimal point (but not in a name), and a value they made a time of
// is said. The list on standard output says what changed and what was kept.
TEST_F(CliCsv, SpreadsheetRewritesComeBackAsMeant) {
  struct Case {
    const char* what;
    std::string before;  // a CSV that makes the image imported into; "": the initial one
    std::string csv;
    std::string out;
  };
  const std::string plans = "Page,GI_Sheet_Common_Plans,x\r\nChannel plan,In use\r\n";
  const std::string kept = "kept: Radio and Channel Plans | Clone comment | In use: ";
  const Case cases[] = {
      {"padded records and rows, an empty row, a blank line", "",
       "Page,GI_Sheet_FreeCh,Free Channels,,\r\nNo.,Receive (MHz),Name,,\r\n1,156.8,L1,,\r\n"
       ",,,,\r\n\r\n",
       "changed: Free Channels | 1 | Receive (MHz): 155.50000 \u2192 156.80000 (line 3)\n"
       "1 values changed, 0 kept.\n"},
      {"a short row ends in empty values", "",
       "Page,GI_Sheet_IntCh,x\r\nChannel,Tag,Attribute\r\n1  ,Tag\r\n",
       "changed: International Channels | 1 | Tag: - \u2192 Tag (line 3)\n"
       "1 values changed, 0 kept.\n"},
      {"a leading zero lost", plans + "Clone comment,0171234567\r\n",
       plans + "Clone comment,171234567\r\n",
       kept + "'0171234567' (line 3: the spreadsheet rewrote '0171234567' as '171234567')\n"
              "0 values changed, 1 kept.\n"},
      {"a plus lost", plans + "Clone comment,'+491712345\r\n",
       plans + "Clone comment,491712345\r\n",
       kept + "'+491712345' (line 3: the spreadsheet rewrote '+491712345' as '491712345')\n"
              "0 values changed, 1 kept.\n"},
      {"an exponent written out", plans + "Clone comment,1E5\r\n",
       plans + "Clone comment,100000\r\n",
       kept + "'1E5' (line 3: the spreadsheet rewrote '1E5' as '100000')\n"
              "0 values changed, 1 kept.\n"},
      {"a name's leading zero lost", "Page,GI_Sheet_FreeCh,x\r\nNo.,Name\r\n1,06\r\n",
       "Page,GI_Sheet_FreeCh,x\r\nNo.,Name\r\n1,6\r\n",
       "kept: Free Channels | 1 | Name: '06' (line 3: the spreadsheet rewrote '06' as '6')\n"
       "0 values changed, 1 kept.\n"},
      // The same digits with a letter less are another name, no number.
      {"a name cut to its digits", "Page,GI_Sheet_FreeCh,x\r\nNo.,Name\r\n1,12A\r\n",
       "Page,GI_Sheet_FreeCh,x\r\nNo.,Name\r\n1,12\r\n",
       "changed: Free Channels | 1 | Name: 12A \u2192 12 (line 3)\n1 values changed, 0 kept.\n"},
      {"decimal commas in numbers", "",
       "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz),Name\r\n1,\"156,8\",L1\r\n"
       "2,\"156,825\",L2\r\n",
       "changed: Free Channels | 1 | Receive (MHz): 155.50000 \u2192 156.80000 (line 3)\n"
       "changed: Free Channels | 2 | Receive (MHz): 155.52500 \u2192 156.82500 (line 4)\n"
       "2 values changed, 0 kept.\n"},
      // A text cell takes a comma as it stands.
      {"a comma in a text", "", plans + "Clone comment,\"1,5\"\r\n",
       "changed: Radio and Channel Plans | Clone comment | In use:  \u2192 1,5 (line 3)\n"
       "1 values changed, 0 kept.\n"},
      {"a time a spreadsheet made", "", plans + "Clone comment,12:30:00\r\n",
       "changed: Radio and Channel Plans | Clone comment | In use:  \u2192 12:30:00 (line 3) "
       "warning: a spreadsheet may have made this time or date of what was typed\n"
       "1 values changed, 0 kept.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QString fixture = Initial("TB58_00_USA.DAT");
    if (!c.before.empty()) {
      fixture = Path("fixture.dat");
      QFile::remove(fixture);
      const auto made = RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv",
                                WriteCsv("before.csv", c.before), "--output", fixture});
      ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    const QString out = Path("out.dat");
    QFile::remove(out);
    const auto run =
        RunCli({"import", fixture, "--csv", WriteCsv("sheet.csv", c.csv), "--output", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
    // Kept values leave the image as it was, to the byte.
    const bool nothingChanged = c.out.find("0 values changed") != std::string::npos &&
                                c.out.find("changed: ") == std::string::npos;
    EXPECT_EQ(FileBytes(out) == FileBytes(fixture), nothingChanged);
  }
}

// --dry-run lists what the import would do and writes nothing: no NEW is
// needed, and a NEW given is left as it was, or absent.
TEST_F(CliCsv, DryRunListsTheChangesAndWritesNothing) {
  const QString csv = WriteCsv(
      "dry.csv", "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1,156.8\r\n2,155.525\r\n");
  const QString existing = WriteCsv("existing.dat", "not an image");
  const QString absent = Path("absent.dat");
  const std::string list =
      "changed: Free Channels | 1 | Receive (MHz): 155.50000 \u2192 156.80000 (line 3)\n"
      "kept: Free Channels | 2 | Receive (MHz): '155.52500' (line 4: the spreadsheet rewrote "
      "'155.52500' as '155.525')\n"
      "1 values would change, 1 kept; nothing was written (--dry-run).\n";
  const QStringList outputs[] = {{}, {"--output", existing}, {"--output", absent}};
  for (const QStringList& output : outputs) {
    SCOPED_TRACE(output.join(' ').toStdString());
    const auto run = RunCli(
        QStringList{"import", Initial("TB58_00_USA.DAT"), "--csv", csv, "--dry-run"} + output);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, list);
  }
  EXPECT_EQ(FileBytes(existing), QByteArray("not an image"));
  EXPECT_FALSE(QFile::exists(absent));

  // Without --dry-run a NEW is still needed.
  const auto bare = RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv", csv});
  EXPECT_EQ(bare.exitCode, 64);
  EXPECT_NE(bare.err.find("import needs --output NEW (or --dry-run)"), std::string::npos)
      << bare.err;
  // A refused dry run is refused as an import is.
  const auto refused =
      RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv",
              WriteCsv("bad.csv", "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1,abc\r\n"),
              "--dry-run"});
  EXPECT_EQ(refused.exitCode, 40);
  EXPECT_EQ(refused.out, "");
}

// The memory view's hexadecimal captions do not survive a spreadsheet, so
// a whole export leaves it out; asked for by name it is written.
TEST_F(CliCsv, ExportLeavesTheMemoryViewOutUnlessAskedFor) {
  const QString all = Path("all.csv");
  ASSERT_EQ(RunCli({"export", "--maker", Initial("TB58_00_USA.DAT"), "--csv", all}).exitCode, 0);
  EXPECT_NE(FileBytes(all).indexOf("Page,GI_Sheet_Maker,"), -1);
  EXPECT_EQ(FileBytes(all).indexOf("GI_Sheet_Maker_Memory"), -1);
  const QString memory = Path("memory.csv");
  ASSERT_EQ(RunCli({"export", "--maker", "--page", "GI_Sheet_Maker_Memory",
                    Initial("TB58_00_USA.DAT"), "--csv", memory})
                .exitCode,
            0);
  EXPECT_TRUE(FileBytes(memory).startsWith("Page,GI_Sheet_Maker_Memory,"));
  // Such an export still imports, changing nothing.
  const auto back = RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv", memory, "--dry-run"});
  EXPECT_EQ(back.exitCode, 0) << back.err;
  EXPECT_EQ(back.out, "0 values would change, 0 kept; nothing was written (--dry-run).\n");
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

// Marks of the spreadsheet a user saved with, and values a spreadsheet
// would run as formulas, come back as the values they were.
TEST_F(CliCsv, SpreadsheetFormsImportAsTheirValues) {
  // What "CSV UTF-8" writes: a byte-order mark in front.
  const QString out = Path("bom.dat");
  const auto bom = RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv",
                           WriteCsv("bom.csv",
                                    "\xEF\xBB\xBFPage,GI_Sheet_FreeCh,x\r\n"
                                    "No.,Receive (MHz)\r\n1,156.8\r\n"),
                           "--output", out});
  ASSERT_EQ(bom.exitCode, 0) << bom.err;
  EXPECT_EQ(RunCli({"diff", Initial("TB58_00_USA.DAT"), out})
                .out.rfind("Free Channels | 1 | Receive (MHz): 155.50000 \u2192 156.80000\n", 0),
            0u);

  // A clone comment that a spreadsheet would run.
  const std::string formula = "=cmd|'/Ccalc'!A0";
  const QString hostile = Path("hostile.dat");
  {
    cmcEeprom image = clitest::ReadImage(Initial("TB58_00_USA.DAT").toStdString());
    image.WriteBlock(memmap::kComment, formula.data(), memmap::kCommentLength);
    clitest::WriteImage(image, hostile.toStdString());
  }
  const QString csv = Path("hostile.csv");
  ASSERT_EQ(RunCli({"export", hostile, "--csv", csv}).exitCode, 0);
  const std::string text = FileBytes(csv).toStdString();
  EXPECT_NE(text.find("\r\nClone comment,\"'" + formula + "\","), std::string::npos);
  EXPECT_EQ(text.find("," + formula), std::string::npos);
  // Captions lose the padding that lines them up on screen.
  EXPECT_NE(text.find("\r\nChannel,Attribute,Tag,TX inhibit,Low power,Simplex\r\n0,,"),
            std::string::npos);
  const QString back = Path("back.dat");
  const auto imported =
      RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv", csv, "--output", back});
  ASSERT_EQ(imported.exitCode, 0) << imported.err;
  const cmcEeprom image = clitest::ReadImage(back.toStdString());
  std::string comment;
  for (int i = 0; i < memmap::kCommentLength; ++i)
    comment += static_cast<char>(image.GetByte(memmap::kComment + i));
  EXPECT_EQ(comment, formula);
}

TEST_F(CliCsv, AHugeRefusedValueIsEchoedCut) {
  const std::string huge(8 * 1024 * 1024, '7');
  const auto run = RunCli(
      {"import", Initial("TB58_00_USA.DAT"), "--csv",
       WriteCsv("huge.csv", "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1," + huge + "\r\n"),
       "--output", Path("huge.dat")});
  EXPECT_EQ(run.exitCode, 40);
  EXPECT_NE(run.err.find("'" + std::string(60, '7') + "\u2026'"), std::string::npos) << run.err;
  EXPECT_LT(run.err.size(), 2000u);
}

#ifdef __linux__
// Names that are no regular file: read ones are refused before a byte is
// read (a FIFO without writer would block, a device never end), written
// ones are left as they are instead of being replaced by a file.
TEST_F(CliCsv, SpecialFilesAreRefusedAndLeftAsTheyAre) {
  const QString fifo = Path("fifo");
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  ASSERT_TRUE(QFile::link(fifo, Path("fifo-link")));
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  ASSERT_TRUE(QFile::link(Path("folder"), Path("folder-link")));
  const QString large = Path("large.csv");
  {
    QFile file(large);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(17 * 1024 * 1024));
  }
  // A device node of the test's own: were it replaced, nothing outside the
  // test would suffer (only root may make one).
  const QString device = Path("null-device");
  const bool haveDevice = clitest::MakeNullDevice(device.toStdString());
  if (haveDevice) {
    ASSERT_TRUE(QFile::link(device, Path("device-link")));
  }
  const struct {
    QString path;
    const char* why;
    bool write;  // also given to export as OUT.csv
  } cases[] = {
      {fifo, "is not a regular file", true},
      {Path("fifo-link"), "is not a regular file", true},
      {Path("folder"), "is not a regular file", true},
      {Path("folder-link"), "is not a regular file", true},
      {device, "is not a regular file", true},
      {Path("device-link"), "is not a regular file", true},
      // Read only: the system's devices are never given as a target.
      {"/dev/zero", "is not a regular file", false},
      {large, "is larger than 16 MB", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    if (!haveDevice && c.path.contains("device")) continue;
    const QString out = Path("new.dat");
    const auto imported =
        RunCli({"import", Initial("TB58_00_USA.DAT"), "--csv", c.path, "--output", out}, 30000);
    EXPECT_FALSE(imported.crashed);
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_NE(imported.err.find("cannot read " + c.path.toStdString() + ": it " + c.why),
              std::string::npos)
        << imported.err;
    EXPECT_FALSE(QFile::exists(out));
    if (!c.write) continue;
    const auto exported = RunCli({"export", Initial("TB58_00_USA.DAT"), "--csv", c.path}, 30000);
    EXPECT_FALSE(exported.crashed);
    EXPECT_EQ(exported.exitCode, 1) << exported.err;
    EXPECT_NE(exported.err.find("it is not a regular file"), std::string::npos) << exported.err;
  }
  struct stat status {};
  ASSERT_EQ(::stat(fifo.toLocal8Bit().constData(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  if (haveDevice) {
    ASSERT_EQ(::stat(device.toLocal8Bit().constData(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
  }
  EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
}
#endif

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

// The status says whether the images differ, not whether a page shows it.
TEST(CliDiff, ImagesThatDifferOnlyInBytesNoPageShowsDiffer) {
  QTemporaryDir dir;
  cmcEeprom image = clitest::ReadImage(Initial("TB58_00_USA.DAT").toStdString());
  // A byte near the end of the file that no page shows (the power-on plan
  // byte would be set again from the plans when the file is opened).
  constexpr int kUnshown = 0xCE0;
  image.SetByte(kUnshown, static_cast<std::uint8_t>(image.GetByte(kUnshown) ^ 1));
  const std::string changed = dir.filePath("changed.dat").toStdString();
  clitest::WriteImage(image, changed);
  const auto run = RunCli({"diff", Initial("TB58_00_USA.DAT"), QString::fromStdString(changed)});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out.rfind("Bytes no page shows:\n", 0), 0u) << run.out;
}

#ifdef __linux__
// A list that never reached its reader says nothing about the images.
TEST(CliDiff, LostStandardOutputIsNoAnswer) {
  const auto run = RunCli({"diff", Initial("TB58_00_USA.DAT"), Initial("TB58_01_EUR.DAT")},
                          clitest::CliStreams{{}, "/dev/full"});
  EXPECT_EQ(run.exitCode, 74) << run.err;
  EXPECT_NE(run.err.find("standard output could not be written"), std::string::npos) << run.err;
}
#endif

}  // namespace
