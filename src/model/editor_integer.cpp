// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/editor_integer.h"

#include <algorithm>

namespace editor {

namespace {

int Clamp(long long v, const IntegerParams& params) {
  return static_cast<int>(std::clamp<long long>(v, params.minimum, params.maximum));
}

std::string Shown(const IntegerParams& params, int v) {
  if (params.fixedText) return *params.fixedText;
  return std::to_string(static_cast<long long>(v) + params.offset);
}

}  // namespace

void EditInteger(const IntegerParams& params, int& v, const Input& in, Output& out) {
  const int before = v;
  if (in.inputMode == 1) {
    const std::string kept = Filter(in.text, "0123456789.-", 9);
    double x = 0;
    if (!kept.empty() && ReadNumber(kept, &x)) {
      long long n = RoundHalfAway(x) - params.offset;
      if (params.step != 1) n = RoundToStep(n, params.step);
      v = Clamp(n, params);
      out.changed = true;
    }
    if (params.clamp) v = Clamp(v, params);
  }

  if (KeyPresent(in)) {
    const int a = in.action;
    if (a == kActSpace || a == kActBackspace) {
      long long n = static_cast<long long>(v) + (a == kActSpace ? params.step : -params.step);
      if (n < params.minimum) n = params.maximum;
      if (n > params.maximum) n = params.minimum;
      if (params.step > 1) n = n / params.step * params.step;
      v = static_cast<int>(n);
      out.changed = true;
    } else if (IsDigit(a) || (a == '-' && params.minimum < 0)) {
      StartEditWith(out, static_cast<char>(a));
    } else if (IsEnter(a)) {
      StartEditSelected(out, Shown(params, v));
    }
    if (params.clamp) v = Clamp(v, params);
  }

  if (v != before) out.changed = true;
  if (out.result != EvalResult::kOpenEditor) out.text = Shown(params, v);
}

}  // namespace editor
