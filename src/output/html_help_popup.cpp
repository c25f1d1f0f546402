// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/html_help_popup.h"

namespace helppopup {

QPoint FirstPlace(QPoint pointer, QSize size) {
  const int left = pointer.x() - size.width() / 2;
  return {left > 0 ? left : 0, pointer.y()};
}

QPoint Place(QPoint pointer, const QRect& work, QSize size) {
  const int width = size.width();
  const int height = size.height();
  const int right = work.x() + work.width();
  const int bottom = work.y() + work.height();
  int x = work.x() + width / 2 < pointer.x() ? pointer.x() - width / 2 : work.x();
  int y = pointer.y();
  if (y + height > bottom) {
    // Above the pointer when there is room for the whole window there;
    // otherwise against the bottom, which keeps the title bar reachable.
    if (height < pointer.y() - work.y() && pointer.y() < bottom) {
      y = pointer.y() - height;
    } else {
      y = bottom - height;
    }
  }
  if (x + width > right) x = right - width;
  return {x, y};
}

QSize ReusedSize(const QRect& remembered, QSize configured) {
  const bool allZero = remembered.x() == 0 && remembered.y() == 0 && remembered.width() == 0 &&
                       remembered.height() == 0;
  return allZero ? configured : remembered.size();
}

}  // namespace helppopup
