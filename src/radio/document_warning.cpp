#include "radio/document_warning.h"

#include <memory>
#include <string>

#include "model/capsule.h"
#include "model/cell.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "radio/document_target.h"
#include "text/gtex.h"

cmcDocument::WarningCounts DefaultWarningCheck(cmcDocument& document) {
  // The GUI has installed its own target over the same document; a program
  // without a window borrows one for the duration of the check.
  std::unique_ptr<cmcDocumentTarget> borrowed;
  if (!GetCommandTarget()) {
    borrowed = std::make_unique<cmcDocumentTarget>(document);
    SetCommandTarget(&borrowed->Commands());
  }
  cmcDocument::WarningCounts counts;
  std::string line;
  for (int n = 0; gGTex->TryLine("GI_WarningCheckList", n, &line) && line.rfind('#', 0) != 0; ++n) {
    cmcCellObj cell;
    cell.Parse(line, nullptr);
    cmcCellCapsule capsule;
    capsule.cell = &cell;
    indActiveCell context;
    Evaluate(&context, capsule, false);
    if (capsule.ErrorMark()) {
      ++counts.errors;
    } else if (capsule.WarningMark()) {
      ++counts.warnings;
    }
  }
  if (borrowed) SetCommandTarget(nullptr);
  return counts;
}
