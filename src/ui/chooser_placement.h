// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a drop-down choice window goes, as a pure rule over rectangles in
// desktop coordinates, so that every arrangement can be checked without a
// screen. Edges follow platform/qtcore/screens.h: right and bottom are exclusive.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace chooser {

// How far right of the cell's left edge the window starts, so that the
// cell's own text stays readable beside the list.
inline constexpr int kIndent = 8;

// The top-left corner of a window of the given size opened from cell inside
// the work area work. Below the cell when it fits there; else ending at the
// cell's top when there is room above; else ending at the bottom of the work
// area, and then left of the cell when it is narrower than the room there.
// Horizontally it starts kIndent right of the cell and moves left to end at
// the work area's right edge.
QPoint Place(const QRect& cell, const QSize& window, const QRect& work);

// The window's size from the list's extent: the extent itself when it fits
// the work area, else no larger than the work area.
QSize Limit(const QSize& extent, const QRect& work);

}  // namespace chooser
