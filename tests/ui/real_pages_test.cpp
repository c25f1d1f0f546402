// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own channel and settings pages on the initial image, through
// the real cell evaluator.
#include <QAccessible>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSettings>

#include "layout/page_conditions.h"
#include "model/clone_file.h"
#include "model/normalise.h"
#include "platform/qtcore/settings_store.h"
#include "support/eval_support.h"
#include "ui/grid_access_support.h"
#include "ui/information.h"
#include "ui/iui_sheet.h"
#include "ui/real_pages_support.h"

namespace uitest {
namespace {

TEST_F(RealPages, InternationalChannelsOnTheInitialImage) {
  UseModel(0, false);
  iuiSheet& page = Open("GI_Sheet_IntCh");
  EXPECT_EQ(page.Grid()->RowCount(), 1 + 418);
  EXPECT_EQ(page.Grid()->ColCount(), 6);
  EXPECT_EQ(page.GetTitle(), "International Channels");
  EXPECT_TRUE(page.Grid()->isEnabled());
  EXPECT_EQ(page.Grid()->Col(), 1);
  EXPECT_EQ(page.Grid()->Row(), 1);
  EXPECT_EQ(page.CellAt(0, 418).Number(), 417);
  // The widths of its selectable columns are kept under its list name.
  const auto store = platform::OpenSettingsStore(keyPath);
  EXPECT_EQ(store->value("Display/IntCh/colwidth/2").toInt(), page.Grid()->ColWidth(2));

  host.show();
  const QImage image = page.Grid()->viewport()->grab().toImage();
  // Evaluated texts appear in the value columns of the first channel rows.
  const QColor window = image.pixelColor(page.Grid()->CellRect(3, 3).topLeft() + QPoint(1, 1));
  int inked = 0;
  for (int c = 2; c < 6; ++c) {
    const QRect cell = page.Grid()->CellRect(c, 3).adjusted(1, 1, -2, -2);
    inked += cell.width() * cell.height() - CountColour(image, cell, window);
  }
  EXPECT_GT(inked, 0);
}

TEST_F(RealPages, UsableViewListsOnlyChannelsInUse) {
  UseModel(0, true);
  const std::vector<bool> listed = layout::ListedChannels(&target.image, ValueCategoryOf(CT_IntCh));
  const int count = static_cast<int>(std::count(listed.begin(), listed.end(), true));
  ASSERT_GT(count, 0);
  ASSERT_LT(count, 418);
  iuiSheet& page = Open("GI_Sheet_IntCh");
  EXPECT_EQ(page.Grid()->RowCount(), 1 + count);
  EXPECT_EQ(page.GetTitle(),
            "International Channels " + table.Line("GI_AppInd_chSheet_Usable_Title", 0));
  // Consecutive rows show consecutive listed channels.
  int expected = 0;
  for (int r = 1; r < page.Grid()->RowCount(); ++r) {
    while (!listed[static_cast<std::size_t>(expected)]) ++expected;
    ASSERT_EQ(page.CellAt(0, r).Number(), expected) << r;
    ++expected;
  }
}

TEST_F(RealPages, CommonSettingsFollowTheModel) {
  for (int model : {0, 8}) {
    UseModel(model, false);
    iuiSheet& page = Open("GI_Sheet_Common_Common");
    bool suvBacklight = false;
    for (int r = 0; r < page.Grid()->RowCount(); ++r) {
      if (page.CellAt(1, r).Cell() == CL_Comm_Light_SUV) suvBacklight = true;
    }
    EXPECT_EQ(suvBacklight, model == 8) << model;
    EXPECT_TRUE(page.Grid()->isEnabled()) << model;
  }
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {
TEST_F(RealPages, InformationDialogHoldsItsOwnerUntilClosed) {
  UseModel(0, false);
  target.info[19] = 0x08;  // the radio reported a low supply voltage
  host.show();
  QPointer<cuiInformation> dialog =
      new cuiInformation(bus, &host, "Seaclone", table, "GI_Sheet_CloneInfo", nullptr);
  EXPECT_FALSE(host.isEnabled());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->Button()->isEnabled());
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Seaclone"));
  EXPECT_EQ(dialog->Button()->text(), QStringLiteral("OK"));
  // The warning row joins the four plain rows; the whole page shows.
  cuiGrid& grid = *dialog->Sheet().Grid();
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.VisibleRowCount(), grid.RowCount());
  EXPECT_GE(grid.viewport()->width(), grid.TotalWidth());
  // Centred over the owner.
  EXPECT_LE(std::abs(dialog->frameGeometry().center().x() - host.frameGeometry().center().x()), 3);

  dialog->Button()->click();
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dialog.isNull());
  EXPECT_TRUE(host.isEnabled());
}

}  // namespace
}  // namespace uitest

namespace uitest {
namespace {

TEST_F(RealPages, SettingColumnShowsEveryValue) {
  for (int model : {0, 8}) {
    UseModel(model, false);
    iuiSheet& page = Open("GI_Sheet_Common_Common");
    const int laidOut = page.Grid()->ColWidth(1);
    page.FitColumn(1);  // as wide as its widest text
    EXPECT_LE(page.Grid()->ColWidth(1), laidOut) << model;
  }
}

TEST_F(RealPages, ChannelListReadsAsATable) {
  UseModel(0, false);
  // The sheet hands its own texts to the grid.
  iuiSheet& page = Open("GI_Sheet_IntCh");
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(page.Grid());
  ASSERT_NE(iface, nullptr);
  QAccessibleTableInterface* table = iface->tableInterface();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->rowCount(), 418);
  EXPECT_EQ(table->columnCount(), 6);
  const char* headers[] = {"Channel", "Attribute", "Tag", "TX inhibit", "Low power", "Simplex"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(table->columnDescription(c), headers[c]) << c;

  struct Case {
    int row, column;
    const char* text;
    bool editable;
  };
  // Row 2 is channel 1, a duplex channel; the number column is a row head.
  const Case cases[] = {{2, 0, "1", false}, {2, 5, "Duplex", true}, {417, 0, "", false}};
  for (const Case& c : cases) {
    QAccessibleInterface* cell = table->cellAt(c.row, c.column);
    ASSERT_NE(cell, nullptr) << c.row << "," << c.column;
    EXPECT_EQ(cell->text(QAccessible::Name).trimmed(), c.text) << c.row << "," << c.column;
    EXPECT_EQ(cell->state().editable, c.editable) << c.row << "," << c.column;
    const QList<QAccessibleInterface*> header = cell->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(header.size(), 1);
    EXPECT_EQ(header.front()->text(QAccessible::Name), headers[c.column]);
  }
  // The cursor starts on channel 0's attribute.
  EXPECT_EQ(table->selectedCells(), QList<QAccessibleInterface*>{table->cellAt(0, 1)});
}

}  // namespace
}  // namespace uitest
