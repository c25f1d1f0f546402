// SPDX-License-Identifier: GPL-3.0-or-later
// The column widths a sheet keeps in the settings store, under
// Display/<width name>/colwidth, one value per column index.
#include <QSettings>
#include <algorithm>

#include "layout/width_name.h"
#include "platform/font_value.h"
#include "platform/qtcore/settings_store.h"
#include "ui/grid.h"
#include "ui/sheet.h"

namespace {

QString WidthGroup(const std::string& name) {
  return QStringLiteral("Display/%1/colwidth").arg(QString::fromStdString(name));
}

int RoundHalfUp(double x) { return static_cast<int>(x + 0.5); }

}  // namespace

std::vector<int> cuiSheet::WidthColumns() const {
  std::vector<int> columns;
  const int row = page_->Style().fixedRows;
  if (row >= page_->RowCount()) return columns;
  for (int c = 0; c < page_->ColumnCount(); ++c) {
    if (page_->CellAt(c, row).cell.Selectable()) columns.push_back(c);
  }
  return columns;
}

void cuiSheet::LoadColumnWidths() {
  const std::optional<std::string> name = layout::ColumnWidthName(table_, pageReference_);
  if (!name) return;
  std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
  store->beginGroup(WidthGroup(*name));
  // A printout scales the screen widths by its font against the screen's.
  double factor = 1.0;
  if (printing_) {
    const platform::FontValue* font = page_->BasicCell().Font();
    const double points = font ? std::abs(font->Size()) : 8.0;
    const double dpi = printDpi_ > 0 ? printDpi_ : platform::kDefaultPixelsPerInch;
    const int percentage = page_->Context().fontPercentage;
    const int q = std::max(percentage * 16 / 100, 1);
    factor = points * (dpi / platform::kDefaultPixelsPerInch) * 16 / q * 0.1;
  }
  loadingWidths_ = true;
  for (int c : WidthColumns()) {
    bool ok = false;
    const int stored = store->value(QString::number(c)).toInt(&ok);
    if (!ok) continue;
    if (printing_) {
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
    if (store->value(column).toInt(&ok) != grid_->ColWidth(c) || !ok) store->setValue(column, grid_->ColWidth(c));
  }
}

void cuiSheet::ForgetAllWidths() {
  std::unique_ptr<QSettings> store = platform::OpenSettingsStore(keyPath_);
  for (const layout::WidthListEntry& entry : layout::ColumnWidthList(table_)) store->remove(WidthGroup(entry.name));
}

void cuiSheet::ClampColumnWidths() {
  if (preview_ || !page_) return;
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
