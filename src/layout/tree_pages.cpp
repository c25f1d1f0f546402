// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/tree_pages.h"

#include <array>
#include <cstdint>

#include "layout/width_name.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "text/gtex.h"

namespace layout {
namespace {

struct Node {
  TreePage page;
  cmcCellObj cell;
};

// The nodes of the body, page or not. The characters before a line's first
// "+" count as its depth.
std::vector<Node> BodyNodes(cmcGTex& table) {
  std::array<std::int32_t, cmcCellObj::kCounterCount> counters{};
  cmcCellObj basic;
  basic.Parse(table.Line("GI_Tree_Main_BasicCell", 0), nullptr, counters.data());
  std::vector<Node> nodes;
  std::string line;
  for (int n = 0; table.TryLine("GI_Tree_Main_Body", n, &line) && line.rfind('#', 0) != 0; ++n) {
    const std::size_t plus = line.find('+');
    Node node;
    node.page.depth = static_cast<int>(plus == std::string::npos ? line.size() : plus);
    if (plus != std::string::npos) node.cell.Parse(line.substr(plus + 1), &basic, counters.data());
    if (node.cell.Cell() == CallSheet && node.cell.HasParameter()) {
      node.page.reference = node.cell.Parameter();
      node.page.sheetKey = WidthSheetName(node.page.reference);
    }
    node.page.caption = node.cell.HasCaption() ? node.cell.Caption() : std::string();
    nodes.push_back(std::move(node));
  }
  return nodes;
}

bool PlanOn(const TreeState& state, unsigned plan) {
  return state.image && memmap::PlanOn(*state.image, plan);
}

}  // namespace

// The flags the channel-list, ATIS and dealer nodes carry, and whether
// their nodes stay in state.
bool NodeShown(const cmcCellObj& cell, const TreeState& state) {
  const struct {
    int flag;
    bool stays;
  } rules[] = {
      {3, memmap::InGroupS(state.modelType)},
      {6, PlanOn(state, memmap::kCatInt)},
      {1, PlanOn(state, memmap::kCatUsa)},
      {2, PlanOn(state, memmap::kCatCan)},
      {4, PlanOn(state, memmap::kCatWx)},
      {5, !memmap::InGroupA(state.modelType)},
      {0, state.maker},
  };
  for (const auto& rule : rules) {
    if (cell.Flag(rule.flag) && !rule.stays) return false;
  }
  return true;
}

std::vector<TreePage> TreeBodyPages(cmcGTex& table) {
  std::vector<TreePage> pages;
  for (Node& node : BodyNodes(table)) {
    if (!node.page.sheetKey.empty()) pages.push_back(std::move(node.page));
  }
  return pages;
}

std::vector<TreePage> ShownTreePages(cmcGTex& table, const TreeState& state) {
  std::vector<Node> nodes = BodyNodes(table);
  if (!nodes.empty()) {
    std::string model;
    if (table.TryLine("GI_AppInd_Model", state.modelType, &model))
      nodes.front().page.caption += model;
  }
  std::vector<TreePage> pages;
  int removedDepth = -1;  // the depth of the removed node whose sub-nodes are being skipped
  for (Node& node : nodes) {
    if (removedDepth >= 0 && node.page.depth > removedDepth) continue;
    removedDepth = -1;
    if (!NodeShown(node.cell, state)) {
      removedDepth = node.page.depth;
      continue;
    }
    if (!node.page.sheetKey.empty()) pages.push_back(std::move(node.page));
  }
  return pages;
}

}  // namespace layout
