// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli export and import with an OpenDocument spreadsheet, on the
// initial clone data files: the round trip changes no byte, also through
// LibreOffice Calc; a name "06" stays "06"; files that are no spreadsheet
// are refused with the reason and nothing is written.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <string>

#include "spreadsheet/zip_archive.h"
#include "support/initial_files.h"

namespace {

using testsupport::Initial;
using testsupport::kInitialFiles;

struct CliRun {
  int exitCode = -1;
  std::string err;
};

CliRun RunProgram(const QString& program, const QStringList& args, int timeoutMs,
                  const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  CliRun run;
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
    return run;
  }
  if (p.exitStatus() == QProcess::NormalExit) run.exitCode = p.exitCode();
  run.err = p.readAllStandardError().toStdString();
  return run;
}

CliRun Cli(const QStringList& args) {
  return RunProgram(QStringLiteral(SEACLONE_BIN_DIR "/seaclone-cli"), args, 120000);
}

std::string Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

void Write(const QString& path, const std::string& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string Content(const QString& ods) {
  std::string content;
  EXPECT_EQ(spreadsheet::ReadZipEntry(Bytes(ods), "content.xml", 64 << 20, content),
            spreadsheet::ZipRead::kRead);
  return content;
}

class CliOds : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(CliOds, ExportThenImportChangesNoByteOfAnyInitialImage) {
  for (const bool maker : {false, true}) {
    for (const char* name : kInitialFiles) {
      SCOPED_TRACE(std::string(name) + (maker ? " maker" : ""));
      const QString ods = Path("all.ods");
      const QString out = Path("new.dat");
      QFile::remove(out);
      QStringList exportArgs{"export", Initial(name), "--csv", ods};
      if (maker) exportArgs << "--maker";
      const CliRun exported = Cli(exportArgs);
      ASSERT_EQ(exported.exitCode, 0) << exported.err;
      const CliRun imported = Cli({"import", Initial(name), "--csv", ods, "--output", out});
      ASSERT_EQ(imported.exitCode, 0) << imported.err;
      EXPECT_EQ(Bytes(out), Bytes(Initial(name)));
    }
  }
}

TEST_F(CliOds, ChoicesAreListsFrequenciesNumbersNamesText) {
  const QString ods = Path("eur.ods");
  ASSERT_EQ(Cli({"export", Initial("TB58_01_EUR.DAT"), "--csv", ods}).exitCode, 0);
  const std::string content = Content(ods);
  // The page record names the model.
  EXPECT_NE(content.find("<text:p>GI_Sheet_IntCh</text:p></table:table-cell><table:table-cell "
                         "table:style-name=\"ceText\" office:value-type=\"string\"><text:p>"
                         "International Channels</text:p></table:table-cell><table:table-cell "
                         "table:style-name=\"ceText\" office:value-type=\"string\"><text:p>Europe"),
            std::string::npos);
  // A switch of the plans page offers OFF and ON.
  EXPECT_NE(content.find(
                "table:condition=\"of:cell-content-is-in-list(&quot;OFF&quot;;&quot;ON&quot;)\""),
            std::string::npos);
  EXPECT_NE(content.find(
                "table:content-validation-name=\"val2\" office:value-type=\"string\"><text:p>OFF"),
            std::string::npos);
  // Free channel 1: its name is text, its frequency a number.
  EXPECT_NE(content.find("<text:p>L1</text:p></table:table-cell><table:table-cell "
                         "table:style-name=\"ceN1_5\" office:value-type=\"float\" "
                         "office:value=\"155.50000\"><text:p>155.50000</text:p>"),
            std::string::npos);
}

// A name the spreadsheet would read as the number 6, set through a CSV.
void ImageWithName06(const QString& csv, const QString& out) {
  Write(csv, "Page,GI_Sheet_FreeCh,Free Channels\r\nNo.,Name\r\n1,06\r\n");
  const CliRun run = Cli({"import", Initial("TB58_01_EUR.DAT"), "--csv", csv, "--output", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
}

TEST_F(CliOds, ANameOf06StaysText) {
  ASSERT_NO_FATAL_FAILURE(ImageWithName06(Path("edit.csv"), Path("06.dat")));
  const QString ods = Path("06.ods");
  // The free channels alone: a renamed free channel renames its row on the
  // pages of the plans that list it, which an import matches by name.
  ASSERT_EQ(Cli({"export", Path("06.dat"), "--page", "GI_Sheet_FreeCh", "--csv", ods}).exitCode, 0);
  EXPECT_NE(Content(ods).find("<table:table-cell table:style-name=\"ceText\" "
                              "office:value-type=\"string\"><text:p>06</text:p>"),
            std::string::npos);
  // Put onto the unchanged image, the sheet makes exactly that edit.
  const CliRun run =
      Cli({"import", Initial("TB58_01_EUR.DAT"), "--csv", ods, "--output", Path("back.dat")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Bytes(Path("back.dat")), Bytes(Path("06.dat")));
}

TEST_F(CliOds, RefusesFilesThatAreNoSpreadsheetAndWritesNothing) {
  const std::string mime = "application/vnd.oasis.opendocument.spreadsheet";
  const std::string content =
      "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\">"
      "<office:body><office:spreadsheet>";
  struct Case {
    const char* what;
    std::string bytes;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"a CSV named .ods", "Page,GI_Sheet_IntCh,International Channels\r\n", 40,
       "not a zip archive"},
      {"a zip without content.xml",
       spreadsheet::ZipOf({{"mimetype", mime, true}, {"other.xml", "<a/>", false}}).value(), 40,
       "has no content.xml"},
      {"a content.xml of 17 MB",
       spreadsheet::ZipOf(
           {{"mimetype", mime, true}, {"content.xml", content + std::string(17 << 20, ' '), false}})
           .value(),
       40, "unpacks to more than 16 MB"},
      {"broken XML",
       spreadsheet::ZipOf({{"mimetype", mime, true}, {"content.xml", content + "<table:", false}})
           .value(),
       40, "its content is damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString ods = Path("bad.ods");
    const QString out = Path("never.dat");
    Write(ods, c.bytes);
    const CliRun run = Cli({"import", Initial("TB58_01_EUR.DAT"), "--csv", ods, "--output", out});
    EXPECT_EQ(run.exitCode, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(Bytes(ods), c.bytes);
  }
}

// LibreOffice Calc opens each export and saves it again, all files in one
// start; every saved file imports without a change.
TEST_F(CliOds, CalcSavesAnExportThatImportsUnchanged) {
  const QString soffice = QStandardPaths::findExecutable("soffice");
  if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice Calc (soffice) is not installed";
  QDir(dir.path()).mkpath("home");
  QDir(dir.path()).mkpath("calc");
  QStringList files;
  QStringList args{"--headless", "--norestore", "--convert-to", "ods", "--outdir", Path("calc")};
  for (const bool maker : {false, true}) {
    for (const char* name : kInitialFiles) {
      const QString ods = Path(QString(name).replace(".DAT", maker ? "_maker.ods" : ".ods"));
      QStringList exportArgs{"export", Initial(name), "--csv", ods};
      if (maker) exportArgs << "--maker";
      ASSERT_EQ(Cli(exportArgs).exitCode, 0) << name;
      args << ods;
    }
  }
  ASSERT_NO_FATAL_FAILURE(ImageWithName06(Path("edit.csv"), Path("06.dat")));
  ASSERT_EQ(
      Cli({"export", Path("06.dat"), "--page", "GI_Sheet_FreeCh", "--csv", Path("name06.ods")})
          .exitCode,
      0);
  args << Path("name06.ods");

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("HOME", Path("home"));  // a profile of its own, never the user's
  const CliRun calc = RunProgram(soffice, args, 280000, env);
  ASSERT_EQ(calc.exitCode, 0) << calc.err;

  for (const bool maker : {false, true}) {
    for (const char* name : kInitialFiles) {
      SCOPED_TRACE(std::string(name) + (maker ? " maker" : ""));
      const QString saved =
          Path("calc/" + QString(name).replace(".DAT", maker ? "_maker.ods" : ".ods"));
      ASSERT_TRUE(QFile::exists(saved));
      const CliRun run =
          Cli({"import", Initial(name), "--csv", saved, "--output", Path("new.dat")});
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(Bytes(Path("new.dat")), Bytes(Initial(name)));
    }
  }
  const CliRun name06 = Cli({"import", Initial("TB58_01_EUR.DAT"), "--csv", Path("calc/name06.ods"),
                             "--output", Path("back.dat")});
  ASSERT_EQ(name06.exitCode, 0) << name06.err;
  EXPECT_EQ(Bytes(Path("back.dat")), Bytes(Path("06.dat")));
}

}  // namespace
