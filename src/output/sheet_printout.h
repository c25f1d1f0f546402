// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One sheet laid out for a printer: cut into pages, each page shrunk until
// it fits, and painted with its frame. Printing, the preview and the
// command-line tool all paint through this, so they show the same pages.
//
//   output::PrintSetup setup{600, 4960, 7016, margins, 10};
//   output::SheetPrintout printout(source, treePage, setup);
//   for (const output::PrintedPage& page : printout.Pages()) printout.Paint(painter, page);
//
// The sheet evaluates its cells through the cell evaluator, so the command
// target of the document being printed must be installed (SetCommandTarget)
// while a printout lives: its working image, model type and usable-channels
// view decide what the pages show.

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "layout/page_text.h"
#include "layout/tree_pages.h"
#include "output/page_geometry.h"

class QPainter;
class cmcGTex;
class cuiImageList;
class cmcEvMan;
class cuiSheet;

namespace output {

// What every printed sheet is built from.
struct PrintSource {
  cmcGTex* table = nullptr;
  // The marks are drawn only when the sheet has an image list (on paper as
  // vector shapes); none prints no marks.
  const cuiImageList* images = nullptr;
  // The cell evaluator when none.
  layout::PageText::EvaluateFunction evaluate = nullptr;
  // Where the stored column widths are read; the product's key when empty.
  std::string settingsKeyPath;
  // The bus the printed sheets talk over (required): the program's, so that
  // printing commits an open editor as any other command does.
  cmcEvMan* bus = nullptr;
};

// The paper of a job, in device pixels of the printer.
struct PrintSetup {
  int dpi = 600;  // the printer's vertical resolution
  int pageWidth = 0;
  int pageHeight = 0;
  platform::Rect margins;  // the printable rectangle, from MarginRect
  int fontPoints = 10;     // the printer font size, 8 to 12
};

// One page of a sheet, as counted and as the preview lists it.
struct PrintedPage {
  layout::TreePage sheet;
  PageSpan span;
  int fontHeight = 0;     // the (negative) character height the page was fitted with
  platform::Size extent;  // what the cells take, from the content's top left corner
};

class SheetPrintout {
 public:
  SheetPrintout(const PrintSource& source, layout::TreePage sheet, const PrintSetup& setup);
  ~SheetPrintout();
  SheetPrintout(const SheetPrintout&) = delete;
  SheetPrintout& operator=(const SheetPrintout&) = delete;

  bool IsPrintable() const;
  const std::string& Title() const { return title_; }
  // The sheet's pages in print order; none when it cannot be printed. The
  // font shrinks (up to three passes a page) until a page fits, and stays
  // shrunk for the pages after it.
  const std::vector<PrintedPage>& Pages();
  // Draws the frame and the page's cells onto painter, whose coordinates
  // are the printer's pixels.
  void Paint(QPainter& painter, const PrintedPage& page);
  // The sheet laid out as page prints, at the font size the page took.
  cuiSheet& SheetFor(const PrintedPage& page);
  // The content rectangle the frame leaves on the page.
  const FrameLayout& Frame() const { return frame_; }

 private:
  void Build(int fontHeight);
  platform::Size Measure(const PageSpan& span) const;
  void PaintFrame(QPainter& painter);

  PrintSource source_;
  layout::TreePage page_;
  PrintSetup setup_;
  QWidget host_;
  std::unique_ptr<cuiSheet> sheet_;
  int builtHeight_ = 0;
  std::string title_;
  FrameLayout frame_;
  bool paginated_ = false;
  std::vector<PrintedPage> pages_;
};

// The font height a printer font size of points gives at dpi.
int PrinterFontHeight(int points, int dpi);

}  // namespace output
