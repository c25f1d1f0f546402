// SPDX-License-Identifier: GPL-3.0-or-later
// The placement rules over monitor lists: which monitor is nearest, the
// corner rule that keeps a restored window reachable, and Centre over.
#include <gtest/gtest.h>

#include "platform/qtcore/screens.h"

using platform::CentreOver;
using platform::KeepReachable;
using platform::Monitor;
using platform::MonitorList;
using platform::NearestMonitor;

namespace {

// A 1024 × 768 monitor at (x, y) with a 30-pixel task bar along its bottom.
Monitor WithTaskBar(int x, int y) { return {QRect(x, y, 1024, 768), QRect(x, y, 1024, 738)}; }

const MonitorList kSingle = {WithTaskBar(0, 0)};
// A second monitor to the right of the primary one.
const MonitorList kSideBySide = {WithTaskBar(0, 0), WithTaskBar(1024, 0)};
// A second monitor left of the primary one, at negative coordinates.
const MonitorList kLeftOfPrimary = {WithTaskBar(0, 0),
                                    {QRect(-1280, 0, 1280, 1024), QRect(-1280, 0, 1280, 1024)}};

struct CornerCase {
  const char* what;
  MonitorList monitors;
  QRect saved;
  QPoint expected;
};

class CornerRule : public ::testing::TestWithParam<CornerCase> {};

TEST_P(CornerRule, MovesTheWindowButKeepsItsSize) {
  const CornerCase& c = GetParam();
  const QRect placed = KeepReachable(c.saved, c.monitors);
  EXPECT_EQ(placed.topLeft(), c.expected) << c.what;
  EXPECT_EQ(placed.size(), c.saved.size()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CornerRule,
    ::testing::Values(CornerCase{"inside the work area: unchanged", kSingle,
                                 QRect(100, 50, 800, 600), QPoint(100, 50)},
                      CornerCase{"exactly filling the work area: unchanged", kSingle,
                                 QRect(0, 0, 1024, 738), QPoint(0, 0)},
                      // Saved on a monitor to the right that is no longer attached.
                      CornerCase{"on a detached monitor: pulled onto the nearest", kSingle,
                                 QRect(2000, 100, 800, 600), QPoint(224, 100)},
                      CornerCase{"under the task bar: lifted above it", kSingle,
                                 QRect(100, 500, 400, 300), QPoint(100, 438)},
                      CornerCase{"above and left of the desktop: pushed in", kSingle,
                                 QRect(-300, -200, 400, 300), QPoint(0, 0)},
                      CornerCase{"larger than the work area: top-left corner inside", kSingle,
                                 QRect(-50, -50, 1200, 900), QPoint(0, 0)},
                      CornerCase{"larger and far right: top-left corner inside", kSingle,
                                 QRect(500, 300, 1200, 900), QPoint(0, 0)},
                      CornerCase{"straddling two monitors: left alone", kSideBySide,
                                 QRect(900, 100, 400, 300), QPoint(900, 100)},
                      CornerCase{"right monitor still attached: stays there", kSideBySide,
                                 QRect(1500, 100, 400, 300), QPoint(1500, 100)},
                      CornerCase{"beyond a monitor at negative coordinates", kLeftOfPrimary,
                                 QRect(-2000, 100, 400, 300), QPoint(-1280, 100)},
                      CornerCase{"no monitors at all: unchanged", MonitorList{},
                                 QRect(5000, 5000, 400, 300), QPoint(5000, 5000)}));

TEST(NearestMonitor, PointInsideThenClosest) {
  EXPECT_EQ(NearestMonitor(kSideBySide, QPoint(10, 10)), 0);
  EXPECT_EQ(NearestMonitor(kSideBySide, QPoint(1024, 10)), 1);  // right edge belongs to the next
  EXPECT_EQ(NearestMonitor(kSideBySide, QPoint(1023, 10)), 0);
  EXPECT_EQ(NearestMonitor(kSideBySide, QPoint(5000, 100)), 1);
  EXPECT_EQ(NearestMonitor(kSideBySide, QPoint(-5000, 100)), 0);
  EXPECT_EQ(NearestMonitor(MonitorList{}, QPoint(0, 0)), -1);
}

TEST(NearestMonitor, RectangleByLargestShareThenDistance) {
  EXPECT_EQ(NearestMonitor(kSideBySide, QRect(900, 0, 200, 100)), 0);   // 124 px left of the seam
  EXPECT_EQ(NearestMonitor(kSideBySide, QRect(1000, 0, 200, 100)), 1);  // 176 px right of it
  EXPECT_EQ(NearestMonitor(kSideBySide, QRect(3000, 0, 200, 100)), 1);
  EXPECT_EQ(NearestMonitor(kSideBySide, QRect(-900, 0, 200, 100)), 0);
}

TEST(WorkArea, OfThePointOrRectangleNearestMonitor) {
  EXPECT_EQ(platform::WorkAreaAt(kSideBySide, QPoint(1500, 900)), QRect(1024, 0, 1024, 738));
  EXPECT_EQ(platform::WorkAreaOf(kSideBySide, QRect(-100, -100, 50, 50)), QRect(0, 0, 1024, 738));
  EXPECT_FALSE(platform::WorkAreaAt(MonitorList{}, QPoint(1, 1)).isValid());
}

struct CentreCase {
  const char* what;
  QRect window;
  QRect owner;
  QPoint expected;
};

class CentreOverRule : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentreOverRule, PlacesAndKeepsInside) {
  const CentreCase& c = GetParam();
  const QRect placed = CentreOver(c.window, c.owner, kSingle);
  EXPECT_EQ(placed.topLeft(), c.expected) << c.what;
  EXPECT_EQ(placed.size(), c.window.size()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CentreOverRule,
    ::testing::Values(
        CentreCase{"centred", QRect(0, 0, 200, 100), QRect(100, 100, 400, 300), QPoint(200, 200)},
        CentreCase{"odd room truncates", QRect(0, 0, 200, 100), QRect(100, 100, 401, 301),
                   QPoint(200, 200)},
        // (100 - 301) / 2 is -100 when truncated toward zero, not -101.
        CentreCase{"wider than the owner truncates toward zero", QRect(0, 0, 301, 101),
                   QRect(400, 300, 100, 100), QPoint(300, 300)},
        CentreCase{"past the right edge: moved in", QRect(0, 0, 300, 100),
                   QRect(900, 100, 100, 100), QPoint(724, 100)},
        CentreCase{"past the task bar: moved up", QRect(0, 0, 100, 200), QRect(100, 650, 100, 100),
                   QPoint(100, 538)},
        CentreCase{"larger than the work area: left and top edges win", QRect(0, 0, 1200, 900),
                   QRect(400, 300, 100, 100), QPoint(0, 0)}));

}  // namespace
