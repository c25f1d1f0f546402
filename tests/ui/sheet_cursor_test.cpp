// SPDX-License-Identifier: GPL-3.0-or-later
// Cursor moves, selection rules, list mode and the mouse on small pages
// with an evaluator that records what reaches it.
#include <QTest>

#include "ui/cell_editor.h"
#include "ui/sheet_support.h"

namespace uitest {
namespace {

struct Reached {
  int action;
  int inputMode;
  friend bool operator==(const Reached&, const Reached&) = default;
};
std::vector<Reached>* gReached = nullptr;

EvalResult Record(cmcCellCapsule& capsule, bool notify) {
  if (notify && gReached) gReached->push_back({capsule.action, capsule.inputMode});
  if (capsule.cell) capsule.outputText = "v" + std::to_string(capsule.cell->Number());
  return EvalResult::kDone;
}

class Cursor : public SheetTest {
 protected:
  Cursor() { gReached = &reached; }
  ~Cursor() override { gReached = nullptr; }

  cuiSheet& Open(const std::string& key, bool list = false) {
    Make(key, false);
    sheet->SetEvaluator(&Record);
    sheet->SetListMode(list);
    host.show();
    sheet->Build();
    QApplication::processEvents();
    return *sheet;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(sheet->Grid(), key, modifiers);
  }
  QPoint At() const { return {sheet->Grid()->Col(), sheet->Grid()->Row()}; }

