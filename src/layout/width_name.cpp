// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/width_name.h"

#include "text/gtex.h"

namespace layout {

std::string WidthSheetName(std::string_view pageReference) {
  std::string_view name = pageReference.substr(0, pageReference.find(','));
  const std::size_t open = name.find('[');
  if (open != std::string_view::npos) {
    const std::size_t close = name.find(']', open + 1);
    if (close != std::string_view::npos) name = name.substr(close + 1);
  }
  return std::string(name);
}

std::vector<WidthListEntry> ColumnWidthList(cmcGTex& table) {
  std::vector<WidthListEntry> list;
  std::string line;
  for (int n = 0; table.TryLine("GI_CellWidthRegList", n, &line); ++n) {
    const std::size_t colon = line.find(':');
    if (line.empty() || line[0] == '#' || colon == std::string::npos) break;
    list.push_back({line.substr(0, colon), line.substr(colon + 1)});
  }
  return list;
}

std::optional<std::string> ColumnWidthName(cmcGTex& table, std::string_view pageReference) {
  const std::string sheet = WidthSheetName(pageReference);
  for (WidthListEntry& entry : ColumnWidthList(table)) {
    if (entry.sheet == sheet) return std::move(entry.name);
  }
  return std::nullopt;
}

}  // namespace layout
