// SPDX-License-Identifier: GPL-3.0-or-later
// Cell definitions as the overlay writes them: the input's first lines are
// rows of cells, parsed cell by cell with counters attached the way sheets
// parse them; the lines from the first "#" on are an overlay that holds the
// cell models the rows may name. Each row must be used up, cell by cell,
// and copies of a parsed cell must be equal in every field.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "model/cell.h"
#include "platform/fatal.h"
#include "text/gtex.h"

namespace {

void SameCell(const cmcCellObj& a, const cmcCellObj& b) {
  const bool same =
      a.Key() == b.Key() && a.HasParameter() == b.HasParameter() &&
      (!a.HasParameter() || a.Parameter() == b.Parameter()) && a.HasCaption() == b.HasCaption() &&
      (!a.HasCaption() || a.Caption() == b.Caption()) && a.Color() == b.Color() &&
      a.LayoutByte() == b.LayoutByte() && a.StateByte() == b.StateByte() &&
      a.ExtraFlags() == b.ExtraFlags() && a.ImageIndex() == b.ImageIndex() &&
      (a.Font() == nullptr) == (b.Font() == nullptr) && (!a.Font() || *a.Font() == *b.Font()) &&
      a.PopupMenu() == b.PopupMenu() && a.Parent() == b.Parent();
  if (!same) fuzz::Finding("a copied cell differs from its original");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  const std::string text(reinterpret_cast<const char*>(data), size);
  size_t split = text.starts_with('#') ? 0 : text.find("\n#");
  if (split == std::string::npos) split = text.size();
  const std::string rows = text.substr(0, split);
  const std::string overlay =
      text.substr(split < text.size() && text[split] == '\n' ? split + 1 : split) +
      "\n#End_Of_Ovl\n";

  cmcGTex table;
  table.Bind(fuzz::WriteTempFile("C.OVL", reinterpret_cast<const uint8_t*>(overlay.data()),
                                 overlay.size()));
  gGTex = &table;

  std::int32_t counters[cmcCellObj::kCounterCount] = {0, 1, 2,  3,         4,
                                                      5, 6, -1, INT32_MIN, INT32_MAX};
  cmcCellObj basic;
  try {
    basic.Parse("{S(Color=clBtnFace)(Font=,Arial,clBlack,10,,fsBold,)}", nullptr);
  } catch (const platform::FatalStop&) {
    fuzz::Finding("the basic cell does not parse");
  }

  size_t pos = 0;
  int lines = 0;
  while (pos <= rows.size() && lines++ < 32) {
    size_t end = rows.find('\n', pos);
    if (end == std::string::npos) end = rows.size();
    std::string rest = rows.substr(pos, end - pos);
    pos = end + 1;
    for (bool withCounters : {true, false}) {
      std::vector<cmcCellObj> cells;
      std::string row = rest;
      try {
        while (!row.empty()) {
          const size_t before = row.size();
          cells.emplace_back();
          row = cells.back().Parse(row, &basic, withCounters ? counters : nullptr);
          if (row.size() >= before) fuzz::Finding("parsing a cell used up nothing of its row");
        }
      } catch (const platform::FatalStop&) {
        continue;
      }
      for (const cmcCellObj& c : cells) {
        cmcCellObj copy(c);
        SameCell(c, copy);
        cmcCellObj assigned;
        assigned = copy;
        SameCell(c, assigned);
        cmcCellObj moved(std::move(copy));
        SameCell(c, moved);
        (void)c.PopupMenu();
      }
    }
  }
  gGTex = nullptr;
  return 0;
}