  std::vector<Reached> reached;
};

// GI_Ui_Move:   a  .  c
//               .  e  .     (row not multi-selectable)
//               g  .  .
TEST_F(Cursor, StepsFindTheNearestSelectableCell) {
  Open("GI_Ui_Move");
  ASSERT_EQ(At(), QPoint(0, 0));
  struct Case {
    Qt::Key key;
    QPoint cursor;
  };
  const Case cases[] = {
      {Qt::Key_Right, {2, 0}},  // over the blank cell
      {Qt::Key_Down, {1, 1}},   // nothing below: the next row's cell nearest the column
      {Qt::Key_Down, {0, 2}},  {Qt::Key_Down, {0, 2}},  // nothing further: stays
      {Qt::Key_Right, {1, 1}},                          // the next column's cell nearest the row
      {Qt::Key_Up, {0, 0}},  // nearest to column 1: a before c on the tie
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Key(c.key);
    EXPECT_EQ(At(), c.cursor);
  }
  // Down failed to move but sends nothing; only Left and Right reach the cell.
  EXPECT_TRUE(reached.empty());
  Key(Qt::Key_Left);
  EXPECT_EQ(reached, (std::vector<Reached>{{0x2500, 0}}));
}

TEST_F(Cursor, ShiftSelectsOnlyBetweenMultiSelectableRows) {
  cuiSheet& page = Open("GI_Ui_Move");
  Key(Qt::Key_Right);
  Key(Qt::Key_Down, Qt::ShiftModifier);  // into the row that takes no part
  EXPECT_EQ(At(), QPoint(1, 1));
  EXPECT_FALSE(page.MultiSelectionActive());
  Key(Qt::Key_Down, Qt::ShiftModifier);  // and out of it
  EXPECT_FALSE(page.MultiSelectionActive());
  EXPECT_EQ(page.AnchorRow(), 2);
  // From g up to a: both rows take part, so the lines between light up.
  Key(Qt::Key_Up, Qt::ShiftModifier);
  ASSERT_EQ(At(), QPoint(0, 0));
  EXPECT_TRUE(page.MultiSelectionActive());
  EXPECT_TRUE(page.SlotMarked(2, 0));
  EXPECT_TRUE(page.SlotMarked(2, 2));
  EXPECT_FALSE(page.SlotMarked(1, 1));
  // Typing ends it: the evaluator reported no changed rows.
  Key(Qt::Key_X);
  EXPECT_FALSE(page.MultiSelectionActive());
  EXPECT_FALSE(page.SlotMarked(2, 2));
  EXPECT_EQ(reached.back(), (Reached{'x', 0}));
}

TEST_F(Cursor, ListModeWrapsAndPicks) {
  QWidget* popup = &host;
  Open("GI_Ui_List", true);
  struct Case {
    Qt::Key key;
    int row;
  };
  const Case cases[] = {{Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 0}, {Qt::Key_Up, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Key(c.key);
    EXPECT_EQ(At().y(), c.row);
  }
  // Characters other than Enter do nothing in a list.
  Key(Qt::Key_A);
  EXPECT_TRUE(reached.empty());
  Key(Qt::Key_Return);
  EXPECT_EQ(reached, (std::vector<Reached>{{0, cmcCellCapsule::kInputChoice}}));
  EXPECT_FALSE(popup->isVisible());
}

TEST_F(Cursor, NothingSelectableDisablesTheGrid) {
  cuiSheet& page = Open("GI_Ui_NoTitle");
  EXPECT_FALSE(page.Grid()->isEnabled());
  const QPoint before = At();
  page.MoveCursor(1, 0);
  page.MoveCursor(0, 1);
  EXPECT_EQ(At(), before);
}

TEST_F(Cursor, DoubleClicks) {
  cuiSheet& page = Open("GI_Ui_Wide");
  cuiGrid& grid = *page.Grid();
  page.FitColumn(1);
  const int fitted = grid.ColWidth(1);
  grid.SetColWidth(1, 30);
  const QRect head = grid.CellRect(1, 0);
  // Near the header's right edge: that column fits its texts.
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                     QPoint(head.right() - 1, head.center().y()));
  EXPECT_EQ(grid.ColWidth(1), fitted);
  EXPECT_TRUE(reached.empty());
  // On the cursor cell: the cell gets 256.
  const QRect cell = grid.CellRect(grid.Col(), grid.Row());
  QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  EXPECT_EQ(reached, (std::vector<Reached>{{256, 0}}));
}

// Answers: 'r' asks for three repeats of 1000; 'p' moves the cursor to the
// cells of number 2 of the same cell.
EvalResult Answer(cmcCellCapsule& capsule, bool notify) {
  static int repeats = 0;
  Record(capsule, notify);
  capsule.category = capsule.cell->Category();
  capsule.cellId = static_cast<std::int32_t>(capsule.cell->Cell());
  capsule.number = capsule.cell->Number();
  if (capsule.action == 'r') repeats = 3;
  if (capsule.action == 'r' || capsule.action == 1000)
    capsule.repeatAction = repeats-- > 0 ? 1000 : 0;
  if (capsule.action == 'p') {
    capsule.reposition = 1;
    capsule.number = 2;
  }
  return EvalResult::kDone;
}

TEST_F(Cursor, RepeatsAndRepositionFollowTheEvaluator) {
  // GI_Ui_Cursor: rows 2..4 hold numbers 0..2 in both columns.
  cuiSheet& page = Open("GI_Ui_Cursor");
  page.SetEvaluator(&Answer);
  page.Grid()->SetCursor(1, 2);
  Key(Qt::Key_R);
  EXPECT_EQ(reached, (std::vector<Reached>{{'r', 0}, {1000, 0}, {1000, 0}, {1000, 0}}));
  EXPECT_EQ(At(), QPoint(1, 2));
  Key(Qt::Key_P);
  EXPECT_EQ(At(), QPoint(1, 4));
}

TEST_F(Cursor, EditorKeepsAtMost1024Characters) {
  cuiSheet& page = Open("GI_Ui_Plain");
  page.OpenEditor(1, 1, std::string(2000, 'x'), 0, 0);
  cuiCellEditor& editor = *page.Editor();
  ASSERT_TRUE(editor.isVisible());
  EXPECT_EQ(editor.toPlainText().size(), cuiCellEditor::kMaxLength);
  editor.moveCursor(QTextCursor::End);
  editor.insertPlainText("yy");
  QTest::keyClicks(&editor, "zz");
  EXPECT_EQ(editor.toPlainText(), QString(cuiCellEditor::kMaxLength, 'x'));
  // Escape leaves the cell alone.
  QTest::keyClick(&editor, Qt::Key_Escape);
  EXPECT_FALSE(editor.isVisible());
  EXPECT_TRUE(reached.empty());
}

}  // namespace
}  // namespace uitest
