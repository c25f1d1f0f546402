// SPDX-License-Identifier: GPL-3.0-or-later
// Column widths on paper: wide enough for every text at every printer font
// size, and narrowed where the user narrowed a column on screen.
#include <QSettings>

#include "layout/tree_pages.h"
#include "output/sheet_printout.h"
#include "platform/qtcore/settings_store.h"
#include "support/eval_support.h"
#include "support/text_fit_support.h"
#include "ui/grid.h"
#include "ui/image_list.h"
#include "ui/iui_sheet.h"

namespace {

class PrintedWidths : public evaltest::ShippedOverlayTest {
 protected:
  PrintedWidths() {
    UseModel(0, false);
    static int serial = 0;
    keyPath = "Software\\SeaclonePrintedWidths" + std::to_string(++serial) + "\\K4T";
    source = {&table, nullptr, nullptr, keyPath, &bus};
  }

  static output::PrintSetup A4(int points) {
    return {600, 4960, 7016, output::MarginRect({10, 10, 10, 10}, 600, 4960, 7016), points};
  }
  std::vector<layout::TreePage> Nodes() {
    return layout::ShownTreePages(table, {&target.image, 0, true});
  }
  layout::TreePage Node(const std::string& key) {
    for (const layout::TreePage& page : Nodes()) {
      if (page.sheetKey == key) return page;
    }
    ADD_FAILURE() << key;
    return {};
  }
  // The page's widths as the window leaves them in the store.
  void OpenOnScreen(const layout::TreePage& node,
                    const std::function<void(cuiGrid&)>& change = {}) {
    QWidget host;
    host.resize(800, 600);
    iuiSheet sheet(bus, &host, nullptr, CL_NoCell, 0, table, node.sheetKey, nullptr);
    sheet.SetSettingsKeyPath(keyPath);
    sheet.SetPageName(node.reference);
    sheet.Build();
    if (change) change(*sheet.Grid());
  }

  std::string keyPath;
  output::PrintSource source;
};

TEST_F(PrintedWidths, EveryTextFitsItsColumnAtEveryPrinterFontSize) {
  // Fresh, and with the widths the window stored when it showed the page.
  for (bool shown : {false, true}) {
    for (int points = 8; points <= 12; ++points) {
      for (const layout::TreePage& node : Nodes()) {
        if (shown) OpenOnScreen(node);
        output::SheetPrintout printout(source, node, A4(points));
        for (const output::PrintedPage& page : printout.Pages()) {
          cuiSheet& sheet = printout.SheetFor(page);
          const std::string what = node.caption + " at " + std::to_string(points) + " pt" +
                                   (shown ? " after showing it" : "");
          // 600 dpi against a 96 dpi screen: paddings are 6 times 4 pixels.
          uitest::ExpectTextsFit(sheet, 4 * 6, what);
          break;  // every page of a sheet is laid out alike
        }
        platform::OpenSettingsStore(keyPath)->clear();
      }
    }
  }
}

TEST_F(PrintedWidths, AColumnNarrowedOnScreenIsNarrowOnPaper) {
  const layout::TreePage node = Node("GI_Sheet_IntCh");
  output::SheetPrintout full(source, node, A4(10));
  ASSERT_FALSE(full.Pages().empty());
  const cuiGrid& fullGrid = *full.SheetFor(full.Pages().front()).Grid();
  // The widest stored column, halved on screen.
  int column = -1;
  int screenWidth = 0;
  OpenOnScreen(node, [&](cuiGrid& grid) {
    for (int c = grid.FixedCols(); c < grid.ColCount(); ++c) {
      if (grid.ColWidth(c) > screenWidth) {
        column = c;
        screenWidth = grid.ColWidth(c);
      }
    }
    grid.SetColWidth(column, screenWidth / 2, true);
  });
  ASSERT_GE(column, 0);
  output::SheetPrintout narrowed(source, node, A4(10));
  ASSERT_FALSE(narrowed.Pages().empty());
  const cuiGrid& grid = *narrowed.SheetFor(narrowed.Pages().front()).Grid();
  EXPECT_NEAR(grid.ColWidth(column) * 2.0 / fullGrid.ColWidth(column), 1.0, 0.15)
      << grid.ColWidth(column) << " of " << fullGrid.ColWidth(column);
  // The other columns as they were.
  for (int c = 0; c < grid.ColCount(); ++c) {
    if (c != column) {
      EXPECT_EQ(grid.ColWidth(c), fullGrid.ColWidth(c)) << c;
    }
  }
}

}  // namespace
