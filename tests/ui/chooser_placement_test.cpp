// SPDX-License-Identifier: GPL-3.0-or-later
// Where the drop-down choice window goes around its cell.
#include <gtest/gtest.h>

#include "ui/chooser_placement.h"

namespace {

// A 1000 × 800 work area that starts at (100, 50), as on a second monitor
// or below a top panel.
const QRect kWork(100, 50, 1000, 800);

TEST(ChooserPlacement, BelowAboveBottomAndBeside) {
  struct Case {
    const char* name;
    QRect cell;
    QSize window;
    QPoint expected;
  };
  const Case cases[] = {
      {"fits below: under the cell, indented", {300, 200, 80, 20}, {150, 100}, {308, 220}},
      {"exactly to the bottom still fits below", {300, 730, 80, 20}, {150, 100}, {308, 750}},
      {"one pixel too low: ends at the cell's top", {300, 731, 80, 20}, {150, 100}, {308, 631}},
      {"exactly to the top still fits above", {300, 750, 80, 20}, {150, 700}, {308, 50}},
      {"neither: at the bottom, left of the cell", {600, 400, 80, 20}, {150, 500}, {450, 350}},
      {"neither, no room to the left: at the bottom, indented",
       {200, 400, 80, 20},
       {150, 500},
       {208, 350}},
      {"neither, exactly as wide as the room: not beside",
       {250, 400, 80, 20},
       {150, 500},
       {258, 350}},
      {"past the right edge: ends at it", {1000, 200, 80, 20}, {150, 100}, {950, 220}},
      {"as large as the work area", {500, 400, 80, 20}, {1000, 800}, {100, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(chooser::Place(c.cell, c.window, kWork), c.expected);
  }
}

TEST(ChooserPlacement, SizeIsLimitedToTheWorkArea) {
  EXPECT_EQ(chooser::Limit({300, 200}, kWork), QSize(300, 200));
  EXPECT_EQ(chooser::Limit({300, 2000}, kWork), QSize(300, 800));
  EXPECT_EQ(chooser::Limit({1500, 2000}, kWork), QSize(1000, 800));
}

}  // namespace
