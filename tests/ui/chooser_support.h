// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pages with a navigation role that opens the real drop-down
// choice window, as the main window will, so that Enter on a cell that
// offers a list brings up the list and a pick reaches the image.

#include <QPointer>
#include <QTest>

#include "model/command_target.h"
#include "ui/cell_editor.h"
#include "ui/flector.h"
#include "ui/real_pages_support.h"

namespace uitest {

class ChooserNavigation : public NavigationRole {
 public:
  ChooserNavigation(cmcEvMan& bus, cmcGTex& table) : bus_(bus), table_(table) {}
  void OpenSheet(const std::string&) override {}
  void OpenChooser(const cmcCellCapsule& capsule, const std::string& list, int current) override {
    opened = new cuiFlector(bus_, capsule, Flex0, current, table_, list, nullptr);
  }
  const void* MainMenu() const override { return nullptr; }
  int EditMenuItemCount() const override { return -1; }
  void OpenPortSelection(int) override {}
  void CloseMainWindow() override {}

  QPointer<cuiFlector> opened;

 private:
  cmcEvMan& bus_;
  cmcGTex& table_;
};

class ChooserPages : public RealPages {
 protected:
  ChooserPages() { SetCommandTarget(&commands); }

  // A page of a model's initial image, focused as a user would have it.
  iuiSheet& Show(const std::string& key, int model) {
    UseModel(model, false);
    host.show();
    QApplication::setActiveWindow(&host);
    iuiSheet& page = Open(key);
    page.Grid()->setFocus();
    QApplication::processEvents();
    return page;
  }
  // The first cell of the page bound to cell, made the cursor cell.
  QPoint CursorTo(std::uint32_t cell) {
    for (int r = 0; r < sheet->Grid()->RowCount(); ++r) {
      for (int c = 0; c < sheet->Grid()->ColCount(); ++c) {
        if (sheet->CellAt(c, r).Cell() == cell) {
          EXPECT_TRUE(sheet->Grid()->SetCursor(c, r));
          return {c, r};
        }
      }
    }
    ADD_FAILURE() << "no cell " << cell;
    return {};
  }
  // A cell's rectangle on the desktop.
  static QRect OnDesktop(cuiGrid& grid, QPoint cell) {
    const QRect r = grid.CellRect(cell.x(), cell.y());
    return {grid.viewport()->mapToGlobal(r.topLeft()), r.size()};
  }
  std::string Shown(QPoint cell) { return CellText(sheet->CellAt(cell.x(), cell.y()), 0); }
  // Keys where a user's would go: the list while it is open, else the
  // page's in-place editor while it shows, else the page.
  void Key(Qt::Key key) {
    QWidget* to = sheet->Grid();
    if (navigation.opened) {
      to = navigation.opened->Sheet().Grid();
    } else if (sheet->Editor() && sheet->Editor()->isVisible()) {
      to = sheet->Editor();
    }
    QTest::keyClick(to, key);
    Settle();
  }
  // Runs what was posted, deferred deletes included.
  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  cuiSheet& List() { return navigation.opened->Sheet(); }

  ChooserNavigation navigation{bus, table};
  CommandTarget commands{target,
                         {.files = &target,
                          .transfer = &target,
                          .view = &target,
                          .ports = &target,
                          .output = &target,
                          .navigation = &navigation,
                          .events = &bus}};
};

}  // namespace uitest
