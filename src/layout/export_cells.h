// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages for a typed table file: each cell's shown text with what kind
// of value it takes. A spreadsheet that knows a cell holds a number keeps
// it a number, one that knows a cell holds text keeps its leading zeros
// ("06", an identity), and a choice cell can offer just the values the
// radio takes. Captions (row 0, column 0) are trimmed as in the CSV.

#include <string>
#include <vector>

#include "layout/tree_pages.h"

class cmcDocument;

namespace layout {

enum class ExportKind {
  kCaption,  // a row or column caption
  kText,     // any other value, typed as text
  kNumber,   // a value typed into a number editor whose text is a plain number
  kChoice,   // a value picked from a list: choices holds its allowed values
};

struct ExportCell {
  std::string text;
  ExportKind kind = ExportKind::kText;
  std::vector<std::string> choices;
};

struct ExportPage {
  std::string key;
  std::string title;
  std::vector<std::vector<ExportCell>> rows;
};

// The pages of document, its cells evaluating against a target of its own.
// The working image is as it was on return.
std::vector<ExportPage> ExportCells(cmcDocument& document, const std::vector<TreePage>& pages,
                                    bool usableView);

// The shown text of a number cell as a number: false when it is anything
// but an optional sign, digits and at most one decimal point.
bool PlainNumber(const std::string& text, double* value = nullptr);

}  // namespace layout
