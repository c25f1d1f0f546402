// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tree, menu and tool bar builders share: reading a "_Body" entry,
// walking its nested lines, and running or refreshing one command cell
// through the evaluator.
//
// A nested line counts the characters before its first "+" as its depth and
// carries the cell definition after that "+":
//
//   +&File                         depth 0
//   -+{(%CL_Menu_File_Open:Ctrl+O)}&Open...   depth 1, under "&File"
//
// A line without "+" is all depth and no definition.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class cmcGTex;
class cmcCellObj;
struct cmcCellCapsule;

namespace builder {

// Lines 0, 1, ... of the entry up to the first line beginning with "#" (or
// the end of the file). A missing key is fatal: the definitions are part of
// the installation.
std::vector<std::string> BodyLines(cmcGTex& table, const std::string& key);

struct NestedLine {
  std::size_t depth = 0;
  std::string_view definition;
};
NestedLine SplitNested(std::string_view line);

// Adds the nested lines to a tree of nodes. add(parent, definition) creates
// one node under parent and returns it; Node is a handle (a pointer) whose
// default value stands for "no parent", the top level.
template <class Node>
using AddNodeFn = std::function<Node(Node parent, std::string_view definition)>;

// Reads one level starting at lines[first] under parent and returns how many
// lines it used. The first line fixes the level's depth; a deeper line
// opens a level under the node added last, a shallower one ends the level.
template <class Node>
std::size_t AddLevel(const std::vector<std::string>& lines, std::size_t first, Node parent,
                     const AddNodeFn<Node>& add) {
  std::size_t i = first;
  std::size_t depth = 0;
  Node last{};
  while (i < lines.size()) {
    const NestedLine line = SplitNested(lines[i]);
    if (i == first) {
      depth = line.depth;
    } else if (line.depth > depth) {
      i += AddLevel(lines, i, last, add);
      continue;
    } else if (line.depth < depth) {
      break;
    }
    last = add(parent, line.definition);
    ++i;
  }
  return i - first;
}

// The whole body from line 0 at the top level. Lines shallower than the
// first one end it.
template <class Node>
void AddNested(const std::vector<std::string>& lines, const AddNodeFn<Node>& add) {
  if (!lines.empty()) AddLevel<Node>(lines, 0, Node{}, add);
}

// Runs a command cell: action 13, notify off, the owner component and, when
// given, the context cell as the owner capsule's cell.
void ExecuteCell(void* owner, cmcCellObj& cell, cmcCellObj* contextCell = nullptr);
// Asks the evaluator for a command cell's state (action 0, notify off); the
// answer is in the cell's flags, caption and image index.
void RefreshCell(void* owner, cmcCellObj& cell, cmcCellObj* contextCell = nullptr);

}  // namespace builder
