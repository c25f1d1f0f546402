// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Integer editor: a whole number between a minimum and a maximum, shown with
// an offset (so a stored 0 can read as 1) and moved in steps.

#include <optional>
#include <string>

#include "model/editor_common.h"

namespace editor {

struct IntegerParams {
  int minimum = 0;
  int maximum = 0;
  int offset = 0;  // shown = value + offset
  int step = 1;
  std::optional<std::string> fixedText;  // shown instead of the number
  bool clamp = false;                    // also pull a stored value into range
};

// Applies in to v and fills out. v is changed only when out.changed is set.
void EditInteger(const IntegerParams& params, int& v, const Input& in, Output& out);

}  // namespace editor
