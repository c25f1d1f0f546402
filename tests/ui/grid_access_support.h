// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gives a sheet's grid the accessible texts of a test's own evaluator, in
// place of those the sheet installs at Build.

#include <QString>
#include <memory>

#include "layout/page_text.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "ui/grid.h"
#include "ui/grid_accessible.h"
#include "ui/sheet.h"

namespace uitest {

// Hands the grid the texts the sheet draws, marks its selectable data cells
// editable and lets the cursor go to its selectable cells, as a sheet does.
inline std::shared_ptr<layout::PageText> ShareTexts(cuiSheet& sheet,
                                                    layout::PageText::EvaluateFunction evaluate) {
  auto text = std::make_shared<layout::PageText>(sheet.Page(), evaluate);
  SetGridAccessSource(
      *sheet.Grid(),
      {[text](int c, int r) { return QString::fromStdString(text->Show(c, r).text); },
       [&sheet](int c, int r) {
         const cmcCellObj& cell = sheet.CellAt(c, r);
         return cell.Selectable() && cell.Cell() != CL_NoCell;
       },
       [&sheet](int c, int r) { return sheet.CellAt(c, r).Selectable(); }});
  return text;
}

}  // namespace uitest
