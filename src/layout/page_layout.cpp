// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/page_layout.h"

#include <algorithm>

#include "layout/group_scan.h"
#include "layout/page_conditions.h"
#include "model/cell_names.h"
#include "platform/canvas.h"
#include "platform/fatal.h"
#include "text/gtex.h"
#include "text/syntax.h"
#include "text/text_extent.h"

namespace layout {
namespace {

std::string FontSuffix(int height) { return "{(Font=,,," + std::to_string(height) + ",,,)}"; }
std::string FontPercentSuffix(int percent) {
  return "{(Font=,,,%" + std::to_string(percent) + ",,,)}";
}

// Line 0 of an entry, or "" when the entry has no lines (its first line is
// the next key's heading).
std::string FirstLine(cmcGTex& table, const std::string& key) {
  std::string line = table.Line(key, 0);
  if (!line.empty() && line[0] == '#') line.clear();
  return line;
}

}  // namespace

PageLayout::PageLayout(cmcGTex& table, std::string sheetKey, const PageContext& context)
    : table_(table), sheetKey_(std::move(sheetKey)), pageReference_(sheetKey_), context_(context) {}

void PageLayout::Layout() {
  style_ = ReadPageStyle(table_, sheetKey_, context_.usableView);
  LoadBasicCell();
  listed_ = ListedChannels(context_.image, ValueCategoryOf(basic_.Category()));
  rowMap_.Read(table_, CellsKey(), [this](std::string_view directive, RowMap& map) {
    return ApplyDirective(directive, map);
  });
  slots_.assign(static_cast<std::size_t>(ColumnCount()) * static_cast<std::size_t>(RowCount()),
                clsSheetCellId());
  columnWidths_.assign(static_cast<std::size_t>(ColumnCount()), kInitialSize);
  rowHeights_.assign(static_cast<std::size_t>(RowCount()), kInitialSize);
  BuildCells();
  laidOut_ = true;
}

void PageLayout::LoadBasicCell() {
  std::string text = FirstLine(table_, sheetKey_ + "_BasicCell");
  text += context_.printFontSize != 0 ? FontSuffix(context_.printFontSize)
                                      : FontPercentSuffix(context_.fontPercentage);
  if (context_.printing && style_.printFontRatio != 100)
    text += FontPercentSuffix(style_.printFontRatio);
  basic_.Parse(text, nullptr, counters_.data());
}

bool PageLayout::ApplyDirective(std::string_view directive, RowMap& map) {
  const auto skipUnless = [&map](const std::optional<Condition>& condition) {
    if (!condition) return false;
    if (!condition->holds && condition->count > 0) map.Skip(condition->count);
    return true;
  };
  if (skipUnless(ReadCondition(directive, ConditionGroup::kRadio, context_))) return true;
  // "LoopFrom" with no count: one row per channel of the plan, or per listed
  // channel in the usable-channels view.
  if (StartsWith(directive, "LoopFrom") && (directive.size() == 8 || !IsBlank(directive[8]))) {
    map.OpenLoop(context_.usableView
                     ? static_cast<int>(std::count(listed_.begin(), listed_.end(), true))
                     : kNoChannel);
    return true;
  }
  return skipUnless(ReadCondition(directive, ConditionGroup::kModel, context_));
}

int PageLayout::Slot(int column, int row) const {
  // Before Layout the grid has no columns or rows, so every slot is outside.
  if (column < 0 || row < 0 || column >= ColumnCount() || row >= RowCount()) {
    platform::Fatal("Illegal Cell selection");
  }
  return row * ColumnCount() + column;
}

clsSheetCellId& PageLayout::CellAt(int column, int row) {
  return slots_[static_cast<std::size_t>(Slot(column, row))];
}

const clsSheetCellId& PageLayout::CellAt(int column, int row) const {
  return slots_[static_cast<std::size_t>(Slot(column, row))];
}

bool PageLayout::MovesToListed() const {
  if (!context_.usableView) return false;
  const std::string key = CellsKey();
  for (const char* plan :
       {"GI_Sheet_IntCh", "GI_Sheet_UsaCh", "GI_Sheet_CanCh", "GI_Sheet_SuvCh"}) {
    if (StartsWith(key, plan)) return true;
  }
  return false;
}

int PageLayout::NextListed(int index) const {
  for (int i = std::max(index, 0); i < kNoChannel; ++i) {
    if (listed_[static_cast<std::size_t>(i)]) return i;
  }
  return kNoChannel;
}

void PageLayout::BuildCells() {
  const bool moveToListed = MovesToListed();
  const auto& entries = rowMap_.Entries();
  int cellsAbove = 0;
  for (int r = 0; r < RowCount(); ++r) {
    const RowMapEntry& entry = entries[static_cast<std::size_t>(r)];
    int cells = 0;
    if (r > 0 && entry.line == entries[static_cast<std::size_t>(r - 1)].line) {
      cells = cellsAbove;
      CopyRowAbove(r, cells);
    } else {
      const std::string line = table_.Line(CellsKey(), entry.line);
      std::string rest = line;
      while (!rest.empty() && cells < ColumnCount()) {
        rest = CellAt(cells, r).cell.Parse(rest, &basic_, counters_.data());
        Measure(CellAt(cells, r).cell, cells, r);
        ++cells;
      }
    }
    for (int c = 0; c < ColumnCount(); ++c) {
      clsSheetCellId& slot = CellAt(c, r);
      if (c < cells && moveToListed) slot.cell.SetNumber(NextListed(slot.cell.Number()));
      slot.inMultiSelectableRow =
          style_.multiSelect != PageStyle::kSelectNone && entry.multiSelectable;
      if (slot.cell.Selectable()) {
        if (firstSelectableColumn_ < 0 || c < firstSelectableColumn_) firstSelectableColumn_ = c;
        if (firstSelectableRow_ < 0 || r < firstSelectableRow_) firstSelectableRow_ = r;
      }
    }
    cellsAbove = cells;
  }
}

void PageLayout::CopyRowAbove(int row, int cells) {
  for (int c = 0; c < cells; ++c) {
    cmcCellObj& cell = CellAt(c, row).cell;
    cell = CellAt(c, row - 1).cell;
    cell.SetNumber(cell.Number() + 1);
  }
  rowHeights_[static_cast<std::size_t>(row)] = rowHeights_[static_cast<std::size_t>(row - 1)];
}

void PageLayout::Measure(const cmcCellObj& cell, int column, int row) {
  if (!context_.canvas || !(cell.WidenColumn() || cell.HeightenRow())) return;
  const platform::FontValue* font = cell.Font() ? cell.Font() : basic_.Font();
  if (font) context_.canvas->SetFont(*font);
  const platform::Size size = TextExtent(*context_.canvas, cell.Caption());
  if (cell.WidenColumn()) {
    int& width = columnWidths_[static_cast<std::size_t>(column)];
    width = std::max(width, RoundHalfUp(size.width + 8 * context_.printScale));
  }
  if (cell.HeightenRow()) {
    int& height = rowHeights_[static_cast<std::size_t>(row)];
    height = std::max(height, RoundHalfUp(size.height + 2 * context_.printScale));
  }
}

}  // namespace layout
