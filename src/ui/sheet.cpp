// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/sheet.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "base/evman.h"
#include "model/command_target.h"
#include "platform/fatal.h"
#include "platform/qt/qt_colour.h"
#include "platform/qt/qt_font.h"
#include "platform/qtcore/settings_store.h"
#include "text/text_extent.h"
#include "ui/cell_editor.h"
#include "ui/grid.h"
#include "ui/grid_accessible.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "ui/sheet_canvas.h"

namespace {

int ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? static_cast<int>(screen->logicalDotsPerInchY()) : platform::kDefaultPixelsPerInch;
}

}  // namespace

cuiSheet::cuiSheet(cmcEvMan& bus, QWidget* parent, const cmcCellCapsule* owner,
                   std::uint32_t initialCell, int initialNumber, cmcGTex& table,
                   std::string sheetKey, const cuiImageList* images)
    : bus_(bus),
      parent_(parent),
      table_(table),
      sheetKey_(std::move(sheetKey)),
      pageReference_(sheetKey_),
      keyPath_(platform::kSettingsKeyPath),
      owner_(owner ? std::make_unique<cmcCellCapsule>(*owner) : nullptr),
      images_(images),
      initialCell_(initialCell),
      initialNumber_(initialNumber) {
  measurePainter_ = std::make_unique<QPainter>(&measureImage_);
  measureCanvas_ = std::make_unique<cuiSheetCanvas>(*measurePainter_, QApplication::palette(),
                                                    QApplication::font());
  UpdateTints();
  Subscribe();
}

cuiSheet::~cuiSheet() {
  bus_.Unsubscribe(this);
  if (grid_ && !printing_ && !listMode_) SaveColumnWidths();
  bus_.Send(ev::SheetDestroyed{static_cast<const QWidget*>(grid_)});
  cellMenu_.reset();
  if (root_) {
    // Controls going away lose the focus; nothing may reach back into a
    // sheet that is half gone.
    grid_->Events() = {};
    if (editor_) {
      editor_->focusLost = nullptr;
      editor_->keyPressed = nullptr;
    }
  }
  // The parent may already have taken the controls with it.
  delete root_.data();
}

void cuiSheet::SetInitialPosition(int column, int row, int leftCol, int topRow) {
  storedCol_ = column;
  storedRow_ = row;
  storedLeft_ = leftCol;
  storedTop_ = topRow;
}

void cuiSheet::SetPrinter(int dpi, int fontSize) {
  printing_ = true;
  printDpi_ = dpi;
  printFontSize_ = fontSize;
  // Whole multiples only: paddings scale by the printer's resolution over
  // the screen's, cut to an integer, as the page layout rules have it.
  printScale_ =
      preview_ ? 1.0 : static_cast<double>(dpi / ScreenDpi());  // NOLINT(bugprone-integer-division)
}

layout::PageContext cuiSheet::MakeContext() const {
  layout::PageContext context;
  const CommandTarget* target = GetCommandTarget();
  context.fontPercentage = target && target->FontSize() > 0 ? target->FontSize() : 100;
  context.printing = printing_;
  context.printFontSize = printFontSize_;
  context.printScale = printScale_;
  context.canvas = measureCanvas_.get();
  return context;
}

void cuiSheet::Build() {
  busy_ = true;
  page_ = std::make_unique<layout::PageLayout>(table_, sheetKey_, MakeContext());
  page_->SetPageReference(pageReference_);
  page_->Layout();
  text_ = std::make_unique<layout::PageText>(*page_, evaluate_);
  text_->SetOwnerCapsule(owner_.get());
  CreateControls();
  ApplyLayout();
  // A screen reader reads the texts the grid draws, and may change what the
  // user may select on a data cell.
  SetGridAccessSource(
      *grid_, {[this](int c, int r) { return QString::fromStdString(text_->Show(c, r).text); },
               [this](int c, int r) {
                 const cmcCellObj& cell = CellAt(c, r);
                 return cell.Selectable() && cell.Cell() != CL_NoCell;
               },
               [this](int c, int r) {
                 return Selectable(c, r) &&
                        (!multiActive_ || page_->CellAt(c, r).inMultiSelectableRow);
               }});
  PlaceCursor();
  busy_ = false;
  grid_->InvalidateGrid();
  RefreshCellMenu(true);
}

