// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/page_text.h"

#include "layout/page_layout.h"
#include "model/cell_names.h"
#include "model/evaluator.h"

namespace layout {

PageText::PageText(PageLayout& page, EvaluateFunction evaluate)
    : page_(page), evaluate_(evaluate ? evaluate : &Evaluate) {}

ShownCell PageText::Show(int column, int row, bool highlighted, platform::Canvas* canvas,
                         platform::Rect* rect) {
  cmcCellObj& cell = page_.CellAt(column, row).cell;
  ShownCell shown;
  shown.text = cell.Caption();
  if (cell.Cell() == CL_NoCell) return shown;

  draw_.related = owner_;
  draw_.owner = &page_;
  draw_.cell = &cell;
  draw_.canvas = canvas ? canvas : page_.Context().canvas;
  draw_.rect = rect;
  draw_.action = 0;
  draw_.inputMode = cmcCellCapsule::kInputNone;
  draw_.popupCommand = 0;
  draw_.outputText.clear();
  draw_.markPosition = 0;
  draw_.stateFlags = (highlighted ? cmcCellCapsule::kCursorCell : 0) |
                     (page_.Context().printing ? cmcCellCapsule::kPrinting : 0);
  evaluate_(draw_, false);
  shown.text = draw_.outputText;
  shown.warning = draw_.WarningMark();
  shown.error = draw_.ErrorMark();
  shown.markPosition = draw_.markPosition;
  draw_.stateFlags &=
      static_cast<std::uint8_t>(~(cmcCellCapsule::kWarningMark | cmcCellCapsule::kErrorMark));
  return shown;
}

std::vector<std::vector<std::string>> PageText::Rows() {
  std::vector<std::vector<std::string>> rows(static_cast<std::size_t>(page_.RowCount()));
  for (int r = 0; r < page_.RowCount(); ++r) {
    auto& texts = rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < page_.ColumnCount(); ++c) texts.push_back(Show(c, r).text);
  }
  return rows;
}

}  // namespace layout
