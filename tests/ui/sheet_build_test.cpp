// SPDX-License-Identifier: GPL-3.0-or-later
// Building a sheet: its controls, where the cursor lands, and how it goes.
#include <QLabel>

#include "platform/fatal.h"
#include "ui/sheet_support.h"

namespace uitest {
namespace {

TEST_F(SheetTest, TitlePanelOnlyWithTitle) {
  Make("GI_Ui_Plain");
  const QList<QLabel*> titled = host.findChildren<QLabel*>();
  ASSERT_EQ(titled.size(), 1);
  EXPECT_EQ(titled.front()->text(), QStringLiteral("Plain page"));
  EXPECT_EQ(sheet->GetTitle(), "Plain page");

  Make("GI_Ui_NoTitle");
  EXPECT_TRUE(host.findChildren<QLabel*>().isEmpty());
  EXPECT_EQ(sheet->GetTitle(), "");
}

TEST_F(SheetTest, CursorPlacement) {
  // Rows of GI_Ui_Cursor: 0 head, 1 a static selectable cell, 2..4 channels
  // 0..2 in a loop (number column 0, name column 1).
  struct Case {
    const char* name;
    int storedCol, storedRow;
    std::uint32_t initialCell;
    int initialNumber;
    int col, row;
  };
  const Case cases[] = {
      {"first selectable in row order", -1, -1, CL_NoCell, 0, 1, 1},
      {"initial cell and number", -1, -1, CL_Fch_ChName, 2, 1, 4},
      {"initial number not on the page", -1, -1, CL_Fch_ChName, 9, 1, 1},
      {"stored selectable position wins", 0, 3, CL_Fch_ChName, 2, 0, 3},
      {"stored position on a static cell is ignored", 0, 1, CL_ChList_No, 1, 0, 3},
      {"stored position outside the grid is ignored", 5, 40, CL_NoCell, 0, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sheet = std::make_unique<cuiSheet>(bus, &host, nullptr, c.initialCell, c.initialNumber, table,
                                       "GI_Ui_Cursor", &images);
    sheet->SetEvaluator(&FakeEvaluate);
    sheet->SetSettingsKeyPath(keyPath);
    sheet->SetInitialPosition(c.storedCol, c.storedRow, 0, 0);
    sheet->Build();
    EXPECT_EQ(sheet->Grid()->Col(), c.col);
    EXPECT_EQ(sheet->Grid()->Row(), c.row);
    EXPECT_TRUE(sheet->Grid()->isEnabled());
  }
}

TEST_F(SheetTest, NoSelectableCellDisablesTheGrid) {
  Make("GI_Ui_NoTitle");
  EXPECT_FALSE(sheet->Grid()->isEnabled());
}

TEST_F(SheetTest, DestructionSaysWhichGridGoes) {
  std::vector<const void*> grids;
  bus.Subscribe<ev::SheetDestroyed>(
      &grids, [&grids](const ev::SheetDestroyed& e) { grids.push_back(e.grid); });
  Make("GI_Ui_Plain");
  const void* grid = static_cast<const QWidget*>(sheet->Grid());
  sheet.reset();
  bus.Unsubscribe(&grids);
  EXPECT_EQ(grids, std::vector<const void*>{grid});
  // The controls went with the sheet.
  EXPECT_TRUE(host.findChildren<cuiGrid*>().isEmpty());
}

TEST_F(SheetTest, CellOutsideTheGridStops) {
  Make("GI_Ui_Plain", false);
  EXPECT_THROW(sheet->CellAt(0, 0), platform::FatalStop);  // before Build
  sheet->Build();
  EXPECT_NO_THROW(sheet->CellAt(3, 2));
  EXPECT_THROW(sheet->CellAt(4, 0), platform::FatalStop);
  EXPECT_THROW(sheet->CellAt(0, -1), platform::FatalStop);
}

}  // namespace
}  // namespace uitest
