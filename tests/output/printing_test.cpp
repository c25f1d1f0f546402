// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own pages printed: laid out for a printer, shown in the
// preview and written to a PDF file, on the initial image through the real
// cell evaluator.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "layout/tree_pages.h"
#include "output/preview.h"
#include "output/preview_setting.h"
#include "output/printer.h"
#include "output/sheet_printout.h"
#include "support/eval_support.h"
#include "ui/image_list.h"

namespace {

class Printing : public evaltest::ShippedOverlayTest {
 protected:
  Printing() {
    UseModel(0, false);
    for (int i = 0; i < 18; ++i) {
      QPixmap picture(16, 16);
      picture.fill(Qt::gray);
      images.Add(picture);
    }
    source = {&table, &images, nullptr, "Software\\SeaclonePrint\\K4T", &bus};
  }

  // A4 at 600 dpi inside 10 mm margins.
  output::PrintSetup A4(int points = 10) const {
    return {600, 4960, 7016, output::MarginRect({10, 10, 10, 10}, 600, 4960, 7016), points};
  }

  std::vector<layout::TreePage> Sheets() {
    return layout::ShownTreePages(table, {&target.image, 0, false});
  }

  layout::TreePage Sheet(const std::string& key) {
    for (const layout::TreePage& page : Sheets()) {
      if (page.sheetKey == key) return page;
    }
    ADD_FAILURE() << key;
    return {};
  }

  static int PdfPages(const QString& file) {
    QProcess info;
    info.start("pdfinfo", {file});
    info.waitForFinished();
    for (const QString& line : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
      if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    }
    return -1;
  }

