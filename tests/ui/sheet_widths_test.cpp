// SPDX-License-Identifier: GPL-3.0-or-later
// Column widths kept in the settings store between sheets of a page.
#include <QSettings>

#include "platform/qtcore/settings_store.h"
#include "ui/sheet_support.h"

namespace uitest {
namespace {

class Widths : public SheetTest {
 protected:
  QVariant Stored(const std::string& name, int column) const {
    return platform::OpenSettingsStore(keyPath)->value(
        QStringLiteral("Display/%1/colwidth/%2").arg(QString::fromStdString(name)).arg(column));
  }
  void Store(const std::string& name, int column, int width) const {
    platform::OpenSettingsStore(keyPath)->setValue(
        QStringLiteral("Display/%1/colwidth/%2").arg(QString::fromStdString(name)).arg(column),
        width);
  }
};

TEST_F(Widths, SavedForSelectableColumnsOnly) {
  Make("GI_Ui_Wide");
  const int first = sheet->Grid()->ColWidth(1);
  EXPECT_GT(first, 10);
  EXPECT_EQ(Stored("UiWide", 1).toInt(), first);
  EXPECT_EQ(Stored("UiWide", 2).toInt(), sheet->Grid()->ColWidth(2));
  // Column 0 holds no selectable cell in the first scrolled row.
  EXPECT_FALSE(Stored("UiWide", 0).isValid());
}

TEST_F(Widths, RestoredAndClampedWhileLoading) {
  struct Case {
    int stored;
    int expected;
  };
  // Loading ignores the visible width: only 10 ... 650 holds.
  const Case cases[] = {{120, 120}, {5, 10}, {900, 650}, {650, 650}, {10, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Store("UiWide", 1, c.stored);
    Make("GI_Ui_Wide");
    EXPECT_EQ(sheet->Grid()->ColWidth(1), c.expected);
    sheet.reset();
    EXPECT_EQ(Stored("UiWide", 1).toInt(), c.expected);
  }
}

TEST_F(Widths, ChangedWidthClampedToTheVisibleWidth) {
  host.resize(300, 200);
  Make("GI_Ui_Wide");
  cuiGrid& grid = *sheet->Grid();
  const int available = grid.ClientWidth() - grid.ColWidth(0);
  ASSERT_LT(available, cuiSheet::kMaxColumnWidth);
  grid.SetColWidth(1, 640, true);
  EXPECT_EQ(grid.ColWidth(1), available);
  grid.SetColWidth(2, 3, true);
  EXPECT_EQ(grid.ColWidth(2), cuiSheet::kMinColumnWidth);
  sheet.reset();
  EXPECT_EQ(Stored("UiWide", 1).toInt(), available);
}

TEST_F(Widths, ForgettingDropsEveryListedPage) {
  Store("UiWide", 1, 333);
  Store("UiOther", 1, 222);
  Make("GI_Ui_Wide", false);
  sheet->SetForgetWidths(true);
  sheet->Build();
  EXPECT_NE(sheet->Grid()->ColWidth(1), 333);
  EXPECT_FALSE(Stored("UiOther", 1).isValid());
  // The page's own measured widths are saved again at once.
  EXPECT_EQ(Stored("UiWide", 1).toInt(), sheet->Grid()->ColWidth(1));
}

TEST_F(Widths, UnlistedPageKeepsNothing) {
  Make("GI_Ui_Plain");
  sheet.reset();
  EXPECT_TRUE(platform::OpenSettingsStore(keyPath)->allKeys().isEmpty());
}

TEST_F(Widths, PageReferenceSelectsTheName) {
  // The tree's parameter, with a plan prefix and extra text, names the page.
  Store("UiWide", 1, 150);
  Make("GI_Ui_Wide", false);
  sheet->SetPageName("[USA]GI_Ui_Wide,extra");
  sheet->Build();
  EXPECT_EQ(sheet->Grid()->ColWidth(1), 150);
}

}  // namespace
}  // namespace uitest
