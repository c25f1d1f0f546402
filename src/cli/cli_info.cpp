// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_info.h"

#include "model/cell.h"
#include "model/cell_names.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "radio/document.h"
#include "radio/document_target.h"
#include "text/gtex.h"

namespace cli {
namespace {

std::string CellValue(std::uint32_t id) {
  cmcCellObj cell;
  cell.SetCell(id);
  std::string text = CellText(cell, 0);
  // A cell may show several lines; a line of output holds one.
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::vector<std::string> InformationLines(cmcDocument& document) {
  cmcDocumentTarget target(document);
  CommandTarget* previous = GetCommandTarget();
  SetCommandTarget(&target.Commands());
  struct Row {
    std::uint32_t cell;
    int caption;
    bool onlyWhenSet;
  };
  const Row rows[] = {
      {CL_CloneInfo_Model, 0, false},   {CL_CloneInfo_Revision, 1, false},
      {CL_CloneInfo_Comment, 2, false}, {CL_CloneInfo_BattType, 3, false},
      {CL_CloneInfo_OverDCV, 4, true},  {CL_CloneInfo_OverVolt, 4, true},
      {CL_CloneInfo_OverTemp, 4, true},
  };
  std::vector<std::string> lines;
  for (const Row& row : rows) {
    const std::string value = CellValue(row.cell);
    if (row.onlyWhenSet && value.empty()) continue;
    lines.push_back(gGTex->Line("GI_Cli_CloneInfo_Captions", row.caption) + ": " + value);
  }
  SetCommandTarget(previous);
  return lines;
}

}  // namespace cli
