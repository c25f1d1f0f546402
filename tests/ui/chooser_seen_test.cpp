// SPDX-License-Identifier: GPL-3.0-or-later
// The drop-down choice list as its users meet it: drawn on a real screen
// (checked only on the xcb platform, under an X server such as Xvfb; the
// test skips elsewhere) and read by assistive technology as a list.
#include <QAccessible>
#include <QGuiApplication>
#include <QScreen>

#include "model/cell_names.h"
#include "ui/chooser_support.h"
#include "ui/grid.h"

namespace uitest {
namespace {

class ChooserSeen : public ChooserPages {
 protected:
  // Opens the list of a cell of Common settings.
  cuiFlector& OpenList(std::uint32_t cell) {
    Show("GI_Sheet_Common_Common", 0);
    CursorTo(cell);
    Key(Qt::Key_Return);
    EXPECT_TRUE(navigation.opened);
    return *navigation.opened;
  }
};

struct ListCase {
  std::uint32_t cell;
  const char* name;
  std::vector<QString> entries;
};

const ListCase kLists[] = {
    {CL_Comm_TxPow, "TX power", {"Low (1 W)", "High (5 W)"}},
    {CL_Comm_Cont, "Display contrast", {"1", "2", "3", "4", "5", "6", "7", "8"}},
};

TEST_F(ChooserSeen, ReadsAsAListOfItsEntriesWithTheCurrentOneFocused) {
  for (const ListCase& c : kLists) {
    SCOPED_TRACE(c.name);
    cuiFlector& window = OpenList(c.cell);
    cuiGrid& grid = *List().Grid();
    // As large as its entries: no empty room beside or below them.
    EXPECT_EQ(grid.viewport()->size(), QSize(grid.TotalWidth(), grid.TotalHeight()));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), static_cast<int>(c.entries.size()));
    for (int i = 0; i < list->childCount(); ++i) {
      QAccessibleInterface* item = list->child(i);
      ASSERT_NE(item, nullptr) << i;
      EXPECT_EQ(item->role(), QAccessible::ListItem) << i;
      EXPECT_EQ(item->text(QAccessible::Name), c.entries[static_cast<std::size_t>(i)]) << i;
      EXPECT_EQ(item->parent(), list) << i;
      EXPECT_EQ(list->indexOfChild(item), i) << i;
      EXPECT_TRUE(window.geometry().contains(item->rect().center())) << i;
    }
    // The current choice is the focused item, and follows the cursor.
    const int current = grid.Row();
    ASSERT_NE(list->focusChild(), nullptr);
    EXPECT_EQ(list->indexOfChild(list->focusChild()), current);
    EXPECT_TRUE(list->child(current)->state().focused);
    EXPECT_TRUE(list->child(current)->state().selected);
    Key(Qt::Key_Down);
    const int next = (current + 1) % list->childCount();
    EXPECT_EQ(list->indexOfChild(list->focusChild()), next);
    EXPECT_FALSE(list->child(current)->state().selected);

    // Reachable from the window a screen reader walks down from.
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(&window);
    std::vector<QAccessibleInterface*> open{top};
    bool found = false;
    while (!open.empty() && !found) {
      QAccessibleInterface* at = open.back();
      open.pop_back();
      found = at == list;
      for (int i = 0; i < at->childCount() && at->role() != QAccessible::List; ++i)
        open.push_back(at->child(i));
    }
    EXPECT_TRUE(found);
    Key(Qt::Key_Escape);
    sheet.reset();
  }
}

// The page's own grid stays a table.
TEST_F(ChooserSeen, PageGridIsStillATable) {
  OpenList(CL_Comm_TxPow);
  QAccessibleInterface* page = QAccessible::queryAccessibleInterface(sheet->Grid());
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->role(), QAccessible::Table);
  Key(Qt::Key_Escape);
}

// What reaches the X server's screen, not what the widget would paint.
TEST_F(ChooserSeen, ShowsItsEntriesOnARealScreen) {
  if (QGuiApplication::platformName() != QLatin1String("xcb"))
    GTEST_SKIP() << "needs an X server: run with QT_QPA_PLATFORM=xcb under Xvfb";
  for (const ListCase& c : kLists) {
    SCOPED_TRACE(c.name);
    cuiFlector& window = OpenList(c.cell);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    cuiGrid& grid = *List().Grid();
    // Let the window system take what was painted.
    QTest::qWait(200);
    const QRect area(window.mapToGlobal(QPoint(0, 0)), window.size());
    const QImage shot =
        window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    ASSERT_EQ(shot.size(), area.size());
    // Every entry's row holds ink of its text; the current one is
    // highlighted.
    for (int r = 0; r < grid.RowCount(); ++r) {
      const QRect cell = grid.CellRect(0, r);
      ASSERT_FALSE(cell.isEmpty()) << r;
      const QRect onShot(grid.viewport()->mapTo(&window, cell.topLeft()), cell.size());
      const QColor background =
          r == grid.Row() ? grid.palette().color(QPalette::Highlight) : grid.Background();
      int ink = 0;
      int backgroundPixels = 0;
      for (int y = onShot.top(); y <= onShot.bottom(); ++y) {
        for (int x = onShot.left(); x <= onShot.right(); ++x) {
          const QColor pixel = shot.pixelColor(x, y);
          if (pixel == background)
            ++backgroundPixels;
          else
            ++ink;
        }
      }
      EXPECT_GT(ink, 10) << "row " << r << " shows no text";
      EXPECT_GT(backgroundPixels, ink) << "row " << r << " is not on its background";
    }
    Key(Qt::Key_Escape);
    sheet.reset();
  }
}

}  // namespace
}  // namespace uitest
