// SPDX-License-Identifier: GPL-3.0-or-later
// The width the tree needs for its names: a tree that wide shows every node
// whole, fully expanded and with its scroll bar up, as Qt's own view
// measures it.
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>
#include <QWidget>

#include "ui/builders_support.h"
#include "ui/image_list.h"
#include "ui/tree.h"

namespace {

using buildertest::BuilderTest;

class TreeWidth : public BuilderTest {};

TEST_F(TreeWidth, ATreeAsWideAsItsNamesShowsEveryNameWhole) {
  // The program's pictures are 32 × 32.
  for (const int side : {16, 32}) {
    SCOPED_TRACE(side);
    cuiImageList images{QSize(side, side)};
    for (int i = 0; i < 6; ++i) {
      QPixmap picture(side, side);
      picture.fill(Qt::gray);
      images.Add(picture);
    }
    QWidget panel;
    cuiTree tree(bus, &panel, table, "GI_Tree_Main", &images);
    tree.Load();
    panel.resize(tree.NamesWidth(), 120);
    panel.show();
    QTreeWidget& view = *tree.Widget();
    view.expandAll();
    QApplication::processEvents();
    ASSERT_TRUE(view.verticalScrollBar()->isVisible()) << "too short to need scrolling";
    // What the view itself wants for its names.
    view.header()->setStretchLastSection(false);
    view.resizeColumnToContents(0);
    const int names = view.columnWidth(0);
    EXPECT_LE(names, view.viewport()->width());
    // Not much wider than that either.
    EXPECT_LE(view.viewport()->width(), names + 4);
  }
}

}  // namespace
