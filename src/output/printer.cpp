// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/printer.h"

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>

#include "base/evman.h"
#include "output/dialog_font.h"
#include "output/preview.h"
#include "platform/message_box.h"
#include "platform/qt/screens_qt.h"
#include "text/gtex.h"

namespace {

constexpr int kJobInterval = 50;
constexpr int kPdfResolution = 600;

}  // namespace

cuiPrinter::cuiPrinter(QWidget* owner, const output::PrintSource& source, int& fontPoints,
                       const cuiImageList* toolImages)
    : owner_(owner), source_(source), fontPoints_(fontPoints), toolImages_(toolImages) {
  setUpPrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, owner_);
    return dialog.exec() == QDialog::Accepted;
  };
  runPreview = [](cuiPreview& preview) { return preview.exec() == QDialog::Accepted; };
}

cuiPrinter::~cuiPrinter() {
  task_.Stop();
  if (painter_ && painter_->isActive()) painter_->end();
  delete dialog_.data();
}

void cuiPrinter::PrintSheet(const layout::TreePage& sheet) { Run({sheet}, false); }

void cuiPrinter::PrintAll(const std::vector<layout::TreePage>& sheets) { Run(sheets, true); }

output::PrintSetup cuiPrinter::Setup() {
  output::PrintSetup setup;
  setup.dpi = printer_.logicalDpiY();
  setup.pageWidth = printer_.width();
  setup.pageHeight = printer_.height();
  setup.margins =
      output::MarginRect(output::ParseMargins(source_.table->Line("GI_Sys_Printer_Margins", 0)),
                         setup.dpi, setup.pageWidth, setup.pageHeight);
  setup.fontPoints = fontPoints_;
  return setup;
}

void cuiPrinter::Run(std::vector<layout::TreePage> sheets, bool all) {
  if (jobActive_) return;
  source_.bus->Send(ev::CommitEditor{});
  if (sheets.empty()) return;
  cmcGTex& table = *source_.table;
  const std::string caption = table.Line("GI_Sys_AppTitle", 0);
  // Without a system printer the pages go to a PDF file, which the set-up
  // dialog offers too.
  if (QPrinterInfo::availablePrinters().isEmpty() &&
      printer_.outputFormat() != QPrinter::PdfFormat) {
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setResolution(kPdfResolution);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    printer_.setOutputFileName(QDir(folder).filePath(QString::fromStdString(caption) + ".pdf"));
  }
  if (!setUpPrinter(printer_)) return;
  if (!printer_.isValid()) {
    platform::ShowMessage(table.Block("GI_Sys_Printer_NoPrinter"), caption, platform::kMbIconStop);
    return;
  }
  printer_.setCopyCount(1);
  // The margins are ours: the page's coordinates start at the paper's corner.
  printer_.setFullPage(true);
  if (owner_) owner_->setEnabled(false);
  BuildPrintingDialog();
  cancelled_ = false;

  bool print = false;
  {
    cuiPreview preview(owner_, table, toolImages_, QString::fromStdString(caption));
    preview.SetJob(source_, Setup(), sheets, fontPoints_);
    print = runPreview(preview);
  }
  setup_ = Setup();
  if (print && all) {
    dialog_->show();
    sheets_ = std::move(sheets);
    jobIndex_ = 0;
    jobActive_ = true;
    task_.SetCallback([this](cmcTask*) { JobTick(); });
    task_.SetInterval(kJobInterval);
    return;
  }
  if (print) {
    dialog_->show();
    pageStarted_ = false;
    painter_ = std::make_unique<QPainter>();
    if (painter_->begin(&printer_)) {
      PrintPages(sheets.front());
      painter_->end();
    } else {
      platform::ShowMessage(table.Block("GI_Sys_Printer_NoPrinter"), caption,
                            platform::kMbIconStop);
    }
    painter_.reset();
  }
  EndJob();
}

void cuiPrinter::JobTick() {
  if (jobIndex_ == 0) {
    pageStarted_ = false;
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer_)) {
      painter_.reset();
      const std::string caption = source_.table->Line("GI_Sys_AppTitle", 0);
      EndJob();
      platform::ShowMessage(source_.table->Block("GI_Sys_Printer_NoPrinter"), caption,
                            platform::kMbIconStop);
      return;
    }
  }
  if (!cancelled_ && jobIndex_ < sheets_.size()) PrintPages(sheets_[jobIndex_]);
  ++jobIndex_;
  if (cancelled_ || jobIndex_ >= sheets_.size()) {
    // A cancelled job still ends its document, so what was printed comes out.
    painter_->end();
    painter_.reset();
    EndJob();
  }
}

void cuiPrinter::PrintPages(const layout::TreePage& sheet) {
  output::SheetPrintout printout(source_, sheet, setup_);
  for (const output::PrintedPage& page : printout.Pages()) {
    if (cancelled_) break;
    if (pageStarted_) printer_.newPage();
    pageStarted_ = true;
    printout.Paint(*painter_, page);
  }
}

void cuiPrinter::EndJob() {
  task_.Stop();
  jobActive_ = false;
  sheets_.clear();
  if (owner_) {
    owner_->setEnabled(true);
    owner_->activateWindow();
    owner_->setFocus();
  }
  delete dialog_.data();
}

void cuiPrinter::BuildPrintingDialog() {
  cmcGTex& table = *source_.table;
  // No Qt parent: disabling the owner would disable the dialog with it.
  dialog_ =
      new QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
  dialog_->setWindowTitle(QString::fromStdString(table.Line("GI_Sys_Printer_PrintingDialog", 0)));
  dialog_->setFont(output::DialogFont(table));
  auto* label =
      new QLabel(QString::fromStdString(table.Line("GI_Sys_Printer_PrintingDialog", 1)), dialog_);
  label->adjustSize();
  auto* cancel = new QPushButton(
      QString::fromStdString(table.Line("GI_Sys_Printer_PrintingDialog", 2)), dialog_);
  cancel->setDefault(true);
  const int labelWidth = label->width();
  const int labelHeight = label->height();
  const int buttonWidth = static_cast<int>(labelWidth * 1.2);
  const int buttonHeight = cancel->sizeHint().height();
  const int width = 2 * labelWidth;
  const int height = 3 * (labelHeight + buttonHeight);
  dialog_->setFixedSize(width, height);
  label->move((width - labelWidth) / 2, 2 * labelHeight);
  cancel->setGeometry((width - buttonWidth) / 2, static_cast<int>(height - 1.5 * buttonHeight),
                      buttonWidth, buttonHeight);
  QObject::connect(cancel, &QPushButton::clicked, [this] { cancelled_ = true; });
  // Escape and the close box cancel as the button does.
  QObject::connect(dialog_, &QDialog::rejected, [this] { cancelled_ = true; });
  if (owner_) {
    const QRect over = owner_->window()->frameGeometry();
    dialog_->move(over.center() - QPoint(width / 2, height / 2));
    platform::AttachToOwner(dialog_, owner_);
  }
}
