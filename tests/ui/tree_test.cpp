// SPDX-License-Identifier: GPL-3.0-or-later
// The navigation tree from the shipped overlay and from small fixtures:
// nodes and nesting, finding and adding nodes, the error and warning marks
// with the collapsed-branch rule, and choosing a node running its page.
#include <QAccessible>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

#include "platform/qt/qt_colour.h"
#include "ui/builders_support.h"
#include "ui/image_list.h"
#include "ui/tree.h"

namespace {

using buildertest::BuilderTest;

class TreeTest : public BuilderTest {
 protected:
  TreeTest() {
    for (int i = 0; i < 6; ++i) {
      QPixmap p(16, 16);
      p.fill(QColor::fromHsv(i * 50, 200, 200));
      images.Add(p);
    }
  }
  std::unique_ptr<cuiTree> Make(const std::string& key) {
    auto tree = std::make_unique<cuiTree>(bus, &panel, table, key, &images);
    tree->Load();
    return tree;
  }
  static std::string Captions(cuiTree& tree) {
    std::string out;
    for (QTreeWidgetItem* n : tree.Nodes()) {
      int depth = 0;
      for (QTreeWidgetItem* p = n->parent(); p; p = p->parent()) ++depth;
      out += std::string(static_cast<std::size_t>(depth), '-') + n->text(0).toStdString() + "\n";
    }
    return out;
  }
  // "Top:- Folder:0 ..." in list order.
  static std::string Overlays(cuiTree& tree) {
    std::string out;
    for (QTreeWidgetItem* n : tree.Nodes()) {
      if (!out.empty()) out += ' ';
      const int o = cuiTree::Overlay(n);
      out += cuiTree::CellOf(n)->Parameter() + ":" + (o < 0 ? "-" : std::to_string(o));
    }
    return out;
  }

