// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's 25 icons, in the order whose positions are the image
// indexes of the tree, menu and tool bar definitions. Each picture is
// data/icons/<name>.png (32 × 32) in the program's data folder; where the
// file is missing the desktop icon theme's picture of the same meaning
// stands in, and failing that an empty picture keeps the indexes in place.

#include <QPixmap>
#include <array>
#include <string>

#include "ui/image_list.h"

struct IconSpec {
  const char* name;       // file name without ".png"
  const char* themeName;  // freedesktop icon name, empty for none
};

extern const std::array<IconSpec, 6> kTreeIcons;
extern const std::array<IconSpec, 19> kBarIcons;

// The folder the icons are read from: "icons/" in the data folder.
std::string IconFolder();

// One icon, 32 × 32; never null.
QPixmap LoadIcon(const IconSpec& spec, const std::string& folder);

// The two image lists of the main form.
void FillImageList(cuiImageList& list, const IconSpec* first, std::size_t count,
                   const std::string& folder);
