// SPDX-License-Identifier: GPL-3.0-or-later
// Keys, the in-place editor and the popup commands on the free channels
// page of the initial image, through the real evaluator.
#include <QMenu>
#include <QTest>

#include "model/evaluator.h"
#include "ui/cell_editor.h"
#include "ui/menu.h"
#include "ui/real_pages_support.h"

namespace uitest {
namespace {

class Editing : public RealPages {
 protected:
  iuiSheet& OpenFree() {
    UseModel(0, false);
    host.show();
    QApplication::setActiveWindow(&host);
    iuiSheet& page = Open("GI_Sheet_FreeCh");
    page.Grid()->setFocus();
    QApplication::processEvents();
    return page;
  }
  // Keys go where a user's would: the editor while it shows, else the grid.
  void Keys(const std::vector<std::pair<int, Qt::KeyboardModifiers>>& keys) {
    for (const auto& [key, modifiers] : keys) {
      QWidget* to = sheet->Editor() && sheet->Editor()->isVisible() ? static_cast<QWidget*>(sheet->Editor())
                                                                    : sheet->Grid();
      QTest::keyClick(to, static_cast<Qt::Key>(key), modifiers);
    }
  }
  void Type(const std::string& text) {
    for (char ch : text) {
      QWidget* to = sheet->Editor() && sheet->Editor()->isVisible() ? static_cast<QWidget*>(sheet->Editor())
                                                                    : sheet->Grid();
      QTest::keyClicks(to, QString(QChar(ch)));
    }
  }
  std::string Shown(int column, int row) { return CellText(sheet->CellAt(column, row), 0); }
  QPoint Cursor() const { return {sheet->Grid()->Col(), sheet->Grid()->Row()}; }
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

// The row range a popup command carried.
struct Range {
  bool selected;
  int first;
  int last;
  friend bool operator==(const Range&, const Range&) = default;
};

TEST_F(Editing, ArrowsMoveOverSelectableCellsOnly) {
  iuiSheet& page = OpenFree();
  ASSERT_EQ(Cursor(), QPoint(1, 1));
  struct Case {
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;
    QPoint cursor;
  };
  const Case cases[] = {
      {{{Qt::Key_Right, kNone}, {Qt::Key_Right, kNone}}, {3, 1}},
      // Nothing further right: the cursor stays.
      {{{Qt::Key_Right, kNone}}, {3, 1}},
      {{{Qt::Key_Down, kNone}, {Qt::Key_Down, kNone}}, {3, 3}},
      // Ctrl+Down is no move.
      {{{Qt::Key_Down, Qt::ControlModifier}}, {3, 3}},
      {{{Qt::Key_PageDown, kNone}}, {3, 13}},
      {{{Qt::Key_PageUp, kNone}, {Qt::Key_PageUp, kNone}}, {3, 1}},
      // The fixed number column is never the cursor's.
      {{{Qt::Key_Left, kNone}, {Qt::Key_Left, kNone}, {Qt::Key_Left, kNone}}, {1, 1}},
      {{{Qt::Key_Home, kNone}, {Qt::Key_End, kNone}}, {1, 1}},
  };
  for (const Case& c : cases) {
    Keys(c.keys);
    EXPECT_EQ(Cursor(), c.cursor);
  }
  EXPECT_FALSE(page.MultiSelectionActive());
}

TEST_F(Editing, EditingInPlaceChangesTheImage) {
  OpenFree();
  struct Case {
    int column;
    std::string typed;
    int finish;
    std::string shown;  // after the finishing key; "" keeps what was shown
    QPoint cursor;
  };
  const Case cases[] = {
      {1, "HAb", Qt::Key_Return, "HAb", {1, 1}},
      // The radio shows two letters and an A, b or blank.
      {1, "PIER", Qt::Key_Up, "PI", {1, 1}},
      {2, "156.050", Qt::Key_Down, "156.05000", {2, 2}},
      {1, "EA", Qt::Key_Escape, "", {1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    sheet->Grid()->SetCursor(c.column, 1);
    const std::string before = Shown(c.column, 1);
    const cmcEeprom image = target.image;
    Type(c.typed);
    ASSERT_TRUE(sheet->Editor() && sheet->Editor()->isVisible());
    Keys({{c.finish, kNone}});
    EXPECT_FALSE(sheet->Editor()->isVisible());
    EXPECT_EQ(Shown(c.column, 1), c.shown.empty() ? before : c.shown);
    EXPECT_EQ(target.image.Differs(image), !c.shown.empty());
    EXPECT_EQ(Cursor(), c.cursor);
  }
}

TEST_F(Editing, CommitEventAndFocusLossCommit) {
  OpenFree();
  Type("PIA");
  ASSERT_TRUE(sheet->Editor()->isVisible());
  bus.Send(kEvCommitEditor, 0, 0);
  EXPECT_FALSE(sheet->Editor()->isVisible());
  EXPECT_EQ(Shown(1, 1), "PIA");
  Type("HAb");
  ASSERT_TRUE(sheet->Editor()->isVisible());
  sheet->Editor()->clearFocus();
  EXPECT_FALSE(sheet->Editor()->isVisible());
  EXPECT_EQ(Shown(1, 1), "HAb");
}

TEST_F(Editing, LeftAtTheLeftmostCellReachesTheCell) {
  iuiSheet& page = OpenFree();
  std::vector<int> actions;
  static std::vector<int>* seen = nullptr;
  seen = &actions;
  page.SetEvaluator([](indActiveCell* context, cmcCellCapsule& capsule, bool notify) {
    if (notify) seen->push_back(capsule.action);
    return Evaluate(context, capsule, notify);
  });
  Keys({{Qt::Key_Left, kNone}, {Qt::Key_Right, kNone}, {Qt::Key_F5, kNone}});
  EXPECT_EQ(actions, (std::vector<int>{0x2500, 0x7400}));
  EXPECT_EQ(Cursor(), QPoint(2, 1));
}

TEST_F(Editing, ShiftDownSelectsRowsAndCommandsActOnTheRange) {
  iuiSheet& page = OpenFree();
  std::vector<Range> ranges;
  static std::vector<Range>* seen = nullptr;
  seen = &ranges;
  page.SetEvaluator([](indActiveCell* context, cmcCellCapsule& capsule, bool notify) {
    if (notify && capsule.popupCommand)
      seen->push_back({(capsule.rowFlags & cmcCellCapsule::kRowRangeSelected) != 0, capsule.firstRow, capsule.lastRow});
    return Evaluate(context, capsule, notify);
  });
  Type("C1A");
  Keys({{Qt::Key_Return, kNone}, {Qt::Key_Down, kNone}, {Qt::Key_Down, kNone}});
  Keys({{Qt::Key_Up, Qt::ShiftModifier}, {Qt::Key_Up, Qt::ShiftModifier}});
  ASSERT_TRUE(page.MultiSelectionActive());
  EXPECT_EQ(page.AnchorRow(), 3);
  for (int r = 1; r <= 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      // Whole lines light up, the fixed number column excepted.
      EXPECT_EQ(page.SlotMarked(c, r), c > 0 && r <= 3) << c << "," << r;
    }
  }
  // Shift+Down shrinks the range towards the anchor.
  Keys({{Qt::Key_Down, Qt::ShiftModifier}});
  EXPECT_FALSE(page.SlotMarked(1, 1));
  Keys({{Qt::Key_Up, Qt::ShiftModifier}});
  // Copy through the popup menu's item takes the whole range, and the
  // rows-changed answer keeps it selected.
  QAction* copy = nullptr;
  for (QAction* item : page.PopupMenu()->actions())
    if (const cmcCellObj* cell = cuiMenu::CellOf(item); cell && cell->Cell() == CL_PMenu_Copy) copy = item;
  ASSERT_NE(copy, nullptr);
  copy->trigger();
  QApplication::processEvents();
  ASSERT_EQ(ranges.size(), 1u);
  EXPECT_EQ(ranges[0], (Range{true, 0, 2}));
  EXPECT_EQ(target.clip.Count(), 3);
  EXPECT_TRUE(page.MultiSelectionActive());
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(page.SlotMarked(1, r), r <= 3) << r;
  // A plain move ends the selection; a new name, then paste brings back the copy.
  Keys({{Qt::Key_Down, kNone}, {Qt::Key_Up, kNone}});
  EXPECT_FALSE(page.MultiSelectionActive());
  ASSERT_EQ(Cursor(), QPoint(1, 1));
  Type("PIA");
  Keys({{Qt::Key_Return, kNone}});
  ASSERT_EQ(Shown(1, 1), "PIA");
  const cmcEeprom image = target.image;
  page.SendKey(1, 1, 0, CL_PMenu_Paste);
  EXPECT_EQ(Shown(1, 1), "C1A");
  EXPECT_TRUE(target.image.Differs(image));
  EXPECT_EQ(ranges.back(), (Range{false, 0, 0}));
}

TEST_F(Editing, PopupMenuFollowsTheCursorCell) {
  iuiSheet& page = OpenFree();
  std::vector<int> events;
  static std::vector<int>* seen = nullptr;
  seen = &events;
  const cmcEvMan::Callback record = [](void*, const cmcEvent& e) {
    if (e.type == kEvClearCellMenu || e.type == kEvFillCellMenu) seen->push_back(e.type);
  };
  bus.Subscribe(record, nullptr);
  ASSERT_NE(page.CellMenu(), nullptr);
  EXPECT_EQ(page.LastMenuName(), "GI_PMenu_Ch");
  EXPECT_FALSE(page.PopupMenu()->actions().isEmpty());
  // The same menu on the next cell is kept.
  Keys({{Qt::Key_Down, kNone}});
  EXPECT_TRUE(events.empty());
  const cmcEvAns* answer = bus.Ask(kEvAskCellDefinition, reinterpret_cast<std::intptr_t>(page.PopupMenu()), 0);
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(reinterpret_cast<const cmcCellObj*>(answer->Argument()), &page.CellAt(1, 2));
  bus.Unsubscribe(record, nullptr);
  // A right click on another cell takes the cursor there and opens the menu.
  cuiGrid& grid = *page.Grid();
  QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, grid.CellRect(2, 4).center());
  EXPECT_EQ(Cursor(), QPoint(2, 4));
  EXPECT_TRUE(page.PopupMenu()->isVisible());
  page.PopupMenu()->hide();
  QApplication::processEvents();
  // On the fixed number column it does nothing.
  QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, grid.CellRect(0, 6).center());
  EXPECT_EQ(Cursor(), QPoint(2, 4));
  EXPECT_FALSE(page.PopupMenu()->isVisible());
  // Edit opens the editor, whose focus rebuilds the menu the item came from.
  QApplication::setActiveWindow(&host);
  grid.setFocus();
  QApplication::processEvents();
  for (QAction* item : page.PopupMenu()->actions())
    if (const cmcCellObj* cell = cuiMenu::CellOf(item); cell && cell->Cell() == CL_PMenu_Edit) item->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(page.Editor() && page.Editor()->isVisible());
  Keys({{Qt::Key_Escape, kNone}});
  EXPECT_FALSE(page.Editor()->isVisible());
  EXPECT_EQ(Cursor(), QPoint(2, 4));
}

}  // namespace
}  // namespace uitest
