// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text each cell of a laid-out page shows: a static cell its caption, a
// data cell what the cell evaluator says with action 0. One capsule serves
// every call, so listing or drawing a page allocates none per cell. The
// evaluator needs its CommandTarget installed, as for any evaluation.

#include <string>
#include <vector>

#include "model/capsule.h"
#include "model/editor_common.h"

namespace layout {

class PageLayout;

struct ShownCell {
  std::string text;
  bool warning = false;
  bool error = false;
  // 0 automatic, 1 left edge, 3 after the text, any other value right edge.
  int markPosition = 0;
};

class PageText {
 public:
  using EvaluateFunction = EvalResult (*)(cmcCellCapsule& capsule, bool notify);

  // The evaluator defaults to the cell evaluator.
  explicit PageText(PageLayout& page, EvaluateFunction evaluate = nullptr);
  PageText(const PageText&) = delete;
  PageText& operator=(const PageText&) = delete;

  // The capsule of the cell that opened the page (a choice list's), handed
  // to every evaluation as the related capsule; none by default.
  void SetOwnerCapsule(cmcCellCapsule* owner) { owner_ = owner; }

  // highlighted: the slot is drawn highlighted (the cursor cell or a
  // selection), which some cells show differently. A drawing caller passes
  // its canvas (where the evaluator may set the text colour) and the text
  // rectangle; by default the page context's canvas and no rectangle.
  ShownCell Show(int column, int row, bool highlighted = false, platform::Canvas* canvas = nullptr,
                 platform::Rect* rect = nullptr);

  // Every row's shown texts, left to right.
  std::vector<std::vector<std::string>> Rows();

 private:
  PageLayout& page_;
  EvaluateFunction evaluate_;
  cmcCellCapsule* owner_ = nullptr;
  cmcCellCapsule draw_;
};

}  // namespace layout
