// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one cell of a sheet: on the grid, on a print preview and on paper.
#include <QApplication>
#include <QPolygon>
#include <algorithm>
#include <string_view>

#include "platform/font_value.h"
#include "platform/qt/qt_colour.h"
#include "text/text_extent.h"
#include "ui/grid.h"
#include "ui/image_list.h"
#include "ui/sheet.h"
#include "ui/sheet_canvas.h"

namespace {

constexpr std::uint32_t kClWindow = 0x80000005;
constexpr std::uint32_t kClHighlight = 0x8000000D;
constexpr std::uint32_t kClHighlightText = 0x8000000E;
constexpr std::uint32_t kClBtnFace = 0x8000000F;
constexpr std::uint32_t kClGrayText = 0x80000011;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr std::uint32_t kRuleGrey = 0x808080;
// Printed cells that are not plain window cells: white text on this.
constexpr std::uint32_t kPrintDarkGrey = 0x606060;

std::uint32_t ToBgr(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.blue()) << 16 |
         static_cast<std::uint32_t>(colour.green()) << 8 | static_cast<std::uint32_t>(colour.red());
}

bool IsPlain(std::uint32_t colour) { return colour == kClWindow || colour == kWhite; }

}  // namespace

struct cuiSheet::DrawState {
  platform::Rect cell;
  platform::Rect text;
  int alignment = 0;
  int markPosition = 0;
  // End of the last text line drawn.
  int penX = 0;
};

void cuiSheet::UpdateTints() {
  const QPalette palette = grid_ ? grid_->palette() : QApplication::palette();
  const std::uint32_t window = ToBgr(platform::ToQColor(kClWindow, palette));
  const std::uint32_t text = ToBgr(platform::ToQColor(platform::kWindowTextColor, palette));
  if (window == window_ && text == windowText_ && tints_ != layout::Tints()) return;
  window_ = window;
  windowText_ = text;
  tints_ = layout::ComputeTints(window, text);
}

bool cuiSheet::IsHighlighted(int column, int row) const {
  // A page with nothing to select has no cursor to show.
  const bool cursor =
      !printing_ && grid_ && grid_->isEnabled() && column == grid_->Col() && row == grid_->Row();
  return page_->CellAt(column, row).Highlighted(cursor);
}

