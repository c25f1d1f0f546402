// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/chooser_placement.h"

#include <algorithm>

#include "platform/qtcore/screens.h"

namespace chooser {

QPoint Place(const QRect& cell, const QSize& window, const QRect& work) {
  const int w = window.width();
  const int h = window.height();
  const bool below = platform::BottomEdge(cell) + h <= platform::BottomEdge(work);
  const bool above = cell.top() - h >= work.top();
  int top = platform::BottomEdge(work) - h;
  if (below) {
    top = platform::BottomEdge(cell);
  } else if (above) {
    top = cell.top() - h;
  }
  int left = cell.left() + kIndent;
  if (left + w > platform::RightEdge(work)) left = platform::RightEdge(work) - w;
  // Over the bottom of the work area the list would hide the cell it was
  // opened from; beside it, it does not.
  if (!below && !above && w < cell.left() - work.left()) left = cell.left() - w;
  return {left, top};
}

QSize Limit(const QSize& extent, const QRect& work) {
  return {std::min(extent.width(), work.width()), std::min(extent.height(), work.height())};
}

}  // namespace chooser