  cuiImageList images{QSize(16, 16)};
  output::PrintSource source;
};

TEST_F(Printing, EveryPageFitsItsContentAndRepeatsNothingTwice) {
  for (const output::PrintSetup& setup : {A4(), A4(12)}) {
    output::SheetPrintout printout(source, Sheet("GI_Sheet_IntCh"), setup);
    const std::vector<output::PrintedPage>& pages = printout.Pages();
    ASSERT_GT(pages.size(), 1u);
    int rows = 0;
    for (const output::PrintedPage& page : pages) {
      EXPECT_TRUE(output::Fits(page.extent, printout.Frame().content));
      if (page.span.firstColumn == pages.front().span.firstColumn) rows += page.span.rowCount;
    }
    // Every channel row on exactly one page of a column chunk.
    EXPECT_EQ(rows, 418) << setup.fontPoints;
  }
  // A bigger font needs more pages.
  output::SheetPrintout small(source, Sheet("GI_Sheet_IntCh"), A4(8));
  output::SheetPrintout large(source, Sheet("GI_Sheet_IntCh"), A4(12));
  EXPECT_LT(small.Pages().size(), large.Pages().size());
}

TEST_F(Printing, PageTooNarrowShrinksTheFont) {
  // A strip of paper narrower than the channel columns: the font shrinks
  // until the page fits, and stays shrunk for the pages after it.
  output::PrintSetup strip = A4();
  strip.pageWidth = 700;
  strip.margins = output::MarginRect({2, 10, 2, 10}, 600, strip.pageWidth, strip.pageHeight);
  output::SheetPrintout printout(source, Sheet("GI_Sheet_Common_Common"), strip);
  const std::vector<output::PrintedPage>& pages = printout.Pages();
  ASSERT_FALSE(pages.empty());
  const int full = output::PrinterFontHeight(10, 600);
  EXPECT_GT(pages.front().fontHeight, full);  // negative heights: nearer 0 is smaller
  for (std::size_t i = 1; i < pages.size(); ++i)
    EXPECT_GE(pages[i].fontHeight, pages[i - 1].fontHeight);
  EXPECT_LE(pages.front().extent.width, printout.Frame().content.Width());
}

TEST_F(Printing, PreviewNavigation) {
  QWidget owner;
  int points = 10;
  cuiPreview preview(&owner, table, &images, "Seaclone");
  preview.SetJob(source, A4(), {Sheet("GI_Sheet_IntCh")}, points);
  const int count = preview.PageCount();
  ASSERT_GE(count, 3);
  EXPECT_EQ(preview.CurrentPage(), 0);
  EXPECT_FALSE(preview.PreviousAction()->isEnabled());
  preview.PreviousAction()->trigger();
  EXPECT_EQ(preview.CurrentPage(), 0);
  EXPECT_EQ(preview.PageEdit()->text(), "1");

  preview.NextAction()->trigger();
  EXPECT_EQ(preview.CurrentPage(), 1);
  EXPECT_EQ(preview.StatusPanel()->text(), QStringLiteral(" 2 / %1").arg(count));

  // 99 and Enter in the page edit: the last page; letters never reach it.
  preview.PageEdit()->clear();
  QTest::keyClicks(preview.PageEdit(), "9x9");
  EXPECT_EQ(preview.PageEdit()->text(), "99");
  QTest::keyClick(preview.PageEdit(), Qt::Key_Return);
  EXPECT_EQ(preview.CurrentPage(), count - 1);
  EXPECT_EQ(preview.PageEdit()->text(), QString::number(count));
  EXPECT_FALSE(preview.NextAction()->isEnabled());
  EXPECT_FALSE(preview.LastAction()->isEnabled());

  QTest::keyClick(&preview, Qt::Key_PageUp);
  EXPECT_EQ(preview.CurrentPage(), count - 2);
  preview.TopAction()->trigger();
  QTest::keyClick(&preview, Qt::Key_Down);
  EXPECT_EQ(preview.CurrentPage(), 1);
  // Zoomed, Down scrolls instead.
  preview.ZoomAction()->setChecked(true);
  QTest::keyClick(&preview, Qt::Key_Down);
  EXPECT_EQ(preview.CurrentPage(), 1);
}

TEST_F(Printing, PreviewFitsThePageToTheWindowItOpensIn) {
  // The page is rendered before the window is laid out; it must still fill
  // the room it gets when shown, and follow the window when resized. One
  // page and many pages alike.
  for (const char* key : {"GI_Sheet_Common_Plans", "GI_Sheet_IntCh"}) {
    SCOPED_TRACE(key);
    QWidget owner;
    int points = 10;
    cuiPreview preview(&owner, table, &images, "Seaclone");
    preview.SetJob(source, A4(), {Sheet(key)}, points);
    const auto fills = [&preview] {
      QApplication::processEvents();
      const QSize room = preview.PageArea()->viewport()->size();
      const QSize shown = preview.Picture()->pixmap().size();
      SCOPED_TRACE(QStringLiteral("room %1x%2, page %3x%4")
                       .arg(room.width())
                       .arg(room.height())
                       .arg(shown.width())
                       .arg(shown.height())
                       .toStdString());
      EXPECT_GT(room.height(), 200);
      // Fitted: as high or as wide as the room, never larger.
      EXPECT_TRUE(shown.height() >= room.height() - 1 || shown.width() >= room.width() - 1);
      EXPECT_LE(shown.height(), room.height());
      EXPECT_LE(shown.width(), room.width());
      EXPECT_GE(shown.height() * 2, room.height());
    };
    preview.show();
    fills();
    preview.resize(preview.width() * 2 / 3, preview.height() * 2 / 3);
    fills();
  }
}

TEST_F(Printing, PreviewShowsInkInsideTheMargins) {
  QWidget owner;
  int points = 10;
  cuiPreview preview(&owner, table, &images, "Seaclone");
  preview.SetJob(source, A4(), {Sheet("GI_Sheet_Common_Common")}, points);
  const QImage& image = preview.PageImage();
  // A4 at screen resolution, a black border, ink only within 10 mm + border.
  const double scale = image.height() / 7016.0;
  EXPECT_NEAR(image.width(), 4960 * scale, 1);
  const int margin = static_cast<int>(236 * scale);
  int inside = 0;
  int outside = 0;
  for (int y = 1; y < image.height() - 1; ++y) {
    for (int x = 1; x < image.width() - 1; ++x) {
      if (qGray(image.pixel(x, y)) > 128) continue;
      const bool in = x >= margin - 1 && x <= image.width() - margin && y >= margin - 1 &&
                      y <= image.height() - margin;
      (in ? inside : outside)++;
    }
  }
  EXPECT_GT(inside, 500);
  EXPECT_EQ(outside, 0);
}

TEST_F(Printing, SettingOneMeansEightPoints) {
  QWidget owner;
  int points = 10;
  cuiPreview preview(&owner, table, &images, "Seaclone");
  preview.SetJob(source, A4(), {Sheet("GI_Sheet_IntCh")}, points);
  const int before = preview.PageCount();
  preview.ShowPage(2);
  QTimer::singleShot(0, [] {
    auto* dialog = dynamic_cast<cuiPreviewSetting*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Sizes()->currentText(), "3");  // 10 points preselected
    dialog->Sizes()->setCurrentIndex(dialog->Sizes()->findText("1"));
    dialog->OkButton()->click();
  });
  preview.RunSetting();
  EXPECT_EQ(points, 8);
  EXPECT_EQ(preview.CurrentPage(), 0);
  EXPECT_LT(preview.PageCount(), before);
}

