// SPDX-License-Identifier: GPL-3.0-or-later
// Column widths of the program's own pages kept from one opening to the
// next, and a double click that sizes a column only where the user aimed.
#include <QTest>

#include "ui/real_pages_support.h"

namespace uitest {
namespace {

class KeptWidths : public RealPages {
 protected:
  KeptWidths() { UseModel(0, false); }
  // Every column the user may size: right of the fixed ones.
  std::vector<int> Sizable() const {
    std::vector<int> columns;
    for (int c = sheet->Grid()->FixedCols(); c < sheet->Grid()->ColCount(); ++c)
      columns.push_back(c);
    return columns;
  }
};

TEST_F(KeptWidths, EveryPageKeepsItsColumnWidths) {
  // The settings pages begin with a section row below their header.
  for (const char* key :
       {"GI_Sheet_Common_Plans", "GI_Sheet_Common_Common", "GI_Sheet_Maker", "GI_Sheet_IntCh"}) {
    SCOPED_TRACE(key);
    Open(key);
    std::vector<int> widths;
    for (int c : Sizable()) {
      widths.push_back(sheet->Grid()->ColWidth(c) + 10 + c);
      sheet->Grid()->SetColWidth(c, widths.back(), true);
    }
    sheet.reset();
    Open(key);
    std::size_t i = 0;
    for (int c : Sizable()) EXPECT_EQ(sheet->Grid()->ColWidth(c), widths[i++]) << "column " << c;
    sheet.reset();
  }
}

TEST_F(KeptWidths, DoubleClickSizesOnlyBesideTheHeader) {
  iuiSheet& page = Open("GI_Sheet_Common_Plans");
  host.show();
  QApplication::processEvents();
  cuiGrid& grid = *page.Grid();
  const int last = grid.ColCount() - 1;
  grid.SetColWidth(last, 40, true);
  const QRect header = grid.CellRect(last, 0);
  const QRect bottom = grid.CellRect(last, grid.RowCount() - 1);
  ASSERT_FALSE(bottom.isEmpty());
  struct Case {
    const char* name;
    QPoint at;
    bool fits;
  };
  const Case cases[] = {
      {"below the last row, inside the column", {bottom.center().x(), bottom.bottom() + 10}, false},
      {"below the last row, at its right edge", {bottom.right() + 2, bottom.bottom() + 10}, false},
      {"right of the header's edge", {header.right() + 3, header.center().y()}, true},
      {"far right of the header", {header.right() + 30, header.center().y()}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid.SetColWidth(last, 40, true);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, c.at);
    EXPECT_EQ(grid.ColWidth(last) != 40, c.fits);
  }
}

}  // namespace
}  // namespace uitest
