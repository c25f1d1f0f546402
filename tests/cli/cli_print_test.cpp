// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli print: every page of the initial images into a PDF file,
// read back with poppler's tools.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QDir>
#include <QFileInfo>

#include <map>

#include <sys/stat.h>

#include "support/cli_support.h"
#include "support/disk_squeeze.h"
#include "text/gtex.h"

namespace {

using clitest::RunCli;

QString InitialFile(int model) {
  static const char* const kFiles[] = {
      "00_USA", "01_EUR",       "02_UK",  "03_DE_ATIS", "04_NL_ATIS", "05_AUS",   "06_USA_COM",
      "07_NZ",  "08_NORDIC_US", "09_SWE", "10_NOR",     "11_FIN",     "12_EXPORT"};
  return QStringLiteral(SEACLONE_SOURCE_DIR "/data/initial/TB58_%1.DAT").arg(kFiles[model]);
}

QByteArray RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(60000);
  return process.readAllStandardOutput();
}

// The text of each page of a PDF file.
QStringList PageTexts(const QString& pdf) {
  QStringList pages = QString::fromUtf8(RunTool("pdftotext", {"-layout", pdf, "-"})).split('\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// The page keys and titles `pages` lists for a file, in tree order.
std::vector<std::pair<QString, QString>> SheetsOf(const QString& file) {
  const clitest::CliRun run = RunCli({"pages", file});
  std::vector<std::pair<QString, QString>> sheets;
  static const QRegularExpression title(QStringLiteral("^(.*) \\[(GI_[A-Za-z_]+)\\]$"));
  for (const QString& line : QString::fromStdString(run.out).split('\n')) {
    const QRegularExpressionMatch m = title.match(line);
    if (m.hasMatch()) sheets.emplace_back(m.captured(2), m.captured(1));
  }
  return sheets;
}

class CliPrint : public ::testing::Test {
 protected:
  CliPrint() { table.Bind(SEACLONE_BIN_DIR "/TB58.OVL"); }

  QString Frame() {
    return QString::fromStdString(table.Line("GI_Sys_AppTitle", 0) + " " +
                                  table.Line("GI_Sys_Rev", 0));
  }
  QString Maker() { return QString::fromStdString(table.Line("GI_Sys_Maker", 0)); }

  QTemporaryDir dir;
  cmcGTex table;
};

TEST_F(CliPrint, EveryInitialImagePrintsEveryPageWithItsFrame) {
  for (int model = 0; model < 13; ++model) {
    const QString pdf = dir.filePath(QStringLiteral("all%1.pdf").arg(model));
    const clitest::CliRun run = RunCli({"print", "--pdf", pdf, InitialFile(model)});
    ASSERT_EQ(run.exitCode, 0) << model << run.err;
    const QStringList pages = PageTexts(pdf);
    const auto sheets = SheetsOf(InitialFile(model));
    ASSERT_GE(pages.size(), static_cast<qsizetype>(sheets.size())) << model;
    for (qsizetype i = 0; i < pages.size(); ++i) {
      EXPECT_TRUE(pages[i].contains(Frame())) << model << " page " << i;
      EXPECT_TRUE(pages[i].contains(Maker())) << model << " page " << i;
    }
    for (const auto& [key, title] : sheets) {
      EXPECT_TRUE(pages.filter(title).size() > 0) << model << " " << key.toStdString();
    }
  }
}

TEST_F(CliPrint, AllPagesAreTheSheetsPagesInTreeOrder) {
  for (int model : {0, 3, 8}) {
    const QString all = dir.filePath("all.pdf");
    ASSERT_EQ(RunCli({"print", "--pdf", all, InitialFile(model)}).exitCode, 0);
    const QStringList pages = PageTexts(all);
    qsizetype at = 0;
    for (const auto& [key, title] : SheetsOf(InitialFile(model))) {
      const QString one = dir.filePath("one.pdf");
      ASSERT_EQ(RunCli({"print", "--page", key, "--pdf", one, InitialFile(model)}).exitCode, 0)
          << key.toStdString();
      const qsizetype count = PageTexts(one).size();
      ASSERT_GT(count, 0) << key.toStdString();
      // Each of the sheet's pages starts with its title.
      for (qsizetype i = at; i < at + count && i < pages.size(); ++i) {
        EXPECT_TRUE(pages[i].trimmed().startsWith(title))
            << model << " " << key.toStdString() << " page " << i;
      }
      at += count;
    }
    EXPECT_EQ(at, pages.size()) << model;
  }
  // A larger printer font needs more paper.
  const QString small = dir.filePath("small.pdf");
  const QString large = dir.filePath("large.pdf");
  ASSERT_EQ(RunCli({"print", "--font-size", "8", "--page", "GI_Sheet_IntCh", "--pdf", small,
                    InitialFile(0)})
                .exitCode,
            0);
  ASSERT_EQ(RunCli({"print", "--font-size", "12", "--page", "GI_Sheet_IntCh", "--pdf", large,
                    InitialFile(0)})
                .exitCode,
            0);
  EXPECT_LT(PageTexts(small).size(), PageTexts(large).size());
}

TEST_F(CliPrint, RasterisedPagesHoldInkOnlyInsideTheMargins) {
  const QString pdf = dir.filePath("p.pdf");
  ASSERT_EQ(RunCli({"print", "--pdf", pdf, InitialFile(0)}).exitCode, 0);
  const int pages = static_cast<int>(PageTexts(pdf).size());
  // 36 dpi: 10 mm margins are 14 pixels.
  constexpr int kDpi = 36;
  constexpr int kMargin = 13;
  for (int page : {1, 3, pages}) {
    const QString stem = dir.filePath(QStringLiteral("r%1").arg(page));
    RunTool("pdftoppm", {"-r", QString::number(kDpi), "-gray", "-singlefile", "-f",
                         QString::number(page), "-l", QString::number(page), pdf, stem});
    QFile file(stem + ".pgm");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
    const QByteArray data = file.readAll();
    // P5 header: magic, width, height, maximum, each followed by white space.
    const QList<QByteArray> header = data.left(64).simplified().split(' ');
    ASSERT_GE(header.size(), 4);
    const int width = header[1].toInt();
    const int height = header[2].toInt();
    const QByteArray pixels = data.right(width * height);
    int inked = 0;
    int outside = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (static_cast<unsigned char>(pixels[y * width + x]) > 128) continue;
        const bool in = x >= kMargin && y >= kMargin && x < width - kMargin && y < height - kMargin;
        (in ? inked : outside)++;
      }
    }
    EXPECT_GT(inked, 200) << "page " << page << " is blank";
    EXPECT_EQ(outside, 0) << "page " << page;
  }
}

