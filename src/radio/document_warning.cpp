// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/document_warning.h"

#include <memory>
#include <string>

#include "model/capsule.h"
#include "model/cell.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "radio/document_target.h"
#include "text/gtex.h"

std::vector<clsWarningMark> WarningMarks(cmcDocument& document) {
  // The GUI has installed its own target over the same document; a program
  // without a window borrows one for the duration of the check.
  std::unique_ptr<cmcDocumentTarget> borrowed;
  if (!GetCommandTarget()) {
    borrowed = std::make_unique<cmcDocumentTarget>(document);
    SetCommandTarget(&borrowed->Commands());
  }
  std::vector<clsWarningMark> marks;
  std::string line;
  for (int n = 0; gGTex->TryLine("GI_WarningCheckList", n, &line) && line.rfind('#', 0) != 0; ++n) {
    cmcCellObj cell;
    cell.Parse(line, nullptr);
    cmcCellCapsule capsule;
    capsule.cell = &cell;
    Evaluate(capsule, false);
    if (capsule.ErrorMark() || capsule.WarningMark()) {
      marks.push_back({cell.Parameter(), capsule.ErrorMark()});
    }
  }
  if (borrowed) SetCommandTarget(nullptr);
  return marks;
}

cmcDocument::WarningCounts DefaultWarningCheck(cmcDocument& document) {
  cmcDocument::WarningCounts counts;
  for (const clsWarningMark& mark : WarningMarks(document)) {
    ++(mark.error ? counts.errors : counts.warnings);
  }
  return counts;
}
