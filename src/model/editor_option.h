// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Option list editor: the value is one of the items of a list of
// (value, text) pairs from the overlay; space and backspace walk the list,
// Enter asks for a chooser.

#include <string>

#include "model/editor_common.h"

namespace editor {

class OptionList {
 public:
  virtual ~OptionList() = default;
  // The item's text, or "error" for a value that is not listed.
  virtual std::string TextFor(int value) = 0;
  // The value d (+1 or -1) items on in list order, wrapping; the first
  // item for a value that is not listed.
  virtual int Step(int value, int d) = 0;
};

// Returns with out.result == 1 when the caller must open a chooser over the
// list; the pick comes back later as in.inputMode == 2 with in.choice.
void EditOption(OptionList& list, int& v, const Input& in, Output& out);

}  // namespace editor
