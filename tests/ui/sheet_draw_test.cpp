// SPDX-License-Identifier: GPL-3.0-or-later
// What a cell looks like, proven on the grid's pixels.
#include <QPainter>
#include <functional>
#include <set>

#include "layout/redraw_relation.h"
#include "platform/qt/qt_colour.h"
#include "ui/sheet_support.h"

namespace uitest {
namespace {

const QColor kRuleGrey(0x80, 0x80, 0x80);

QColor FromBgr(std::uint32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

std::uint32_t ToBgr(const QColor& c) {
  return static_cast<std::uint32_t>(c.blue()) << 16 | static_cast<std::uint32_t>(c.green()) << 8 |
         static_cast<std::uint32_t>(c.red());
}

TEST_F(SheetTest, RulesAndJoins) {
  Make("GI_Ui_Rules");
  const QImage image = Picture();
  if (const char* dir = std::getenv("SEACLONE_UI_PICTURES"))
    image.save(QString(dir) + "/rules.png");
  const auto column = [](const QRect& r, int x) { return QRect(x, r.top(), 1, r.height()); };
  const auto row = [](const QRect& r, int y) { return QRect(r.left(), y, r.width(), 1); };

  // B: the whole bottom pixel row, nothing on the right edge.
  const QRect b = Cell(0, 0);
  EXPECT_EQ(CountColour(image, row(b, b.bottom()), kRuleGrey), b.width());
  EXPECT_EQ(CountColour(image, column(b, b.right()).adjusted(0, 0, 0, -1), kRuleGrey), 0);
  // X: the full height of the right edge.
  const QRect x = Cell(1, 0);
  EXPECT_EQ(CountColour(image, column(x, x.right()), kRuleGrey), x.height());
  // Q: the lower 30 % of the right edge.
  const QRect q = Cell(2, 0);
  const int from = q.height() * 7 / 10;
  EXPECT_EQ(CountColour(image, column(q, q.right()), kRuleGrey), q.height() - from);
  EXPECT_EQ(image.pixelColor(q.right(), q.top() + from).rgb(), kRuleGrey.rgb());
  EXPECT_NE(image.pixelColor(q.right(), q.top() + from - 1).rgb(), kRuleGrey.rgb());

  // A joined cell runs on its left neighbour's text; a plain one shows none.
  const QColor window = platform::ToQColor(0x80000005, sheet->Grid()->palette());
  const auto inked = [&](const QRect& r) {
    return r.width() * r.height() - CountColour(image, r, window);
  };
  EXPECT_GT(inked(Cell(1, 1)), 0);
  EXPECT_EQ(inked(Cell(1, 2)), 0);
  // X is drawn only where the next cell is not joined.
  EXPECT_EQ(CountColour(image, column(Cell(0, 2), Cell(0, 2).right()), kRuleGrey),
            Cell(0, 2).height());
  EXPECT_EQ(CountColour(image, column(Cell(0, 3), Cell(0, 3).right()), kRuleGrey), 0);
}

TEST_F(SheetTest, CursorTints) {
  Make("GI_Ui_Plain");
  const QPalette palette = sheet->Grid()->palette();
  const layout::Tints tints = layout::ComputeTints(ToBgr(platform::ToQColor(0x80000005, palette)),
                                                   ToBgr(platform::ToQColor(0x80000008, palette)));
  ASSERT_EQ(sheet->Grid()->Col(), 1);
  ASSERT_EQ(sheet->Grid()->Row(), 1);
  const QImage focused = Picture();
  ASSERT_TRUE(sheet->Grid()->hasFocus());
  EXPECT_EQ(focused.pixelColor(Cell(1, 1).center()).rgb(),
            platform::ToQColor(0x8000000D, palette).rgb());
  sheet->Grid()->clearFocus();
  const QImage image = Picture();
  const auto centre = [&](int c, int r) { return image.pixelColor(Cell(c, r).center()).rgb(); };
  // Without the focus the cursor cell takes the inactive tint, the rest of
  // its row the line tint; the fixed column and other rows stay plain.
  EXPECT_EQ(centre(1, 1), FromBgr(tints.inactive).rgb());
  EXPECT_EQ(centre(2, 1), FromBgr(tints.line).rgb());
  EXPECT_EQ(centre(3, 1), FromBgr(tints.line).rgb());
  EXPECT_EQ(centre(2, 2), platform::ToQColor(0x80000005, palette).rgb());

  // A choice list highlights its cursor in the highlight colour and tints
  // no line.
  sheet.reset();
  Make("GI_Ui_Plain", false);
  sheet->SetListMode(true);
  sheet->Build();
  const QImage list = Picture();
  EXPECT_EQ(list.pixelColor(Cell(1, 1).center()).rgb(),
            platform::ToQColor(0x8000000D, palette).rgb());
  EXPECT_EQ(list.pixelColor(Cell(2, 1).center()).rgb(),
            platform::ToQColor(0x80000005, palette).rgb());
}

TEST_F(SheetTest, MarksFromTheImageList) {
  Make("GI_Ui_Marks");
  const QImage image = Picture();
  struct Case {
    const char* name;
    int column;
    const QColor& colour;
    // Where the mark's 16 pixels wide picture begins, from the cell's left
    // edge; -1 for "after the text".
    int offset;
  };
  const Case cases[] = {
      {"warning after the text", 0, kWarningColour, -1},
      {"error after the text", 1, kErrorColour, -1},
      {"right-aligned: at the left edge", 2, kWarningColour, 2},
      {"requested right edge", 3, kWarningColour, Cell(3, 0).width() - 16 - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QRect cell = Cell(c.column, 0);
    const QColor& other = &c.colour == &kWarningColour ? kErrorColour : kWarningColour;
    EXPECT_GT(CountColour(image, cell, c.colour), 0);
    EXPECT_EQ(CountColour(image, cell, other), 0);
    int first = -1;
    for (int x = cell.left(); x <= cell.right() && first < 0; ++x) {
      if (image.pixelColor(x, cell.bottom() - 2).rgb() == c.colour.rgb()) first = x - cell.left();
    }
    if (c.offset >= 0) {
      EXPECT_EQ(first, c.offset);
    } else {
      // After the short text "v1", well left of the right edge.
      EXPECT_GT(first, 8);
      EXPECT_LT(first, cell.width() - 16 - 1);
    }
  }
}

TEST_F(SheetTest, PrintedColouredCellIsDarkGreyWithWhiteText) {
  Make("GI_Ui_Print", false);
  sheet->SetPreview(true);
  sheet->SetPrinter(96, 0);
  sheet->Build();
  const QRect coloured(0, 0, sheet->Grid()->ColWidth(0), sheet->Grid()->RowHeight(0));
  const QRect plain(coloured.width(), 0, sheet->Grid()->ColWidth(1), coloured.height());
  QImage paper(coloured.width() + plain.width(), coloured.height(), QImage::Format_RGB32);
  paper.fill(Qt::white);
  {
    QPainter painter(&paper);
    sheet->DrawCell(painter, 0, 0, coloured);
    sheet->DrawCell(painter, 1, 0, plain);
  }
  const QColor grey(0x60, 0x60, 0x60);
  EXPECT_GT(CountColour(paper, coloured, grey), coloured.width() * coloured.height() / 2);
  EXPECT_GT(CountColour(paper, coloured, Qt::white), 0);
  EXPECT_EQ(CountColour(paper, coloured, Qt::black), 0);
  EXPECT_EQ(paper.pixelColor(plain.topLeft()).rgb(), QColor(Qt::white).rgb());
  EXPECT_GT(CountColour(paper, plain, Qt::black), 0);
}

TEST_F(SheetTest, PrintedMarksAreDrawnShapes) {
  Make("GI_Ui_Marks", false);
  sheet->SetPreview(true);
  sheet->SetPrinter(96, 0);
  sheet->Build();
  const QRect rect(0, 0, sheet->Grid()->ColWidth(1), 40);
  for (int column : {0, 1}) {
    QImage paper(rect.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    {
      QPainter painter(&paper);
      sheet->DrawCell(painter, column, 0, rect);
    }
    // No picture of the image list on paper; black shapes instead.
    EXPECT_EQ(CountColour(paper, rect, kWarningColour) + CountColour(paper, rect, kErrorColour), 0)
        << column;
    const QRect markArea(rect.width() / 3, 20, rect.width() * 2 / 3, 20);
    EXPECT_GT(CountColour(paper, markArea.intersected(rect), Qt::black), 20) << column;
  }
}

// Records which cells the grid draws.
class Redraws : public SheetTest {
 protected:
  void Start() {
    Make("GI_Ui_Cursor");
    Picture();
    auto& events = sheet->Grid()->Events();
    auto draw = events.drawCell;
    events.drawCell = [this, draw](int c, int r, const QRect& rect) {
      drawn.insert({c, r});
      draw(c, r, rect);
    };
  }
  std::set<std::pair<int, int>> Flush() {
    drawn.clear();
    QApplication::processEvents();
    return drawn;
  }
  std::set<std::pair<int, int>> drawn;
};

TEST_F(Redraws, OnlyRelatedCellsRepaint) {
  Start();
  // Rows 2..4 hold channels 0..2: number in column 0, name in column 1.
  using Cells = std::set<std::pair<int, int>>;
  struct Case {
    const char* name;
    std::uint32_t cell;
    int number;
    unsigned mask;
    Cells expected;
  };
  const Case cases[] = {
      {"same cell and number", CL_ChList_No, 1, layout::kSameCellAndNumber, {{0, 3}}},
      {"same cell", CL_Fch_ChName, 0, layout::kSameCell, {{1, 2}, {1, 3}, {1, 4}}},
      {"neighbour numbers",
       CL_ChList_No,
       0,
       layout::kNeighbourNumber,
       {{0, 2}, {1, 2}, {0, 3}, {1, 3}}},
      {"any data cell",
       CL_NoCell,
       0,
       layout::kAnyDataCell,
       {{0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}, {1, 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cmcCellObj probeCell;
    probeCell.SetCategory(CT_FreeCh);
    probeCell.SetCell(c.cell);
    probeCell.SetNumber(c.number);
    cmcCellCapsule probe;
    probe.cell = &probeCell;
    sheet->RedrawRelated(probe, c.mask);
    EXPECT_EQ(Flush(), c.expected);
  }
}

TEST_F(Redraws, BusEventsRepaintTheirCells) {
  Start();
  using Cells = std::set<std::pair<int, int>>;
  struct Case {
    const char* name;
    std::function<void()> post;
    Cells expected;
  };
  const Case cases[] = {
      {"cells of a cell",
       [this] { bus.Post(ev::RedrawCellsOfCell{CL_ChList_No}); },
       {{0, 2}, {0, 3}, {0, 4}}},
      {"cells of a number", [this] { bus.Post(ev::RedrawCellsOfNumber{2}); }, {{0, 4}, {1, 4}}},
      {"all cells",
       [this] { bus.Post(ev::RedrawAllCells{}); },
       {{0, 2}, {1, 2}, {0, 3}, {1, 3}, {0, 4}, {1, 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.post();
    time.AdvanceBy(cmcEvMan::kTickMs);
    EXPECT_EQ(Flush(), c.expected);
  }
}

}  // namespace
}  // namespace uitest