  QWidget panel;
  cuiImageList images{QSize(16, 16)};
};

TEST_F(TreeTest, ShippedTreeHasEveryPageNestedUnderTheRadio) {
  auto tree = Make("GI_Tree_Main");
  EXPECT_EQ(
      Captions(*tree),
      "Radio: \n"
      "-Common settings\n-ATIS and AIS\n-SUV channels\n-International channels\n-USA channels\n"
      "-Canadian channels\n-Weather channels\n-Free channels\n-Dealer settings\n--Memory view\n");
  QTreeWidgetItem* top = tree->Widget()->topLevelItem(0);
  EXPECT_TRUE(top->isExpanded());
  // The channel-list nodes carry the flags the main controller filters by.
  struct Case {
    const char* page;
    int flag;
  };
  for (const Case& c :
       {Case{"GI_Sheet_SuvCh", 3}, Case{"GI_Sheet_IntCh", 6}, Case{"GI_Sheet_UsaCh", 1},
        Case{"GI_Sheet_CanCh", 2}, Case{"GI_Sheet_WxCh", 4}, Case{"GI_Sheet_Common_Atis", 5},
        Case{"GI_Sheet_Maker", 0}, Case{"GI_Sheet_Maker_Memory", 0}}) {
    QTreeWidgetItem* node = tree->FindNode(c.page);
    ASSERT_NE(node, nullptr) << c.page;
    EXPECT_TRUE(cuiTree::CellOf(node)->Flag(c.flag)) << c.page;
    EXPECT_EQ(cuiTree::CellOf(node)->Cell(), static_cast<std::uint32_t>(CallSheet)) << c.page;
  }
  EXPECT_EQ(tree->FindNode("GI_Sheet_Maker_Memory")->parent(), tree->FindNode("GI_Sheet_Maker"));
  EXPECT_FALSE(cuiTree::CellOf(tree->FindNode("GI_Sheet_FreeCh"))->Flag(0));
}

TEST_F(TreeTest, BasicCellGivesFontAndBackgroundAndNodesTheirImages) {
  auto tree = Make("GI_Tree_Test");
  QTreeWidget* w = tree->Widget();
  EXPECT_EQ(w->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_EQ(w->palette().color(QPalette::Text), QColor(128, 0, 0));
  EXPECT_EQ(w->font().pixelSize(), 15);  // 11 points at 96 pixels per inch
  const QImage icon = tree->FindNode("PageA")->icon(0).pixmap(16, 16).toImage();
  EXPECT_EQ(icon.pixelColor(8, 8), images.Image(2).toImage().pixelColor(8, 8));
}

TEST_F(TreeTest, EmptyBodyGivesEmptyTree) {
  auto tree = Make("GI_Tree_Empty");
  EXPECT_EQ(tree->Widget()->topLevelItemCount(), 0);
  EXPECT_EQ(tree->SelectedCell(), nullptr);
  EXPECT_EQ(tree->FindNode(""), nullptr);
}

TEST_F(TreeTest, FindNodeMatchesTheWholeReferenceAndAddNodeInsertsWhereAsked) {
  auto tree = Make("GI_Tree_Main");
  EXPECT_EQ(tree->FindNode("GI_Sheet_Maker")->text(0), "Dealer settings");
  EXPECT_EQ(tree->FindNode("GI_Sheet_Make"), nullptr);
  EXPECT_EQ(tree->FindNode("gi_sheet_maker"), nullptr);

  QTreeWidgetItem* top = tree->Widget()->topLevelItem(0);
  QTreeWidgetItem* added =
      tree->AddNode(top, "{(%CallSheet:GI_Sheet_Extra)(ImageIndex=2)}Extra page", 1);
  EXPECT_EQ(top->child(1), added);
  EXPECT_EQ(added->text(0), "Extra page");
  EXPECT_EQ(tree->FindNode("GI_Sheet_Extra"), added);
  // The node's cell starts from the tree's basic cell.
  EXPECT_EQ(cuiTree::CellOf(added)->Parent(), cuiTree::CellOf(top)->Parent());

  tree->RemoveNode(tree->FindNode("GI_Sheet_Maker"));
  EXPECT_EQ(tree->FindNode("GI_Sheet_Maker_Memory"), nullptr);
}

TEST_F(TreeTest, MarksFollowPagesAndCollapsedBranchesShowWhatTheyHide) {
  struct Case {
    const char* name;
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    bool folderOpen;
    const char* overlays;
    int errorCount;
    int warningCount;
  };
  const Case cases[] = {
      {"error inside a collapsed folder marks the folder too",
       {"PageA"},
       {},
       false,
       "Top:- Folder:0 PageA:0 PageB:- Single:- Other:- OtherPage:-",
       1,
       0},
      {"an open folder leaves the mark on the page",
       {"PageA"},
       {},
       true,
       "Top:- Folder:- PageA:0 PageB:- Single:- Other:- OtherPage:-",
       1,
       0},
      {"an error in the folder outranks a warning in it",
       {"PageA"},
       {"PageB"},
       false,
       "Top:- Folder:0 PageA:0 PageB:1 Single:- Other:- OtherPage:-",
       1,
       1},
      {"error and warning on one page show the error",
       {"Single"},
       {"Single"},
       false,
       "Top:- Folder:- PageA:- PageB:- Single:0 Other:- OtherPage:-",
       1,
       1},
      {"a collapsed top-level branch",
       {},
       {"OtherPage"},
       false,
       "Top:- Folder:- PageA:- PageB:- Single:- Other:1 OtherPage:1",
       0,
       1},
      {"a marked folder page itself",
       {},
       {"Folder"},
       true,
       "Top:- Folder:1 PageA:- PageB:- Single:- Other:- OtherPage:-",
       0,
       1},
      {"nothing listed",
       {},
       {},
       false,
       "Top:- Folder:- PageA:- PageB:- Single:- Other:- OtherPage:-",
       0,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto tree = Make("GI_Tree_Test");
    tree->FindNode("Folder")->setExpanded(c.folderOpen);
    const cuiTree::MarkCounts counts = tree->MarkAll(c.errors, c.warnings);
    EXPECT_EQ(Overlays(*tree), c.overlays);
    EXPECT_EQ(counts.errors, c.errorCount);
    EXPECT_EQ(counts.warnings, c.warningCount);
  }
}

TEST_F(TreeTest, MarkingAgainMovesAndClearsMarks) {
  auto tree = Make("GI_Tree_Test");
  tree->MarkAll({"PageA", "OtherPage"}, {});
  EXPECT_EQ(Overlays(*tree), "Top:- Folder:0 PageA:0 PageB:- Single:- Other:0 OtherPage:0");
  // Expanding the folder and marking again moves its mark to the page; the
  // second branch's mark goes once its page is fine again.
  tree->FindNode("Folder")->setExpanded(true);
  tree->MarkAll({"PageA"}, {});
  EXPECT_EQ(Overlays(*tree), "Top:- Folder:- PageA:0 PageB:- Single:- Other:- OtherPage:-");
  // The overlay is drawn over the node's own picture.
  const QImage marked = tree->FindNode("PageA")->icon(0).pixmap(16, 16).toImage();
  EXPECT_EQ(marked.pixelColor(8, 8),
            images.Image(cuiTree::kErrorOverlayImage).toImage().pixelColor(8, 8));
}

TEST_F(TreeTest, ChoosingANodeRunsItsPage) {
  auto tree = Make("GI_Tree_Main");
  tree->Widget()->setCurrentItem(tree->FindNode("GI_Sheet_FreeCh"));
  ASSERT_EQ(target.calls.size(), 1u);
  EXPECT_EQ(target.calls.back(), "Sheet GI_Sheet_FreeCh");
  EXPECT_EQ(tree->SelectedCell()->Parameter(), "GI_Sheet_FreeCh");

  // With a change handler the selection first has to rest for the delay.
  std::vector<QTreeWidgetItem*> chosen;
  tree->SetChangeHandler(30, [&](QTreeWidgetItem* node) {
    chosen.push_back(node);
    tree->Run(node);
  });
  tree->Widget()->setCurrentItem(tree->FindNode("GI_Sheet_WxCh"));
  tree->Widget()->setCurrentItem(tree->FindNode("GI_Sheet_CanCh"));
  EXPECT_TRUE(chosen.empty());
  QTRY_COMPARE(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], tree->FindNode("GI_Sheet_CanCh"));
  EXPECT_EQ(target.calls.back(), "Sheet GI_Sheet_CanCh");
}

TEST_F(TreeTest, ANodeSelectedByAScreenReaderRunsItsPage) {
  auto tree = Make("GI_Tree_Main");
  tree->Widget()->expandAll();
  panel.show();
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(tree->Widget());
  ASSERT_NE(access, nullptr);
  QAccessibleTableInterface* table = access->tableInterface();
  ASSERT_NE(table, nullptr);
  // The row the reader finds by the node's name.
  const auto rowOf = [&](const std::string& page) {
    const QString name = tree->FindNode(page)->text(0);
    for (int r = 0; r < table->rowCount(); ++r)
      if (QAccessibleInterface* cell = table->cellAt(r, 0);
          cell && cell->text(QAccessible::Name) == name)
        return r;
    ADD_FAILURE() << "no row for " << page;
    return 0;
  };
  // A reader selects through the table's rows: a cell's toggle action in
  // Qt's tree picks its row by the node's place among its siblings.
  for (const char* page : {"GI_Sheet_FreeCh", "GI_Sheet_WxCh"}) {
    SCOPED_TRACE(page);
    target.calls.clear();
    ASSERT_TRUE(table->selectRow(rowOf(page)));
    EXPECT_EQ(target.calls, std::vector<std::string>{std::string("Sheet ") + page});
    EXPECT_EQ(tree->SelectedCell()->Parameter(), page);
    EXPECT_EQ(tree->Widget()->currentItem(), tree->FindNode(page));
  }
}

TEST_F(TreeTest, DropsItsControlWhenItsPanelGoes) {
  auto tree = Make("GI_Tree_Main");
  QWidget other;
  bus.Send(ev::SheetDestroyed{&other});
  ASSERT_NE(tree->Widget(), nullptr);
  bus.Send(ev::SheetDestroyed{&panel});
  EXPECT_EQ(tree->Widget(), nullptr);
  EXPECT_TRUE(tree->Nodes().empty());
  EXPECT_EQ(tree->FindNode("GI_Sheet_FreeCh"), nullptr);
}

}  // namespace
