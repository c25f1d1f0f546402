// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Monitors and their work areas (the monitor less the task bar and docks),
// and the placement rules that keep windows where the user can reach them.
// The rules are pure functions over a list of monitors, so that they hold
// for any arrangement of screens, attached or not; the Qt backend
// (platform/qt/screens_qt.h) supplies the live list.
//
// Edges follow the window-system convention the rules were written for: a
// rectangle's right edge is left + width and its bottom edge top + height
// (the first pixel outside it), not QRect::right().

#include <QPoint>
#include <QRect>
#include <vector>

namespace platform {

struct Monitor {
  QRect area;  // the whole monitor, in desktop coordinates
  QRect work;  // the part of it that windows may use
};

using MonitorList = std::vector<Monitor>;

// Exclusive right and bottom edges.
inline int RightEdge(const QRect& r) { return r.x() + r.width(); }
inline int BottomEdge(const QRect& r) { return r.y() + r.height(); }

// Index of the monitor nearest to a point: the one whose area holds it,
// else the one at the shortest distance; -1 for an empty list.
int NearestMonitor(const MonitorList& monitors, QPoint point);

// Index of the monitor nearest to a rectangle: the one sharing the largest
// area with it, else the one at the shortest distance; -1 for an empty list.
int NearestMonitor(const MonitorList& monitors, const QRect& rect);

// The work area of the nearest monitor; an empty rectangle without monitors.
QRect WorkAreaAt(const MonitorList& monitors, QPoint point);
QRect WorkAreaOf(const MonitorList& monitors, const QRect& rect);

// The corner rule: shifts a window so that each of its corners lies inside
// the work area of the monitor nearest to that corner. The corners are taken
// bottom-right, bottom-left, top-right, top-left, so a window larger than
// the work area ends with its top-left corner inside it. The size is kept.
QRect KeepReachable(const QRect& window, const MonitorList& monitors);

// Places a window of the given geometry centred over its owner, then keeps
// it inside the work area of the monitor nearest to its new place; the left
// and top edges win when it is larger than that work area.
QRect CentreOver(const QRect& window, const QRect& owner, const MonitorList& monitors);

}  // namespace platform
