// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the popup help window goes: at the mouse pointer, centred on it
// horizontally, kept inside the work area of the monitor under the pointer,
// and above the pointer when it would run past the bottom. Pure functions,
// so that every screen arrangement can be tested without a screen.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace helppopup {

// The first place of a new popup window type, before anything is known of
// the work area: centred on the pointer when that stays right of 0.
QPoint FirstPlace(QPoint pointer, QSize size);

// The top-left corner of a popup of the given size for the pointer and the
// work area of the monitor under it. The work area's right and bottom are
// exclusive (left + width, top + height). Halves round toward zero.
QPoint Place(QPoint pointer, const QRect& work, QSize size);

// The size a popup takes: the one it had when it was last shown, unless
// that is empty, else the configured size.
QSize ReusedSize(const QRect& remembered, QSize configured);

}  // namespace helppopup
