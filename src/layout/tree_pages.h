// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages the main tree (GI_Tree_Main) opens, in tree order, as the
// program's tree shows them for a document: a channel list only while its
// plan is switched on (the SUV list only on the SUV models), the ATIS page
// only on the models that have ATIS, the dealer pages only in maker mode.
// Print-all prints these pages; the command-line tool lists them.

#include <string>
#include <vector>

class cmcCellObj;
class cmcEeprom;
class cmcGTex;

namespace layout {

struct TreePage {
  std::string reference;  // the node's parameter, as the tree opens the page
  std::string sheetKey;   // the sheet that reference names
  std::string caption;    // the node's text
  int depth = 0;          // 0 for a top-level node
};

// What decides which nodes the tree shows.
struct TreeState {
  // The working image whose plan switches count; none switches no plan on.
  const cmcEeprom* image = nullptr;
  int modelType = 0;
  bool maker = false;
};

// Whether a node with this cell stays in the tree in state (its flags name
// the plan, model group or maker mode it belongs to).
bool NodeShown(const cmcCellObj& cell, const TreeState& state);

// Every node of the tree's body that opens a page, shown or not.
std::vector<TreePage> TreeBodyPages(cmcGTex& table);

// The nodes the tree shows in state. A removed node takes its sub-nodes
// with it. The first node's text ends in the model's name, as in the tree.
std::vector<TreePage> ShownTreePages(cmcGTex& table, const TreeState& state);

}  // namespace layout