void cuiSheet::CreateControls() {
  root_ = new QWidget(parent_);
  auto* column = new QVBoxLayout(root_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  const layout::PageStyle& style = page_->Style();
  if (style.title) {
    titlePanel_ = new QFrame(root_);
    auto* row = new QVBoxLayout(titlePanel_);
    row->setContentsMargins(4, 2, 4, 2);
    titleLabel_ = new QLabel(QString::fromStdString(GetTitle()), titlePanel_);
    QPalette palette = titlePanel_->palette();
    palette.setColor(QPalette::Window, platform::ToQColor(style.titleColor, palette));
    if (style.titleFont) {
      titleLabel_->setFont(platform::ToQFont(*style.titleFont, titleLabel_->font()));
      palette.setColor(QPalette::WindowText, platform::ToQColor(style.titleFont->color, palette));
    }
    titlePanel_->setPalette(palette);
    titlePanel_->setAutoFillBackground(true);
    titleLabel_->setPalette(palette);
    row->addWidget(titleLabel_);
    column->addWidget(titlePanel_);
  }
  gridPanel_ = new QWidget(root_);
  auto* inner = new QVBoxLayout(gridPanel_);
  inner->setContentsMargins(0, 0, 0, 0);
  grid_ = new cuiGrid(gridPanel_);
  inner->addWidget(grid_);
  column->addWidget(gridPanel_, 1);
  if (const platform::FontValue* font = page_->BasicCell().Font()) {
    gridPanel_->setFont(platform::ToQFont(*font, QApplication::font()));
  }
  grid_->SetBackground(platform::ToQColor(page_->BasicCell().Color(), grid_->palette()));

  cuiGrid::Callbacks& events = grid_->Events();
  events.paintBegin = [this](QPainter& painter) {
    paintPainter_ = &painter;
    paintCanvas_ =
        std::make_unique<cuiSheetCanvas>(painter, grid_->palette(), QApplication::font());
  };
  events.drawCell = [this](int c, int r, const QRect& rect) {
    if (paintPainter_) DrawCell(*paintPainter_, c, r, rect);
  };
  events.paintEnd = [this] {
    paintCanvas_.reset();
    paintPainter_ = nullptr;
  };
  events.colWidthsChanged = [this] {
    ClampColumnWidths();
    FollowEditor();
  };
  events.topLeftChanged = [this] { FollowEditor(); };
  ConnectInteraction();

  if (!parent_->layout()) {
    auto* host = new QVBoxLayout(parent_);
    host->setContentsMargins(0, 0, 0, 0);
  }
  parent_->layout()->addWidget(root_);
  // Sizes are needed now: the width clamp reads the grid's client width.
  parent_->layout()->activate();
  root_->layout()->activate();
  inner->activate();
}

void cuiSheet::ApplyLayout() {
  const layout::PageStyle& style = page_->Style();
  grid_->SetSize(page_->ColumnCount(), page_->RowCount());
  grid_->SetFixed(style.fixedCols, style.fixedRows);
  grid_->SetColWidths(page_->ColumnWidths());
  grid_->SetRowHeights(DefaultRowHeights());
  grid_->SetColumnSizing(style.colSizing);
  FitColumnsToTexts();
  if (printing_) {
    LoadColumnWidths();
  } else if (!listMode_) {
    if (forgetWidths_) {
      ForgetAllWidths();
    } else {
      LoadColumnWidths();
    }
    SaveColumnWidths();
  }
  forgetWidths_ = false;
}

std::vector<int> cuiSheet::DefaultRowHeights() {
  // Rows that no H measured are as high as one line of the basic cell font,
  // as a grid's default row height is; H only ever raises a row.
  if (const platform::FontValue* font = page_->BasicCell().Font()) measureCanvas_->SetFont(*font);
  const int line = RoundHalfUp(measureCanvas_->TextExtent("Ag").height + 2 * printScale_);
  std::vector<int> heights = page_->RowHeights();
  for (int& height : heights) height = std::max(height, line);
  return heights;
}

void cuiSheet::PlaceCursor() {
  const int columns = page_->ColumnCount();
  const int rows = page_->RowCount();
  const auto inside = [&](int c, int r) { return c >= 0 && r >= 0 && c < columns && r < rows; };
  if (inside(storedCol_, storedRow_) && Selectable(storedCol_, storedRow_)) {
    grid_->SetTopLeft(storedLeft_, storedTop_);
    grid_->SetCursor(storedCol_, storedRow_);
    return;
  }
  const auto first = [&](auto&& wanted) {
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < columns; ++c) {
        if (Selectable(c, r) && wanted(page_->CellAt(c, r).cell)) return grid_->SetCursor(c, r);
      }
    }
    return false;
  };
  if (initialCell_ != CL_NoCell && first([this](const cmcCellObj& cell) {
        return cell.Cell() == initialCell_ && cell.Number() == initialNumber_;
      })) {
    return;
  }
  if (!first([](const cmcCellObj&) { return true; })) grid_->setEnabled(false);
}

