// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a page is, without any widget: the shape, cells and sizes that the
// "<sheetKey>_Style", "_BasicCell" and "_Cells" entries of the text table
// give, under the conditions of a PageContext. The grid shows it, printing
// prints it, and the command-line tool lists it.
//
//   layout::PageContext context;            // filled by the owner
//   context.image = &working;
//   layout::PageLayout page(table, "GI_Sheet_UsaCh", context);
//   page.Layout();
//   page.CellAt(2, 5).cell.Caption();

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "layout/page_context.h"
#include "layout/page_style.h"
#include "layout/row_map.h"
#include "layout/sheet_cell_id.h"
#include "model/cell.h"
#include "model/memory_map.h"

class cmcGTex;

namespace layout {

class PageLayout {
 public:
  // Size of a column or row that nothing widened.
  static constexpr int kInitialSize = 1;
  static constexpr int kNoChannel = memmap::kPlanEntries;  // one past the last plan channel

  PageLayout(cmcGTex& table, std::string sheetKey, const PageContext& context);
  PageLayout(const PageLayout&) = delete;
  PageLayout& operator=(const PageLayout&) = delete;

  // Reads the style, the basic cell and the row map and builds every cell.
  // Call once; a changed context needs a new page.
  void Layout();

  const std::string& SheetKey() const { return sheetKey_; }
  cmcGTex& Table() const { return table_; }
  const PageContext& Context() const { return context_; }
  const PageStyle& Style() const { return style_; }
  const cmcCellObj& BasicCell() const { return basic_; }
  const RowMap& Rows() const { return rowMap_; }

  // The page reference it was opened from (the tree node's parameter); the
  // sheet key until one is set. It selects the column-width name.
  const std::string& PageReference() const { return pageReference_; }
  void SetPageReference(std::string reference) { pageReference_ = std::move(reference); }

  bool IsLaidOut() const { return laidOut_; }
  int ColumnCount() const { return rowMap_.Columns(); }
  int RowCount() const { return rowMap_.Rows(); }
  // A slot outside the grid, or before Layout, stops the program
  // ("Illegal Cell selection").
  clsSheetCellId& CellAt(int column, int row);
  const clsSheetCellId& CellAt(int column, int row) const;

  const std::vector<int>& ColumnWidths() const { return columnWidths_; }
  const std::vector<int>& RowHeights() const { return rowHeights_; }
  // -1 when no cell of the page is selectable.
  int FirstSelectableColumn() const { return firstSelectableColumn_; }
  int FirstSelectableRow() const { return firstSelectableRow_; }

  bool IsPrintable() const { return !style_.noPrint; }
  std::string Title() const { return style_.title.value_or(std::string()); }

  // The channel indices the usable-channels view shows for the plan of the
  // basic cell's category.
  const std::vector<bool>& Listed() const { return listed_; }

 private:
  void LoadBasicCell();
  bool ApplyDirective(std::string_view directive, RowMap& map);
  void BuildCells();
  void BuildParsedRow(int row, const std::string& line);
  void CopyRowAbove(int row, int cells);
  void Measure(const cmcCellObj& cell, int column, int row);
  // The first listed channel at or after index, kNoChannel when none is.
  int NextListed(int index) const;
  bool MovesToListed() const;
  int Slot(int column, int row) const;
  std::string CellsKey() const { return sheetKey_ + "_Cells"; }

  cmcGTex& table_;
  std::string sheetKey_;
  std::string pageReference_;
  PageContext context_;
  PageStyle style_;
  cmcCellObj basic_;
  RowMap rowMap_;
  std::array<std::int32_t, cmcCellObj::kCounterCount> counters_{};
  std::vector<clsSheetCellId> slots_;
  std::vector<int> columnWidths_;
  std::vector<int> rowHeights_;
  std::vector<bool> listed_;
  int firstSelectableColumn_ = -1;
  int firstSelectableRow_ = -1;
  bool laidOut_ = false;
};

}  // namespace layout
