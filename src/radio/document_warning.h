// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The warning check: every cell of the check list is evaluated, and those
// that set the error or warning mark mark the page named by their
// parameter, as the tree marks it. A clone write is refused while any check
// cell reports an error.

#include <string>
#include <vector>

#include "radio/document.h"

struct clsWarningMark {
  std::string sheet;   // the check cell's parameter: the key of the page it marks
  bool error = false;  // else a warning
  bool operator==(const clsWarningMark&) const = default;
};

// One entry per check cell that set a mark, in the order of the list.
std::vector<clsWarningMark> WarningMarks(cmcDocument& document);

cmcDocument::WarningCounts DefaultWarningCheck(cmcDocument& document);
