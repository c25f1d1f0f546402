// SPDX-License-Identifier: GPL-3.0-or-later
// Column widths: fitted to the texts a page shows, and kept in the settings
// store under Display/<width name>/colwidth, one value per column index.
#include <QSettings>
#include <algorithm>

#include "layout/width_name.h"
#include "model/cell.h"
#include "platform/font_value.h"
#include "platform/qtcore/settings_store.h"
#include "text/gtex.h"
#include "text/text_extent.h"
#include "ui/grid.h"
#include "ui/sheet.h"
#include "ui/sheet_canvas.h"

namespace {

QString WidthGroup(const std::string& name) {
  return QStringLiteral("Display/%1/colwidth").arg(QString::fromStdString(name));
}

bool Blank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

}  // namespace

std::vector<int> cuiSheet::WidthColumns() const {
  // Every column that takes the cursor somewhere below the headers: a page
  // may open with a section row that holds no selectable cell at all.
  std::vector<int> columns;
  for (int c = 0; c < page_->ColumnCount(); ++c) {
    for (int r = page_->Style().fixedRows; r < page_->RowCount(); ++r) {
      if (page_->CellAt(c, r).cell.Selectable()) {
        columns.push_back(c);
        break;
      }
    }
  }
  return columns;
}

void cuiSheet::FitColumnsToTexts() {
  // Only the captions marked W were measured; a value wider than its
  // header (a timer's "100 msec" under "Current setting") would be cut.
  // A text that runs on into joined cells to its right needs no room of
  // its own column, and columns are only ever widened here.
  const platform::FontValue* basicFont = page_->BasicCell().Font();
  const int columns = page_->ColumnCount();
  // On screen a stored width replaces the fitted one; measuring such a
  // column would only cost time (every cell of a long list is evaluated).
  std::vector<bool> skip(static_cast<std::size_t>(columns), false);
  const std::optional<std::string> name = layout::ColumnWidthName(table_, pageReference_);
  if (!printing_ && !listMode_ && !forgetWidths_ && name) {
    std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
    store->beginGroup(WidthGroup(*name));
    for (int c : WidthColumns()) {
      bool ok = false;
      store->value(QString::number(c)).toInt(&ok);
      skip[static_cast<std::size_t>(c)] = ok;
    }
  }
  std::vector<int> widths(static_cast<std::size_t>(columns), 0);
  for (int r = 0; r < page_->RowCount(); ++r) {
    for (int c = 0; c < columns; ++c) {
      if (skip[static_cast<std::size_t>(c)]) continue;
      const cmcCellObj& cell = page_->CellAt(c, r).cell;
      if (cell.JoinLeft() || (c + 1 < columns && page_->CellAt(c + 1, r).cell.JoinLeft())) continue;
      const std::string text = text_->Show(c, r).text;
      if (Blank(text)) continue;
      if (const platform::FontValue* font = cell.Font() ? cell.Font() : basicFont)
        measureCanvas_->SetFont(*font);
      int& widest = widths[static_cast<std::size_t>(c)];
      widest =
          std::max(widest, RoundHalfUp(TextExtent(*measureCanvas_, text).width + 8 * printScale_));
    }
  }
  for (int c = 0; c < columns; ++c) {
    if (widths[static_cast<std::size_t>(c)] > grid_->ColWidth(c))
      grid_->SetColWidth(c, widths[static_cast<std::size_t>(c)]);
  }
}

double cuiSheet::PrintWidthFactor() const {
  // Stored widths are screen pixels measured with the basic font at the
  // display font size; on paper every width grows as that font does to the
  // printer's, so a column keeps its share of the page. The two fonts are
  // compared by height: any fixed point size taken for the screen's would be
  // wrong for pages whose basic font has another, and would cut the texts of
  // columns the user never narrowed.
  const platform::FontValue* printed = page_->BasicCell().Font();
  std::string line = table_.Line(sheetKey_ + "_BasicCell", 0);
  if (!line.empty() && line[0] == '#') line.clear();
  const int percentage = page_->Context().fontPercentage;
  cmcCellObj screen;
  screen.Parse(line + "{(Font=,,,%" + std::to_string(percentage) + ",,,)}", nullptr);
  const platform::FontValue* shown = screen.Font();
  if (!printed || !shown || shown->Height() == 0) return printScale_;
  return static_cast<double>(std::abs(printed->Height())) / std::abs(shown->Height());
}

void cuiSheet::LoadColumnWidths() {
  const std::optional<std::string> name = layout::ColumnWidthName(table_, pageReference_);
  if (!name) return;
  std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
  store->beginGroup(WidthGroup(*name));
  const double factor = printing_ ? PrintWidthFactor() : 1.0;
  loadingWidths_ = true;
  for (int c : WidthColumns()) {
    bool ok = false;
    const int stored = store->value(QString::number(c)).toInt(&ok);
    if (!ok) continue;
    if (printing_) {
      // A column the user narrowed is narrow on paper too; a stored width
      // never widens a printed column beyond its texts.
      grid_->SetColWidth(c, std::min(grid_->ColWidth(c), RoundHalfUp(stored * factor)));
    } else {
      grid_->SetColWidth(c, stored);
    }
  }
  ClampColumnWidths();
  loadingWidths_ = false;
}

void cuiSheet::SaveColumnWidths() {
  if (printing_ || !page_) return;
  const std::optional<std::string> name = layout::ColumnWidthName(table_, pageReference_);
  if (!name) return;
  std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
  store->beginGroup(WidthGroup(*name));
  // Unchanged widths are left alone, so that opening a page writes nothing.
  for (int c : WidthColumns()) {
    const QString column = QString::number(c);
    bool ok = false;
    if (store->value(column).toInt(&ok) != grid_->ColWidth(c) || !ok)
      store->setValue(column, grid_->ColWidth(c));
  }
}

void cuiSheet::ForgetAllWidths() {
  std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
  for (const layout::WidthListEntry& entry : layout::ColumnWidthList(table_))
    store->remove(WidthGroup(entry.name));
}

void cuiSheet::ClampColumnWidths() {
  // The limits are screen pixels: on paper a column is as wide as its
  // texts at the printer's resolution, far beyond 650 of its pixels.
  if (preview_ || printing_ || !page_) return;
  int most = kMaxColumnWidth;
  if (!loadingWidths_) {
    int available = grid_->ClientWidth();
    for (int c = 0; c < grid_->FixedCols(); ++c) available -= grid_->ColWidth(c);
    if (available < kMaxColumnWidth) most = std::max(available, kMinColumnWidth);
  }
  for (int c : WidthColumns()) {
    const int width = grid_->ColWidth(c);
    const int clamped = std::clamp(width, kMinColumnWidth, most);
    if (clamped != width) grid_->SetColWidth(c, clamped);
  }
}
