// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a drop-down choice list tells assistive technology: the list grid of
// an open cuiFlector is a list, not a table; its items are the entries the
// cursor may go to, in reading order, named with the texts the list shows,
// and the cursor entry is the selected one and, while the list has the
// focus, the focused one. A screen reader can so read the choices and hear
// which one Enter will take.

class cuiGrid;

// Makes Qt build the list interface for the grid of every choice window.
// The grids' own table interface must already be installed: the factory
// installed last is asked first.
void InstallChooserAccessible();

// The list's cursor moved (or the list just opened): tells listeners which
// entry is now selected and focused.
void NotifyChooserCursor(cuiGrid& grid);
