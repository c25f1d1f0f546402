// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing of the current sheet or of every sheet of the tree, always after
// a preview. The main controller owns one:
//
//   cuiPrinter printer(mainWindow, {&table, &images}, environ.FontSizePrinter, &images);
//   printer.PrintSheet(currentPage);            // File > Print
//   printer.PrintAll(layout::ShownTreePages(table, treeState));  // File > Print All
//
// It needs only the pages to print (layout::TreePage: the node's parameter
// and its sheet key), the text table, the image list (marks and the
// preview's tool bar pictures) and the owner window. What the sheets show
// comes from the document whose command target is installed
// (SetCommandTarget), as for the sheet on screen; it must stay installed
// while a print-all job runs. A timer service must be installed: a print-all
// job prints one sheet per 50 ms tick, so that the printing dialog's Cancel
// is served between sheets.
//
// Where no system printer is known, the job prints to a PDF file: Qt's
// printer set-up dialog offers "Print to File (PDF)" with or without
// printers. GI_Sys_Printer_NoPrinter is shown when the printer is still not
// usable after the set-up.

#include <QPointer>
#include <QPrinter>
#include <functional>
#include <memory>
#include <vector>

#include "base/task.h"
#include "output/sheet_printout.h"

#include <QDialog>
class QLabel;
class QPainter;
class QPushButton;
class QWidget;
class cuiPreview;

class cuiPrinter {
 public:
  // fontPoints: the printer font size setting (8 to 12), which the preview's
  // Setting dialog changes.
  cuiPrinter(QWidget* owner, const output::PrintSource& source, int& fontPoints,
             const cuiImageList* toolImages);
  ~cuiPrinter();
  cuiPrinter(const cuiPrinter&) = delete;
  cuiPrinter& operator=(const cuiPrinter&) = delete;

  void PrintSheet(const layout::TreePage& sheet);
  void PrintAll(const std::vector<layout::TreePage>& sheets);

  bool JobActive() const { return jobActive_; }
  QPrinter& Printer() { return printer_; }
  QDialog* PrintingDialog() const { return dialog_; }

  // The printer set-up (QPrintDialog by default) and the preview's modal run
  // (exec by default; true when Print was pressed). Tests replace them.
  std::function<bool(QPrinter&)> setUpPrinter;
  std::function<bool(cuiPreview&)> runPreview;

 private:
  void Run(std::vector<layout::TreePage> sheets, bool all);
  output::PrintSetup Setup();
  void BuildPrintingDialog();
  void EndJob();
  void JobTick();
  // Prints one sheet's pages until cancelled.
  void PrintPages(const layout::TreePage& sheet);

  QWidget* owner_;
  output::PrintSource source_;
  int& fontPoints_;
  const cuiImageList* toolImages_;
  QPrinter printer_{QPrinter::HighResolution};
  std::unique_ptr<QPainter> painter_;
  output::PrintSetup setup_;
  bool jobActive_ = false;
  bool pageStarted_ = false;
  bool cancelled_ = false;
  std::size_t jobIndex_ = 0;
  std::vector<layout::TreePage> sheets_;
  QPointer<QDialog> dialog_;
  cmcTask task_;
};
