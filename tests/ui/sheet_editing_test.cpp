// SPDX-License-Identifier: GPL-3.0-or-later
// Keys, the in-place editor and the popup commands on the free channels
// page of the initial image, through the real evaluator.
#include <QAccessible>
#include <QHelpEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <functional>

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
      QWidget* to = sheet->Editor() && sheet->Editor()->isVisible()
                        ? static_cast<QWidget*>(sheet->Editor())
                        : sheet->Grid();
      QTest::keyClick(to, static_cast<Qt::Key>(key), modifiers);
    }
  }
  void Type(const std::string& text) {
    for (char ch : text) {
      QWidget* to = sheet->Editor() && sheet->Editor()->isVisible()
                        ? static_cast<QWidget*>(sheet->Editor())
                        : sheet->Grid();
      QTest::keyClicks(to, QString(QChar(ch)));
    }
  }
  std::string Shown(int column, int row) { return CellText(sheet->CellAt(column, row), 0); }
  QPoint Cursor() const { return {sheet->Grid()->Col(), sheet->Grid()->Row()}; }
  // One notch of the wheel over the grid, as a mouse sends it.
  void Wheel(int notches) {
    cuiGrid& grid = *sheet->Grid();
    const QPointF at = grid.viewport()->rect().center();
    QWheelEvent wheel(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
  }
  // Does the editor show over the cell, in the grid's view?
  bool EditorOver(int column, int row) const {
    const cuiGrid& grid = *sheet->Grid();
    const QRect cell = grid.CellRect(column, row);
    if (cell.isEmpty() || !sheet->Editor()->isVisible()) return false;
    const QRect editor = sheet->Editor()->geometry();
    const QPoint centre =
        grid.viewport()->mapFrom(sheet->Editor()->parentWidget(), editor.center());
    return cell.contains(centre);
  }
  // The status bar's texts since the last call.
  std::vector<std::string> StatusTexts() {
    std::vector<std::string> texts;
    texts.swap(status_);
    return texts;
  }
  void SetUp() override {
    bus.Subscribe<ev::StatusText>(this,
                                  [this](const ev::StatusText& e) { status_.push_back(e.text); });
  }
  void TearDown() override { bus.Unsubscribe(this); }

 private:
  std::vector<std::string> status_;
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
  bus.Send(ev::CommitEditor{});
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
  page.SetEvaluator([](cmcCellCapsule& capsule, bool notify) {
    if (notify) seen->push_back(capsule.action);
    return Evaluate(capsule, notify);
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
  page.SetEvaluator([](cmcCellCapsule& capsule, bool notify) {
    if (notify && capsule.popupCommand)
      seen->push_back({(capsule.rowFlags & cmcCellCapsule::kRowRangeSelected) != 0,
                       capsule.firstRow, capsule.lastRow});
    return Evaluate(capsule, notify);
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
    if (const cmcCellObj* cell = cuiMenu::CellOf(item); cell && cell->Cell() == CL_PMenu_Copy)
      copy = item;
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
  bus.Subscribe<ev::ClearCellMenu>(&events, [&events](const ev::ClearCellMenu&) {
    events.push_back(ev::ClearCellMenu::kNumber);
  });
  bus.Subscribe<ev::FillCellMenu>(
      &events, [&events](const ev::FillCellMenu&) { events.push_back(ev::FillCellMenu::kNumber); });
  ASSERT_NE(page.CellMenu(), nullptr);
  EXPECT_EQ(page.LastMenuName(), "GI_PMenu_Ch");
  EXPECT_FALSE(page.PopupMenu()->actions().isEmpty());
  // The same menu on the next cell is kept.
  Keys({{Qt::Key_Down, kNone}});
  EXPECT_TRUE(events.empty());
  const std::vector<const cmcCellObj*> answers =
      bus.Ask(ev::AskCellDefinition{static_cast<const QObject*>(page.PopupMenu())});
  EXPECT_EQ(answers, std::vector<const cmcCellObj*>{&page.CellAt(1, 2)});
  bus.Unsubscribe(&events);
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
    if (const cmcCellObj* cell = cuiMenu::CellOf(item); cell && cell->Cell() == CL_PMenu_Edit)
      item->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(page.Editor() && page.Editor()->isVisible());
  Keys({{Qt::Key_Escape, kNone}});
  EXPECT_FALSE(page.Editor()->isVisible());
  EXPECT_EQ(Cursor(), QPoint(2, 4));
}

TEST_F(Editing, TheEditorStaysOnItsCellWhileThePageScrolls) {
  OpenFree();
  cuiGrid& grid = *sheet->Grid();
  QScrollBar& bar = *grid.verticalScrollBar();
  struct Case {
    const char* how;
    std::function<void()> scroll;
  };
  const Case cases[] = {
      {"wheel", [&] { Wheel(1); }},
      {"scroll bar", [&] { bar.setValue(bar.value() + 2); }},
      {"scroll bar back", [&] { bar.setValue(bar.minimum()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    grid.SetTopLeft(grid.FixedCols(), 6);
    grid.SetCursor(1, 10);
    Type("PIA");
    ASSERT_TRUE(EditorOver(1, 10));
    const int top = grid.TopRow();
    c.scroll();
    ASSERT_NE(grid.TopRow(), top);
    EXPECT_TRUE(EditorOver(1, 10)) << "top row " << grid.TopRow();
    // The row that scrolled under the editor's old place keeps its name.
    const int under = 10 + grid.TopRow() - top;
    const std::string other = Shown(1, under);
    Keys({{Qt::Key_Return, kNone}});
    EXPECT_EQ(Shown(1, 10), "PIA");
    EXPECT_EQ(Shown(1, under), other);
    Type("HAb");
    Keys({{Qt::Key_Return, kNone}});
    ASSERT_EQ(Shown(1, 10), "HAb");
  }
  // Scrolled out of view, the cell takes what was typed and the editor
  // closes: nothing is written later into a cell the user cannot see.
  grid.SetTopLeft(grid.FixedCols(), 1);
  grid.SetCursor(1, 2);
  Type("C1A");
  ASSERT_TRUE(EditorOver(1, 2));
  Wheel(2);
  ASSERT_TRUE(grid.CellRect(1, 2).isEmpty());
  EXPECT_FALSE(sheet->Editor()->isVisible());
  EXPECT_EQ(Shown(1, 2), "C1A");
  EXPECT_TRUE(grid.hasFocus());
  Keys({{Qt::Key_Return, kNone}});
  EXPECT_TRUE(sheet->Editor()->isVisible()) << "Enter opens the editor again on the cursor cell";
  EXPECT_TRUE(EditorOver(1, 2)) << "scrolled back into view first";
  Keys({{Qt::Key_Escape, kNone}});
}

TEST_F(Editing, AValueNotTakenAsTypedIsNamedInTheStatusBarWithItsRule) {
  OpenFree();
  struct Case {
    int column;
    std::string typed;
    std::string shown;  // after Enter
    std::string note;   // a part of the status text; "" for none
  };
  const Case cases[] = {
      {1, "MARINA", " A",
       "No. 1, Name: \"MARINA\" was taken as \" A\". Three characters the radio's display"},
      {1, "DOCK", "dO", "\"DOCK\" was taken as \"dO\""},
      {1, "HAb", "HAb", ""},
      {2, "123.456", "123.45625",
       "No. 1, Receive (MHz): \"123.456\" was taken as \"123.45625\". A frequency in MHz"},
      {2, "999.9", "199.98750", "channel raster"},
      {3, "12", "100.00000", "Transmit (MHz): \"12\" was taken as \"100.00000\""},
      {2, "156.8", "156.80000", ""},
      // Refused (no raster step within the digits typed): the cell keeps its
      // value, and says why.
      {2, "156.8001", "156.80000",
       "\"156.8001\" was not taken; the cell keeps \"156.80000\". A frequency"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    sheet->Grid()->SetCursor(c.column, 1);
    Type(c.typed);
    StatusTexts();
    Keys({{Qt::Key_Return, kNone}});
    EXPECT_EQ(Shown(c.column, 1), c.shown);
    const std::vector<std::string> texts = StatusTexts();
    const std::string last = texts.empty() ? std::string() : texts.back();
    if (c.note.empty()) {
      EXPECT_EQ(last, "");
    } else {
      EXPECT_NE(last.find(c.note), std::string::npos) << last;
    }
  }
  // Leaving the editor with a move keeps the note: it is the last word.
  sheet->Grid()->SetCursor(1, 1);
  Type("PIER");
  Keys({{Qt::Key_Down, kNone}});
  ASSERT_EQ(Cursor(), QPoint(1, 2));
  const std::vector<std::string> texts = StatusTexts();
  ASSERT_FALSE(texts.empty());
  EXPECT_NE(texts.back().find("\"PIER\" was taken as \"PI\""), std::string::npos) << texts.back();
}

TEST_F(Editing, ACellsToolTipSaysWhatItTakes) {
  OpenFree();
  cuiGrid& grid = *sheet->Grid();
  struct Case {
    int column;
    const char* part;  // "" for no tip
  };
  // The cell without a rule first: a tip stays up a moment after it is
  // hidden.
  const Case cases[] = {
      {0, ""}, {1, "radio's display"}, {2, "channel raster"}, {3, "100.00000 to 199.99000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    const QPoint at = grid.CellRect(c.column, 2).center();
    QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &help);
    const QString tip = QToolTip::isVisible() ? QToolTip::text() : QString();
    if (*c.part == 0) {
      EXPECT_TRUE(tip.isEmpty()) << tip.toStdString();
    } else {
      EXPECT_TRUE(tip.contains(QString::fromLatin1(c.part))) << tip.toStdString();
    }
  }
  QToolTip::hideText();
}

TEST_F(Editing, ShiftClickExtendsTheSelectionFromTheCursorRow) {
  iuiSheet& page = OpenFree();
  cuiGrid& grid = *page.Grid();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(1, 2).center());
  ASSERT_EQ(Cursor(), QPoint(1, 2));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                    grid.CellRect(2, 5).center());
  EXPECT_EQ(Cursor(), QPoint(2, 5));
  ASSERT_TRUE(page.MultiSelectionActive());
  EXPECT_EQ(page.AnchorRow(), 2);
  for (int r = 1; r <= 6; ++r) EXPECT_EQ(page.SlotMarked(1, r), r >= 2 && r <= 5) << r;
  // A plain click ends it.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(1, 7).center());
  EXPECT_FALSE(page.MultiSelectionActive());
}

TEST_F(Editing, AScreenReaderReadingCellsLeavesTheEditorAndSelectionAlone) {
  iuiSheet& page = OpenFree();
  Keys({{Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}});
  ASSERT_TRUE(page.MultiSelectionActive());
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(page.Grid());
  ASSERT_NE(table, nullptr);
  ASSERT_NE(table->tableInterface(), nullptr);
  // A screen reader asks every cell of a row for its state.
  const auto readRow = [&](int row) {
    for (int c = 0; c < table->tableInterface()->columnCount(); ++c)
      if (QAccessibleInterface* cell = table->tableInterface()->cellAt(row, c)) (void)cell->state();
  };
  readRow(8);
  EXPECT_TRUE(page.MultiSelectionActive());
  EXPECT_TRUE(page.SlotMarked(1, 1) && page.SlotMarked(1, 3));
  EXPECT_FALSE(page.SlotMarked(1, 9));
  Keys({{Qt::Key_Down, kNone}});
  Type("PIA");
  ASSERT_TRUE(page.Editor()->isVisible());
  readRow(2);
  EXPECT_TRUE(page.Editor()->isVisible());
  EXPECT_EQ(page.Editor()->toPlainText(), "PIA");
  Keys({{Qt::Key_Escape, kNone}});
}

}  // namespace
}  // namespace uitest
