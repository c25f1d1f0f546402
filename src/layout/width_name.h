// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The name under which a page keeps its column widths. The page reference is
// cut at its first ","; a part in square brackets is dropped with everything
// before it ("[USA]GI_Sheet_UsaCh" names "GI_Sheet_UsaCh"). The
// "GI_CellWidthRegList" entry maps such sheet names to width names, one
// "sheet:name" per line; the list ends at a line that begins with "#", is
// empty or has no ":".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cmcGTex;

namespace layout {

std::string WidthSheetName(std::string_view pageReference);

struct WidthListEntry {
  std::string sheet;
  std::string name;
};

// Every line of "GI_CellWidthRegList" up to the end of the list.
std::vector<WidthListEntry> ColumnWidthList(cmcGTex& table);

// None when the page keeps no widths.
std::optional<std::string> ColumnWidthName(cmcGTex& table, std::string_view pageReference);

}  // namespace layout
