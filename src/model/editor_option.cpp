// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/editor_option.h"

namespace editor {

void EditOption(OptionList& list, int& v, const Input& in, Output& out) {
  const int before = v;
  if (in.inputMode == 2) v = in.choice;
  // The list is read before a step so that a list never shown is built.
  out.text = list.TextFor(v);
  if (KeyPresent(in)) {
    if (in.action == kActSpace)
      v = list.Step(v, +1);
    else if (in.action == kActBackspace)
      v = list.Step(v, -1);
    else if (IsEnter(in.action))
      out.result = EvalResult::kChooserOpened;
  }
  if (v != before) {
    out.changed = true;
    out.text = list.TextFor(v);
  }
}

}  // namespace editor
