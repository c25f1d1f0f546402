// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the radio says about itself, worded as the user reads it: the
// information dialog's cells and the search for the radio show the same
// texts.

#include <cstdint>
#include <string>

namespace radioinfo {

// The model type's name (GI_AppInd_Model); a type the program does not know
// by its number, rather than whatever line happens to follow the list.
std::string ModelText(int model);
// The revision byte as "major.minor" ("1.0" for 0x10).
std::string RevisionText(std::uint8_t revision);
// The 16 comment bytes as the radio's display shows them.
std::string CommentText(const std::uint8_t* comment);

}  // namespace radioinfo