class PrintingToPdf : public Printing {
 protected:
  PrintingToPdf() {
    file = dir.filePath("out.pdf");
    printer.setUpPrinter = [this](QPrinter& p) {
      p.setOutputFormat(QPrinter::PdfFormat);
      p.setResolution(600);
      p.setOutputFileName(file);
      return true;
    };
    printer.runPreview = [this](cuiPreview& preview) {
      previewPages = preview.PageCount();
      return pressPrint;
    };
  }

  QTemporaryDir dir;
  QString file;
  QWidget owner;
  int points = 10;
  cuiPrinter printer{&owner, source, points, &images};
  int previewPages = 0;
  bool pressPrint = true;
};

TEST_F(PrintingToPdf, PrintAllPrintsWhatThePreviewShowed) {
  owner.show();
  printer.PrintAll(Sheets());
  EXPECT_TRUE(printer.JobActive());
  EXPECT_FALSE(owner.isEnabled());
  ASSERT_NE(printer.PrintingDialog(), nullptr);
  // Over the window it disables, without being its child.
  ASSERT_NE(printer.PrintingDialog()->windowHandle(), nullptr);
  EXPECT_EQ(printer.PrintingDialog()->windowHandle()->transientParent(), owner.windowHandle());
  ASSERT_TRUE(time.AdvanceUntil([&] { return !printer.JobActive(); }, 60000));
  EXPECT_TRUE(owner.isEnabled());
  EXPECT_EQ(printer.PrintingDialog(), nullptr);
  EXPECT_GT(previewPages, 1);
  EXPECT_EQ(PdfPages(file), previewPages);
}

TEST_F(PrintingToPdf, CancelStopsBetweenSheetsAndStillEndsTheDocument) {
  const std::vector<layout::TreePage> sheets = Sheets();
  ASSERT_GT(sheets.size(), 2u);
  printer.PrintAll(sheets);
  time.AdvanceBy(50);  // the first sheet
  ASSERT_NE(printer.PrintingDialog(), nullptr);
  printer.PrintingDialog()->findChild<QPushButton*>()->click();
  ASSERT_TRUE(time.AdvanceUntil([&] { return !printer.JobActive(); }, 1000));
  EXPECT_TRUE(owner.isEnabled());
  const int printed = PdfPages(file);
  EXPECT_GT(printed, 0);
  EXPECT_LT(printed, previewPages);
}

TEST_F(PrintingToPdf, CurrentSheetAndRefusals) {
  printer.PrintSheet(Sheet("GI_Sheet_Common_Common"));
  EXPECT_FALSE(printer.JobActive());
  EXPECT_TRUE(owner.isEnabled());
  EXPECT_EQ(PdfPages(file), previewPages);
  ASSERT_GT(previewPages, 0);

  // Close instead of Print, or a cancelled set-up: nothing written.
  QFile::remove(file);
  pressPrint = false;
  printer.PrintSheet(Sheet("GI_Sheet_Common_Common"));
  printer.setUpPrinter = [](QPrinter&) { return false; };
  printer.PrintAll(Sheets());
  EXPECT_FALSE(printer.JobActive());
  EXPECT_TRUE(owner.isEnabled());
  EXPECT_FALSE(QFile::exists(file));
}

}  // namespace
