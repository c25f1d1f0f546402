// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtcore/screens.h"

#include <cstdint>
#include <limits>

namespace platform {
namespace {

bool Holds(const QRect& r, QPoint p) {
  return p.x() >= r.x() && p.x() < RightEdge(r) && p.y() >= r.y() && p.y() < BottomEdge(r);
}

// Distance along one axis from v to the half-open span [lo, hi).
std::int64_t Gap(int v, int lo, int hi) {
  if (v < lo) return std::int64_t{lo} - v;
  if (v >= hi) return std::int64_t{v} - (hi - 1);
  return 0;
}

std::int64_t SquaredDistance(const QRect& r, QPoint p) {
  const std::int64_t dx = Gap(p.x(), r.x(), RightEdge(r));
  const std::int64_t dy = Gap(p.y(), r.y(), BottomEdge(r));
  return dx * dx + dy * dy;
}

// Distance between two rectangles along one axis; 0 when they overlap.
std::int64_t SpanGap(int lo1, int hi1, int lo2, int hi2) {
  if (hi1 <= lo2) return std::int64_t{lo2} - hi1 + 1;
  if (hi2 <= lo1) return std::int64_t{lo1} - hi2 + 1;
  return 0;
}

std::int64_t SquaredDistance(const QRect& a, const QRect& b) {
  const std::int64_t dx = SpanGap(a.x(), RightEdge(a), b.x(), RightEdge(b));
  const std::int64_t dy = SpanGap(a.y(), BottomEdge(a), b.y(), BottomEdge(b));
  return dx * dx + dy * dy;
}

std::int64_t SharedArea(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  if (both.isEmpty()) return 0;
  return std::int64_t{both.width()} * both.height();
}

}  // namespace

int NearestMonitor(const MonitorList& monitors, QPoint point) {
  int best = -1;
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
    if (Holds(monitors[i].area, point)) return i;
    const std::int64_t d = SquaredDistance(monitors[i].area, point);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

int NearestMonitor(const MonitorList& monitors, const QRect& rect) {
  int best = -1;
  std::int64_t bestShared = 0;
  for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
    const std::int64_t shared = SharedArea(monitors[i].area, rect);
    if (shared > bestShared) {
      bestShared = shared;
      best = i;
    }
  }
  if (best >= 0) return best;
  // A rectangle of no size still has a place: treat it as its top-left point.
  if (rect.width() <= 0 || rect.height() <= 0) return NearestMonitor(monitors, rect.topLeft());
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
    const std::int64_t d = SquaredDistance(monitors[i].area, rect);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

QRect WorkAreaAt(const MonitorList& monitors, QPoint point) {
  const int i = NearestMonitor(monitors, point);
  return i < 0 ? QRect() : monitors[i].work;
}

QRect WorkAreaOf(const MonitorList& monitors, const QRect& rect) {
  const int i = NearestMonitor(monitors, rect);
  return i < 0 ? QRect() : monitors[i].work;
}

QRect KeepReachable(const QRect& window, const MonitorList& monitors) {
  if (monitors.empty()) return window;
  const int left = window.x();
  const int top = window.y();
  const int right = RightEdge(window);
  const int bottom = BottomEdge(window);
  struct Corner {
    int x, y;
    bool isRight, isBottom;
  };
  const Corner corners[] = {
      {right, bottom, true, true},
      {left, bottom, false, true},
      {right, top, true, false},
      {left, top, false, false},
  };
  int dx = 0;
  int dy = 0;
  for (const Corner& c : corners) {
    // The monitor is chosen where the corner lies before any shift, so a
    // window on a detached monitor is pulled onto the nearest one.
    const QRect work = WorkAreaAt(monitors, QPoint(c.x, c.y));
    if (c.isRight) {
      if (c.x - dx >= RightEdge(work)) dx = c.x - RightEdge(work);
    } else {
      if (c.x - dx <= work.x()) dx = dx - (work.x() - (c.x - dx));
    }
    if (c.isBottom) {
      if (c.y - dy >= BottomEdge(work)) dy = c.y - BottomEdge(work);
    } else {
      if (c.y - dy <= work.y()) dy = dy - (work.y() - (c.y - dy));
    }
  }
  return QRect(left - dx, top - dy, window.width(), window.height());
}

QRect CentreOver(const QRect& window, const QRect& owner, const MonitorList& monitors) {
  int left = owner.x() + (owner.width() - window.width()) / 2;
  int top = owner.y() + (owner.height() - window.height()) / 2;
  const QRect placed(left, top, window.width(), window.height());
  const QRect work = WorkAreaOf(monitors, placed);
  if (!monitors.empty()) {
    if (left + window.width() > RightEdge(work)) left = RightEdge(work) - window.width();
    if (left < work.x()) left = work.x();
    if (top + window.height() > BottomEdge(work)) top = BottomEdge(work) - window.height();
    if (top < work.y()) top = work.y();
  }
  return QRect(left, top, window.width(), window.height());
}

}  // namespace platform
