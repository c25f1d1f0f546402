// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of sheets compared to stored images, each showing one drawing
// rule: rules and joins, marks, the cursor's tints with row markers, and a
// corner of a shipped channel page. Assertions on single pixels live in
// sheet_draw_test.cpp; these catch what no single pixel names (a rule drawn
// twice, a mark in the wrong cell, a tint spilling into the next row).
#include <QApplication>
#include <QFont>

#include "ui/real_pages_support.h"
#include "ui/screenshot_compare.h"
#include "ui/sheet_support.h"

namespace uitest {
namespace {

// Text is part of some pictures (a join shows as text running on); a font
// that scripts/setup installs keeps its shapes the same between machines.
class ScopedFont {
 public:
  ScopedFont() : saved_(QApplication::font()) { QApplication::setFont(QFont("DejaVu Sans", 9)); }
  ~ScopedFont() { QApplication::setFont(saved_); }

 private:
  QFont saved_;
};

class SheetScreenshot : public SheetTest {
 protected:
  // The cells from (c0, r0) to (c1, r1), as drawn.
  QImage Crop(const QImage& picture, int c0, int r0, int c1, int r1) const {
    return picture.copy(Cell(c0, r0).united(Cell(c1, r1)));
  }
  ScopedFont font;
};

TEST_F(SheetScreenshot, RulesAndJoins) {
  // Row 0: B, X and Q rules; row 1 a wide fixed text running on into a
  // joined cell; rows 2 and 3: X drawn only where the right neighbour is
  // not joined.
  Make("GI_Ui_Rules");
  EXPECT_TRUE(MatchesStoredScreenshot(Crop(Picture(), 0, 0, 3, 3), "rules-joins"));
}

TEST_F(SheetScreenshot, MarksBesideTheTextOrAtTheEdge) {
  // Warning, error, a right-aligned cell's mark at its left edge, and a
  // mark asked for at the right edge.
  Make("GI_Ui_Marks");
  EXPECT_TRUE(MatchesStoredScreenshot(Crop(Picture(), 0, 0, 3, 0), "marks"));
}

TEST_F(SheetScreenshot, CursorTintsAndRowMarkers) {
  // Without the focus: the cursor cell in the inactive tint, its row's
  // markers highlighted with it, the rest of the row in the line tint, the
  // other row plain.
  Make("GI_Ui_Markers");
  ASSERT_EQ(sheet->Grid()->Row(), 1);
  Picture();
  sheet->Grid()->clearFocus();
  EXPECT_TRUE(MatchesStoredScreenshot(Crop(Picture(), 0, 0, 4, 2), "tints-markers"));

  // With the focus the cursor cell takes the highlight colour.
  sheet->Grid()->setFocus();
  const QImage focused = Picture();
  ASSERT_TRUE(sheet->Grid()->hasFocus());
  EXPECT_TRUE(MatchesStoredScreenshot(Crop(focused, 0, 0, 4, 2), "tints-markers-focused"));
}

class RealPageScreenshot : public RealPages {
 protected:
  ScopedFont font;
};

TEST_F(RealPageScreenshot, CornerOfTheInternationalChannelPage) {
  // Headers, the channel number column with its rules, and the first
  // channels of the initial image as the evaluator shows them.
  Open("GI_Sheet_IntCh");
  host.show();
  QApplication::processEvents();
  const QImage picture = sheet->Grid()->viewport()->grab().toImage();
  const QRect corner = sheet->Grid()->CellRect(0, 0).united(sheet->Grid()->CellRect(4, 6));
  EXPECT_TRUE(MatchesStoredScreenshot(picture.copy(corner), "intch-corner"));
}

}  // namespace
}  // namespace uitest
