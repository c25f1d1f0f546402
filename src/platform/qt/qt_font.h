// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns the plain font value of the definitions into a QFont for drawing.
// The classic default faces ("MS Sans Serif" and its Japanese counterpart)
// mean "the platform's general UI font", so they map to the base font's
// family; the colour is not part of a QFont and stays with the caller.

#include <QFont>

#include "platform/font_value.h"

namespace platform {

// The font described by value, starting from base for whatever the value
// leaves open (a height of 0 keeps the base size).
QFont ToQFont(const FontValue& value, const QFont& base);

}  // namespace platform
