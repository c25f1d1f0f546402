// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/builder_body.h"

#include "model/capsule.h"
#include "model/cell.h"
#include "model/editor_common.h"
#include "model/evaluator.h"
#include "text/gtex.h"

namespace builder {

std::vector<std::string> BodyLines(cmcGTex& table, const std::string& key) {
  std::vector<std::string> lines;
  std::string line = table.Line(key, 0);
  for (int n = 1; line.empty() || line[0] != '#'; ++n) {
    lines.push_back(std::move(line));
    if (!table.TryLine(key, n, &line)) break;
  }
  return lines;
}

NestedLine SplitNested(std::string_view line) {
  const std::size_t plus = line.find('+');
  if (plus == std::string_view::npos) return {line.size(), {}};
  return {plus, line.substr(plus + 1)};
}

namespace {

void Run(void* owner, cmcCellObj& cell, cmcCellObj* contextCell, int action) {
  cmcCellCapsule ownerCapsule;
  ownerCapsule.cell = contextCell;
  cmcCellCapsule capsule;
  capsule.owner = owner;
  capsule.cell = &cell;
  capsule.action = action;
  if (contextCell) capsule.related = &ownerCapsule;
  Evaluate(capsule, false);
}

}  // namespace

void ExecuteCell(void* owner, cmcCellObj& cell, cmcCellObj* contextCell) {
  Run(owner, cell, contextCell, editor::kActEnter);
}

void RefreshCell(void* owner, cmcCellObj& cell, cmcCellObj* contextCell) {
  Run(owner, cell, contextCell, 0);
}

}  // namespace builder