cmcCellObj& cuiSheet::CellAt(int column, int row) {
  if (!page_) platform::Fatal("Illegal Cell selection");
  return page_->CellAt(column, row).cell;
}

std::string cuiSheet::GetTitle() const { return page_ ? page_->Title() : std::string(); }

bool cuiSheet::IsPrintable() const { return page_ && page_->IsPrintable(); }

void cuiSheet::ResetScroll() {
  grid_->SetTopLeft(0, 0);
  grid_->SetCursor(grid_->Col(), grid_->Row());
}

int cuiSheet::ExtentWidth() const {
  return parent_->width() + grid_->TotalWidth() - grid_->ClientWidth();
}

int cuiSheet::ExtentHeight() const {
  return parent_->height() + grid_->TotalHeight() - grid_->ClientHeight();
}

void cuiSheet::FitColumn(int column) {
  const int fixedRows = page_->Style().fixedRows;
  const platform::FontValue* basicFont = page_->BasicCell().Font();
  int widest = 0;
  for (int r = 0; r < page_->RowCount(); ++r) {
    const cmcCellObj& cell = page_->CellAt(column, r).cell;
    std::string text;
    if (r < fixedRows) {
      // A header joined to the next column speaks for both; it does not
      // widen this one.
      if (column + 1 < page_->ColumnCount() && page_->CellAt(column + 1, r).cell.JoinLeft())
        continue;
      text = cell.Caption();
    } else {
      text = text_->Show(column, r).text;
    }
    if (const platform::FontValue* font = cell.Font() ? cell.Font() : basicFont)
      measureCanvas_->SetFont(*font);
    widest =
        std::max(widest, RoundHalfUp(TextExtent(*measureCanvas_, text).width + 8 * printScale_));
  }
  grid_->SetColWidth(column, widest, true);
}

void cuiSheet::RedrawRelated(const cmcCellCapsule& probe, unsigned mask) {
  if (!grid_ || !page_) return;
  const CellKey key =
      probe.cell ? probe.cell->Key()
                 : CellKey{probe.category, static_cast<std::uint32_t>(probe.cellId), probe.number};
  const int rows = std::min(grid_->TopRow() + grid_->VisibleRowCount() + 1, page_->RowCount());
  const int columns =
      std::min(grid_->LeftCol() + grid_->VisibleColCount() + 1, page_->ColumnCount());
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      if (layout::IsRelated(key, page_->CellAt(c, r).cell.Key(), mask)) grid_->InvalidateCell(c, r);
    }
  }
}

void cuiSheet::OnCapsuleChange(cmcCellCapsule& capsule, int flags) {
  RedrawRelated(capsule, static_cast<unsigned>(flags));
}

void cuiSheet::Subscribe() {
  // Until the page is built there is nothing to commit, answer or redraw.
  bus_.Subscribe<ev::CommitEditor>(this, [this](const ev::CommitEditor&) {
    if (page_) CommitEditor();
  });
  bus_.Subscribe<ev::AskCellDefinition>(this, [this](const ev::AskCellDefinition& e) {
    if (!page_) return;
    // Menus ask for the cell their commands act on: this sheet's popup
    // items, or (none) the page shown.
    const bool mine = e.root != nullptr && e.root == static_cast<const QObject*>(popup_);
    if (grid_ && grid_->Col() >= 0 && (mine || (e.root == nullptr && !listMode_ && !printing_)))
      bus_.Reply<ev::AskCellDefinition>(&page_->CellAt(grid_->Col(), grid_->Row()).cell);
  });
  const auto probe = [] {
    cmcCellCapsule p;
    p.category = CT_NoCategory;
    p.cellId = CL_NoCell;
    return p;
  };
  bus_.Subscribe<ev::RedrawAllCells>(this, [this, probe](const ev::RedrawAllCells&) {
    if (page_) RedrawRelated(probe(), layout::kAnyDataCell);
  });
  bus_.Subscribe<ev::RedrawCellsOfCell>(this, [this, probe](const ev::RedrawCellsOfCell& e) {
    if (!page_) return;
    cmcCellCapsule p = probe();
    p.cellId = e.cell;
    RedrawRelated(p, layout::kSameCell);
  });
  bus_.Subscribe<ev::RedrawCellsOfNumber>(this, [this, probe](const ev::RedrawCellsOfNumber& e) {
    if (!page_) return;
    // A number means a channel of this page's plan.
    cmcCellCapsule p = probe();
    p.category = page_->BasicCell().Category();
    p.number = e.number;
    RedrawRelated(p, layout::kSameNumber);
  });
}
