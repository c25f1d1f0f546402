// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two vocabularies of cell definitions: categories (CT_) and cells
// (CL_). A name's position in its list is its value, which is what cells
// store and what the evaluator dispatches on; code names the values through
// the constants below, definitions name them as text.

#include <cstdint>
#include <string>
#include <string_view>

enum CellCategoryId : std::int32_t {
  CT_Null,
  CT_PopupMenu,
  CT_IntCh,
  CT_UsaCh,
  CT_CanCh,
  CT_SuvCh,
  CT_WxCh,
  CT_FreeCh,
  CT_NoCategory,  // 8: a cell without a category
};

enum CellNameId : std::uint32_t {
#define SEACLONE_CELL(name) name,
#include "model/cell_names.def"
#undef SEACLONE_CELL
  CL_NoCell,  // 182: a cell bound to nothing
};

inline constexpr int kCategoryNameCount = CT_NoCategory;
inline constexpr std::uint32_t kCellNameCount = CL_NoCell;
static_assert(kCellNameCount == 182, "the cell list has 182 names");

// The name at a position, or an empty text outside the list.
std::string_view CategoryName(int category);
std::string_view CellName(std::uint32_t cell);

// Value of a name; an empty text gives CT_NoCategory / CL_NoCell. A name that
// is not in the list is an overlay fault and stops the program.
int CategoryFromName(std::string_view name);
std::uint32_t CellFromName(std::string_view name);

// The channel category of the memory image that a cell category stands for:
// CT_IntCh..CT_FreeCh give 1..6, CT_Null, CT_PopupMenu and CT_NoCategory 0.
// A value outside 0..8 stops the program.
int ValueCategoryOf(int category);