TEST_F(CliPrint, RefusalsAndFailures) {
  struct Case {
    QStringList args;
    int exit;
  };
  const QString pdf = dir.filePath("x.pdf");
  const Case cases[] = {
      {{"print", InitialFile(0)}, 64},                                     // no --pdf
      {{"print", "--pdf", pdf}, 64},                                       // no FILE
      {{"print", "--pdf", pdf, "--font-size", "13", InitialFile(0)}, 64},  // font size out of range
      {{"print", "--pdf", pdf, "--format", "csv", InitialFile(0)}, 64},    // a pages option
      {{"print", "--pdf", pdf, "--page", "GI_Sheet_Nope", InitialFile(0)}, 64},
      {{"print", "--pdf", pdf, dir.filePath("missing.dat")}, 1},
      {{"print", "--pdf", dir.filePath("no/such/dir/x.pdf"), InitialFile(0)}, 2},
  };
  for (const Case& c : cases) {
    const clitest::CliRun run = RunCli(c.args);
    EXPECT_EQ(run.exitCode, c.exit) << c.args.join(' ').toStdString() << "\n" << run.err;
    EXPECT_FALSE(QFile::exists(pdf)) << c.args.join(' ').toStdString();
  }
}

// A PDF that cannot be written whole keeps the old file as it was and
// leaves nothing beside it; a name that is no regular file is not replaced.
TEST_F(CliPrint, AFailedPrintKeepsTheOldFile) {
  for (const testsupport::Squeeze& squeeze : testsupport::kSqueezes) {
    SCOPED_TRACE(squeeze.what);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const testsupport::Undo undo = squeeze.apply(folder.path());
    if (!undo) {
      std::printf("skipped: %s cannot be made here\n", squeeze.what);
      continue;
    }
    const QString pdf = folder.filePath("old.pdf");
    {
      QFile old(pdf);
      ASSERT_TRUE(old.open(QIODevice::WriteOnly));
      old.write("%PDF-1.4 the old file\n");
    }
    const clitest::CliRun run = RunCli({"print", "--pdf", pdf, InitialFile(0)});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("cannot write " + pdf.toStdString()), std::string::npos) << run.err;
    EXPECT_EQ(clitest::FileBytes(pdf), QByteArray("%PDF-1.4 the old file\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"old.pdf"});
    undo();
  }

  const QString fifo = dir.filePath("fifo.pdf");
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.pdf"));
  QStringList targets{fifo, dir.filePath("folder.pdf")};
  // A device node of the test's own, never the system's.
  if (clitest::MakeNullDevice(dir.filePath("device.pdf").toStdString()))
    targets << dir.filePath("device.pdf");
  for (const QString& target : targets) {
    const clitest::CliRun run = RunCli({"print", "--pdf", target, InitialFile(0)}, 30000);
    EXPECT_FALSE(run.crashed) << target.toStdString();
    EXPECT_EQ(run.exitCode, 1) << target.toStdString() << "\n" << run.err;
    EXPECT_NE(run.err.find("it is not a regular file"), std::string::npos) << run.err;
  }
  struct stat status {};
  ASSERT_EQ(::stat(fifo.toLocal8Bit().constData(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_TRUE(QFileInfo(dir.filePath("folder.pdf")).isDir());
}

}  // namespace
