// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/cell_names.h"

#include <array>

#include "platform/fatal.h"
#include "text/hash.h"

namespace {

constexpr std::array<std::string_view, kCategoryNameCount> kCategoryNames{
    "CT_Null",  "CT_PopupMenu", "CT_IntCh", "CT_UsaCh",
    "CT_CanCh", "CT_SuvCh",     "CT_WxCh",  "CT_FreeCh",
};

constexpr std::array<std::string_view, kCellNameCount> kCellNames{
#define SEACLONE_CELL(name) #name,
#include "model/cell_names.def"
#undef SEACLONE_CELL
};

// Both lists share one table; a lookup checks that the position it finds
// belongs to the list it asked, so "CT_IntCh" is no cell name.
struct NameTable {
  cmcHash hash{1031};
  NameTable() {
    for (std::size_t i = 0; i < kCategoryNames.size(); ++i)
      hash.Insert(kCategoryNames[i], static_cast<int>(i));
    for (std::size_t i = 0; i < kCellNames.size(); ++i)
      hash.Insert(kCellNames[i], static_cast<int>(i));
  }
};

int FindName(std::string_view name) {
  static const NameTable table;
  const auto* node = table.hash.Find(name);
  return node ? node->payload : -1;
}

}  // namespace

std::string_view CategoryName(int category) {
  if (category < 0 || category >= kCategoryNameCount) return {};
  return kCategoryNames[static_cast<std::size_t>(category)];
}

std::string_view CellName(std::uint32_t cell) {
  if (cell >= kCellNameCount) return {};
  return kCellNames[cell];
}

int CategoryFromName(std::string_view name) {
  if (name.empty()) return CT_NoCategory;
  const int pos = FindName(name);
  if (pos < 0 || CategoryName(pos) != name) {
    platform::Fatal("Cannot use the specified category.\n'" + std::string(name) + "'");
  }
  return pos;
}

std::uint32_t CellFromName(std::string_view name) {
  if (name.empty()) return CL_NoCell;
  const int pos = FindName(name);
  if (pos < 0 || CellName(static_cast<std::uint32_t>(pos)) != name) {
    platform::Fatal("Cannot use the specified cell.\n'" + std::string(name) + "'");
  }
  return static_cast<std::uint32_t>(pos);
}

int ValueCategoryOf(int category) {
  switch (category) {
    case CT_Null:
    case CT_PopupMenu:
    case CT_NoCategory: return 0;
    case CT_IntCh:
    case CT_UsaCh:
    case CT_CanCh:
    case CT_SuvCh:
    case CT_WxCh:
    case CT_FreeCh: return category - CT_IntCh + 1;
    default: platform::Fatal("Unknown Cell Category. (" + std::to_string(category) + ")");
  }
}
