// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The live monitors of the desktop, from Qt's screens, and the window
// routines built on the placement rules of platform/screens.h.

#include <QRect>
#include <QSize>

#include "platform/qtcore/screens.h"

class QWidget;

namespace platform {

// Every attached screen with its available geometry, the primary one first.
MonitorList CurrentMonitors();

// The primary screen's full size; 0 × 0 when there is no screen.
QSize PrimaryScreenSize();
// The primary screen's work area.
QRect PrimaryWorkArea();

// The work area of the monitor nearest to a top-level window (its frame);
// with no window, the primary work area.
QRect WorkAreaOfWindow(const QWidget* window);
QRect WorkAreaAtPoint(QPoint point);
QRect WorkAreaOfRect(const QRect& rect);

// Moves window centred over owner (both by their frames) and keeps it inside
// its monitor's work area, shrunk to that work area first when it is larger
// and its minimum size allows. Without an owner it is centred over the
// primary work area.
void CentreOver(QWidget* window, const QWidget* owner);

// Whether the window system tells where a top-level window stands and
// honours a move. Wayland does neither: there a window's position is only
// what the program last asked for, and the compositor places it.
bool WindowPositionsKnown();

// Makes window (a top-level without a Qt parent) the transient of owner's
// window before it shows: it stays above its owner, and a compositor that
// places windows itself (Wayland) puts it over that one instead of anywhere
// on the desktop. A Qt parent would do the same, but disabling the owner
// would then disable the window too. Nothing happens while the owner has no
// native window yet.
void AttachToOwner(QWidget* window, const QWidget* owner);

}  // namespace platform
