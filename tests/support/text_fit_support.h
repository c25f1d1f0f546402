// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether every text a sheet shows fits the room it is drawn in: its
// column, and the joined cells to its right that it runs on into, less the
// padding the drawing puts before it. Measured with Qt's own metrics of the
// cell's font, not with the sheet's measuring, so that a fault in either
// shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <string>

#include "platform/qt/qt_font.h"
#include "ui/grid.h"
#include "ui/grid_accessible.h"
#include "ui/sheet.h"

namespace uitest {

// padding: the drawing's room before a text, 4 pixels times the sheet's
// print scale. Returns how many texts did not fit (each one a failure).
inline int ExpectTextsFit(cuiSheet& sheet, int padding, const std::string& what) {
  const cuiGrid& grid = *sheet.Grid();
  const platform::FontValue* basic = sheet.Page().BasicCell().Font();
  int cut = 0;
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColCount(); ++c) {
      const cmcCellObj& cell = sheet.CellAt(c, r);
      if (cell.JoinLeft()) continue;
      int room = grid.ColWidth(c);
      for (int k = c + 1; k < grid.ColCount() && sheet.CellAt(k, r).JoinLeft(); ++k)
        room += grid.ColWidth(k);
      const QString text = GridCellText(grid, c, r);
      const platform::FontValue* font = cell.Font() ? cell.Font() : basic;
      const QFontMetrics metrics(font ? platform::ToQFont(*font, QApplication::font())
                                      : QApplication::font());
      int widest = 0;
      for (const QString& line : text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
      if (text.trimmed().isEmpty() || widest + padding <= room) continue;
      ++cut;
      ADD_FAILURE() << what << ": \"" << text.toStdString() << "\" at column " << c << ", row " << r
                    << " needs " << widest + padding << " pixels, has " << room;
    }
  }
  return cut;
}

}  // namespace uitest
