// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-bench-print-speed: on the initial image of model type 0, times
//   every page of every sheet of the tree printed to a PDF file (A4, 600 dpi),
//   the preview of the same pages opened (laid out, first page drawn);
// each as the median over the runs.
//
//   seaclone-bench-print-speed [--runs N]
//
// Exit status 0 when the PDF takes at most 2 s, else 1.

#include <QApplication>
#include <QElapsedTimer>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/evman.h"
#include "layout/tree_pages.h"
#include "model/command_target.h"
#include "output/preview.h"
#include "output/sheet_printout.h"
#include "platform/paths.h"
#include "radio/document.h"
#include "radio/document_target.h"
#include "text/gtex.h"
#include "ui/image_list.h"

namespace {

constexpr double kPdfLimitMs = 2000.0;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Ms(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::max(std::atoi(argv[++i]), 1);
  }
  QTemporaryDir scratch;
  ::setenv("XDG_CONFIG_HOME", scratch.path().toLocal8Bit().constData(), 1);
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  cmcGTex table;
  table.Bind(platform::DataDir() + "TB58.OVL");
  gGTex = &table;
  cmcDocument document(0);
  cmcDocumentTarget target(document);
  SetCommandTarget(&target.Commands());
  const std::vector<layout::TreePage> sheets =
      layout::ShownTreePages(table, {&document.Working(), document.ModelType(), false});
  const cuiImageList images(QSize(16, 16));
  cmcEvMan bus;
  const output::PrintSource source{&table, &images, nullptr, {}, &bus};

  std::vector<double> pdf, preview;
  int pages = 0;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer timer;
    timer.start();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(600);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setOutputFileName(scratch.filePath("bench.pdf"));
    output::PrintSetup setup;
    setup.dpi = printer.logicalDpiY();
    setup.pageWidth = printer.width();
    setup.pageHeight = printer.height();
    setup.margins =
        output::MarginRect(output::ParseMargins(table.Line("GI_Sys_Printer_Margins", 0)), setup.dpi,
                           setup.pageWidth, setup.pageHeight);
    QPainter painter(&printer);
    pages = 0;
    for (const layout::TreePage& sheet : sheets) {
      output::SheetPrintout printout(source, sheet, setup);
      for (const output::PrintedPage& page : printout.Pages()) {
        if (pages++ > 0) printer.newPage();
        printout.Paint(painter, page);
      }
    }
    painter.end();
    pdf.push_back(Ms(timer));

    timer.restart();
    int points = 10;
    cuiPreview window(nullptr, table, &images, "bench");
    window.SetJob(source, setup, sheets, points);
    preview.push_back(Ms(timer));
  }

  const double pdfMs = Median(pdf);
  std::printf("model type 0, %zu sheets, %d pages, %d runs, offscreen\n", sheets.size(), pages,
              runs);
  std::printf("  all pages to PDF   median %8.1f ms (target <= %.0f ms)\n", pdfMs, kPdfLimitMs);
  std::printf("  open the preview   median %8.1f ms\n", Median(preview));
  SetCommandTarget(nullptr);
  gGTex = nullptr;
  return pdfMs <= kPdfLimitMs ? 0 : 1;
}
