// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The definitions' 32-bit colours as QColors: 0x00BBGGRR for a fixed colour,
// 0x80000000 + n for system colour n, taken from a palette so that the pages
// follow the desktop's colours the way they followed the system's.

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace platform {

QColor ToQColor(std::uint32_t colour, const QPalette& palette);

}  // namespace platform
