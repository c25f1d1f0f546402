// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/sheet_printout.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "model/cell_names.h"
#include "platform/qt/qt_font.h"
#include "text/gtex.h"
#include "text/syntax.h"
#include "ui/grid.h"
#include "ui/iui_sheet.h"

namespace output {
namespace {

constexpr int kMeasurePasses = 3;

QString Text(cmcGTex& table, const char* key) { return QString::fromStdString(table.Line(key, 0)); }

struct GridSizes {
  std::vector<int> widths;
  std::vector<int> heights;
};

GridSizes SizesOf(const cuiGrid& grid) {
  GridSizes sizes;
  for (int c = 0; c < grid.ColCount(); ++c) sizes.widths.push_back(grid.ColWidth(c));
  for (int r = 0; r < grid.RowCount(); ++r) sizes.heights.push_back(grid.RowHeight(r));
  return sizes;
}

}  // namespace

int PrinterFontHeight(int points, int dpi) { return -(points * dpi / 72); }

SheetPrintout::SheetPrintout(const PrintSource& source, layout::TreePage sheet,
                             const PrintSetup& setup)
    : source_(source), page_(std::move(sheet)), setup_(setup) {
  host_.setAttribute(Qt::WA_DontShowOnScreen);
  host_.resize(800, 600);
  Build(PrinterFontHeight(setup_.fontPoints, setup_.dpi));
  title_ = sheet_->GetTitle().empty() ? page_.caption : sheet_->GetTitle();
  const int frameHeight =
      std::max(1, ReadNumber(source_.table->Line("GI_Sys_Printer_FrameFont", 0))) * setup_.dpi / 72;
  frame_ = LayoutFrame(setup_.margins, frameHeight);
}

SheetPrintout::~SheetPrintout() = default;

void SheetPrintout::Build(int fontHeight) {
  if (sheet_ && builtHeight_ == fontHeight) return;
  sheet_.reset();
  sheet_ = std::make_unique<iuiSheet>(*source_.bus, &host_, nullptr, CL_NoCell, 0, *source_.table,
                                      page_.sheetKey, source_.images);
  sheet_->SetPageName(page_.reference);
  if (const std::size_t comma = page_.reference.find(','); comma != std::string::npos) {
    sheet_->SetExtraText(page_.reference.substr(comma + 1));
  }
  if (source_.evaluate) sheet_->SetEvaluator(source_.evaluate);
  if (!source_.settingsKeyPath.empty()) sheet_->SetSettingsKeyPath(source_.settingsKeyPath);
  sheet_->SetPrinter(setup_.dpi, fontHeight);
  sheet_->Build();
  builtHeight_ = fontHeight;
}

bool SheetPrintout::IsPrintable() const { return sheet_->IsPrintable(); }

platform::Size SheetPrintout::Measure(const PageSpan& span) const {
  const cuiGrid& grid = *sheet_->Grid();
  const GridSizes sizes = SizesOf(grid);
  return PageExtent(sizes.widths, grid.FixedCols(), sizes.heights, grid.FixedRows(), span);
}

const std::vector<PrintedPage>& SheetPrintout::Pages() {
  if (paginated_) return pages_;
  paginated_ = true;
  if (!IsPrintable()) return pages_;
  const cuiGrid& grid = *sheet_->Grid();
  const GridSizes sizes = SizesOf(grid);
  const int fixedRows = std::min(grid.FixedRows(), grid.RowCount());
  const auto joinedLeft = [&](int column) {
    for (int r = 0; r < fixedRows; ++r) {
      if (sheet_->CellAt(column, r).JoinLeft()) return true;
    }
    return false;
  };
  const platform::Rect& content = frame_.content;
  const std::vector<PageSpan> spans = Paginate(
      ColumnChunks(sizes.widths, grid.FixedCols(), content.Width(), joinedLeft), grid.FixedCols(),
      RowChunks(sizes.heights, grid.FixedRows(), content.Height()), grid.FixedRows());
  int fontHeight = builtHeight_;
  for (const PageSpan& span : spans) {
    platform::Size extent = Measure(span);
    for (int pass = 0; pass < kMeasurePasses && !Fits(extent, content); ++pass) {
      const int shrunk = ShrunkFontHeight(fontHeight, extent, content);
      if (shrunk == fontHeight) break;
      fontHeight = shrunk;
      Build(fontHeight);
      extent = Measure(span);
    }
    pages_.push_back({page_, span, fontHeight, extent});
  }
  return pages_;
}

void SheetPrintout::PaintFrame(QPainter& painter) {
  const FrameLayout& f = frame_;
  const platform::Rect& p = f.page;
  QFont font = QApplication::font();
  if (const platform::FontValue* basic = sheet_->Page().BasicCell().Font())
    font = platform::ToQFont(*basic, font);
  font.setBold(false);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setPixelSize(std::max(1, f.fontHeight));
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.setBackgroundMode(Qt::TransparentMode);
  const QRect line(p.left, p.top, p.Width() - 1, f.fontHeight + f.bar);
  painter.drawText(line, Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(title_));
  cmcGTex& table = *source_.table;
  painter.drawText(line, Qt::AlignRight | Qt::AlignTop,
                   Text(table, "GI_Sys_AppTitle") + ' ' + Text(table, "GI_Sys_Rev"));
  painter.fillRect(QRect(p.left, f.topBarTop, p.Width(), f.bar), Qt::black);
  painter.fillRect(QRect(p.left, f.bottomBarTop, p.Width(), f.bar), Qt::black);
  painter.drawText(QRect(p.left, f.makerTop, p.Width() - 1, f.fontHeight + 1),
                   Qt::AlignRight | Qt::AlignTop, Text(table, "GI_Sys_Maker"));
}

cuiSheet& SheetPrintout::SheetFor(const PrintedPage& page) {
  Build(page.fontHeight);
  return *sheet_;
}

void SheetPrintout::Paint(QPainter& painter, const PrintedPage& page) {
  Build(page.fontHeight);
  painter.save();
  PaintFrame(painter);
  const cuiGrid& grid = *sheet_->Grid();
  std::vector<int> columns;
  std::vector<int> rows;
  columns.reserve(static_cast<std::size_t>(grid.FixedCols() + page.span.columnCount));
  rows.reserve(static_cast<std::size_t>(grid.FixedRows() + page.span.rowCount));
  for (int c = 0; c < grid.FixedCols(); ++c) columns.push_back(c);
  for (int c = 0; c < page.span.columnCount; ++c) columns.push_back(page.span.firstColumn + c);
  for (int r = 0; r < grid.FixedRows(); ++r) rows.push_back(r);
  for (int r = 0; r < page.span.rowCount; ++r) rows.push_back(page.span.firstRow + r);
  int y = frame_.content.top;
  for (int r : rows) {
    const int height = grid.RowHeight(r);
    int x = frame_.content.left;
    for (int c : columns) {
      const int width = grid.ColWidth(c);
      sheet_->DrawCell(painter, c, r, QRect(x, y, width, height));
      x += width;
    }
    y += height;
  }
  painter.restore();
}

}  // namespace output
