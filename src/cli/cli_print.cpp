// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli print`: the pages of a clone data file into a PDF file,
// painted by the same printout as the program's File > Print.

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/document_pages.h"
#include "output/sheet_printout.h"
#include "text/gtex.h"
#include "ui/image_list.h"

namespace cli {
namespace {

constexpr int kPdfResolution = 600;

}  // namespace

int RunPrint(const Options& options) {
  DocumentPages opened;
  if (const int status = opened.Open(options); status != kExitOk) return status;

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(kPdfResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setFullPage(true);
  printer.setCreator(QString::fromStdString(gGTex->Line("GI_Sys_AppTitle", 0)));
  printer.setOutputFileName(QString::fromStdString(options.pdf));

  output::PrintSetup setup;
  setup.dpi = printer.logicalDpiY();
  setup.pageWidth = printer.width();
  setup.pageHeight = printer.height();
  setup.margins = output::MarginRect(output::ParseMargins(gGTex->Line("GI_Sys_Printer_Margins", 0)),
                                     setup.dpi, setup.pageWidth, setup.pageHeight);
  setup.fontPoints = options.fontSize;
  // Printed marks are drawn as shapes; the list only has to be there.
  const cuiImageList marks;
  const output::PrintSource source{gGTex, &marks, nullptr, {}};

  QPainter painter;
  if (!painter.begin(&printer)) {
    StandardError().Message("seaclone-cli: cannot write " + options.pdf);
    return kExitOutput;
  }
  bool started = false;
  for (const layout::TreePage& sheet : opened.Pages()) {
    output::SheetPrintout printout(source, sheet, setup);
    for (const output::PrintedPage& page : printout.Pages()) {
      if (started) printer.newPage();
      started = true;
      printout.Paint(painter, page);
    }
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    StandardError().Message("seaclone-cli: cannot write " + options.pdf);
    return kExitOutput;
  }
  return kExitOk;
}

}  // namespace cli