void cuiSheet::DrawCell(QPainter& painter, int column, int row, const QRect& rect) {
  if (busy_ || !page_ || !page_->IsLaidOut() || page_->RowCount() == 0) return;
  if (rect.width() < 1 || rect.height() < 1) return;
  cuiSheetCanvas* canvas = paintPainter_ == &painter ? paintCanvas_.get() : nullptr;
  std::unique_ptr<cuiSheetCanvas> own;
  if (!canvas) {
    own = std::make_unique<cuiSheetCanvas>(
        painter, grid_ ? grid_->palette() : QApplication::palette(), QApplication::font());
    canvas = own.get();
  }
  UpdateTints();
  const layout::PageStyle& style = page_->Style();
  const bool focused = grid_ && grid_->hasFocus();
  const int columns = page_->ColumnCount();

  DrawState state;
  state.cell = {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
  state.text = state.cell;
  const bool rightRule = !(column + 1 < columns && page_->CellAt(column + 1, row).cell.JoinLeft());

  // A joined cell runs on the text of the first cell to its left that is
  // not joined, and takes its colours.
  int head = column;
  while (head > 0 && page_->CellAt(head, row).cell.JoinLeft()) {
    --head;
    state.text.left -= grid_ ? grid_->ColWidth(head) : 0;
  }
  const cmcCellObj& cell = page_->CellAt(head, row).cell;
  const cmcCellObj& own_cell = page_->CellAt(column, row).cell;

  const bool cursorRow = grid_ && row == grid_->Row() && !printing_;
  bool highlighted = IsHighlighted(column, row);
  // A row marker lights up with the selectable cell it belongs to.
  if (!highlighted && cursorRow && own_cell.RowMarker()) {
    for (int c = column - 1; c >= 0; --c) {
      const cmcCellObj& left = page_->CellAt(c, row).cell;
      if (left.Selectable()) {
        highlighted = true;
        break;
      }
      if (!left.RowMarker()) break;
    }
  }

  const bool dataCell = cell.Cell() != CL_NoCell;
  std::string text = cell.Caption();
  if (dataCell && text.empty()) text = " ";

  std::uint32_t back = cell.Color();
  if (printing_) {
    back = IsPlain(cell.Color()) ? kWhite : kPrintDarkGrey;
  } else if (!highlighted || EditorShowing()) {
    if (style.colorSelectLine && cursorRow && column >= style.fixedCols && !listMode_)
      back = tints_.line;
  } else {
    back = focused || listMode_ ? kClHighlight : tints_.inactive;
  }
  if (back != kWhite) {
    canvas->SetBrushColor(back);
    canvas->FillRect(state.cell);
  }

  const std::uint32_t rule = IsPlain(cell.Color()) ? (printing_ ? kBlack : kRuleGrey) : kWhite;
  canvas->SetBrushColor(rule);
  const platform::Rect& r = state.cell;
  if (own_cell.RuleBottom()) canvas->FillRect({r.left, r.bottom - 1, r.right, r.bottom});
  if (rightRule && own_cell.EdgeRule() == 1)
    canvas->FillRect({r.right - 1, r.top, r.right, r.bottom});
  if (rightRule && own_cell.EdgeRule() == 2) {
    canvas->FillRect({r.right - 1, r.top + r.Height() * 7 / 10, r.right, r.bottom});
  }

  if (const platform::FontValue* font = cell.Font() ? cell.Font() : page_->BasicCell().Font()) {
    canvas->SetFont(*font);
  }
  if (highlighted && back == kClHighlight) canvas->SetTextColor(kClHighlightText);

  layout::ShownCell shown;
  if (dataCell) {
    shown = text_->Show(head, row, highlighted, canvas, &state.text);
    text = shown.text;
  }

  if (printing_) {
    canvas->SetTextColor(back == kPrintDarkGrey ? kWhite : kBlack);
  } else if (highlighted && back == tints_.inactive && !EditorShowing()) {
    const std::uint32_t c = canvas->TextColor();
    if (c == kClBtnFace || c == tints_.inactive || c == kSilver || c == kClGrayText)
      canvas->SetTextColor(kClWindow);
  }

  // The text block, line by line.
  const platform::Rect& t = state.text;
  const double s = printScale_;
  const platform::Size block = TextExtent(*canvas, text);
  int y = 0;
  switch (cell.VerticalAlign()) {
    case 0: y = RoundHalfUp(t.top + 1 * s); break;
    case 1: y = t.top + (t.bottom - t.top + 1 - block.height) / 2; break;
    default: y = RoundHalfUp(t.bottom - block.height - 1 * s); break;
  }
  state.penX = t.left;
  std::string_view rest = text;
  for (;;) {
    const std::size_t feed = rest.find('\n');
    const std::string_view line = rest.substr(0, feed);
    const platform::Size size = canvas->TextExtent(line);
    int x = 0;
    switch (cell.HorizontalAlign()) {
      case 0: x = RoundHalfUp(t.left + 4 * s); break;
      case 1: x = t.left + (t.right - t.left + 1 - size.width) / 2; break;
      default: x = RoundHalfUp(t.right + 1 - size.width - 4 * s); break;
    }
    x = std::max(x, t.left);
    if (t.left + size.width + 1 < t.right) {
      canvas->TextAt(x, y, line);
      state.penX = x + size.width;
    } else {
      canvas->TextClipped(t, x, y, line);
      state.penX = t.right;
    }
    if (feed == std::string_view::npos) break;
    rest.remove_prefix(feed + 1);
    y += size.height;
  }

  if (images_ && (shown.error || shown.warning)) {
    state.alignment = cell.HorizontalAlign();
    state.markPosition = shown.markPosition;
    DrawMarks(painter, state, shown.error);
  }

  if (!printing_ && grid_ && column + 1 < columns &&
      page_->CellAt(column + 1, row).cell.RowMarker()) {
    grid_->InvalidateCell(column + 1, row);
  }
}

void cuiSheet::DrawMarks(QPainter& painter, const DrawState& state, bool error) {
  const platform::Rect& t = state.text;
  const int size = printing_ ? state.cell.Height() / 2 : images_->ImageSize().width();
  const int g = size / 8;
  int position = state.markPosition;
  if (position == 0) position = state.alignment == 2 ? 1 : 3;
  int x = 0;
  if (position == 1) {
    x = t.left + g;
  } else {
    x = t.right - size - 1;
    if (position == 3 && state.penX < x) x = state.penX;
  }
  x = std::max(x, t.left);
  if (printing_) {
    DrawPrintedMark(painter, x, t.bottom - size - g, size, error);
  } else {
    const QPixmap image = images_->Image(error ? kErrorImage : kWarningImage);
    painter.drawPixmap(x, t.bottom - image.height() - 1, image);
  }
}

void cuiSheet::DrawPrintedMark(QPainter& painter, int x, int y, int size, bool error) {
  const int g = size / 8;
  const int h = size / 2;
  const int e = size - 1;
  const int tenth = size / 10;
  painter.save();
  painter.translate(x, y);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (error) {
    const QPolygon cross{{g, 0},     {h, h - g}, {e - g, 0}, {e, g},     {h + g, h}, {e, e - g},
                         {e - g, e}, {h, h + g}, {g, e},     {0, e - g}, {h - g, h}, {0, g}};
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::black);
    painter.drawPolygon(cross);
  } else {
    // A whole pixel width, one more for every 16 pixels of the mark.
    painter.setPen(QPen(Qt::black, size / 16 + 1));  // NOLINT(bugprone-integer-division)
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygon{{h, 0}, {e, e}, {0, e}});
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygon{{h - g, size / 3},
                                 {h + g, size / 3},
                                 {h + tenth, 2 * size / 3},
                                 {h - tenth, 2 * size / 3}});
    painter.fillRect(
        QRect(QPoint(h - tenth, 3 * size / 4), QPoint(h + tenth, 3 * size / 4 + size / 6)),
        Qt::black);
  }
  painter.restore();
}
