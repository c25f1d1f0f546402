#include "model/editor_integer.h"

#include <algorithm>

namespace editor {

namespace {

int Clamp(long long v, const IntegerSpec& spec) {
  return static_cast<int>(std::clamp<long long>(v, spec.minimum, spec.maximum));
}

std::string Shown(const IntegerSpec& spec, int v) {
  if (spec.fixedText) return *spec.fixedText;
  return std::to_string(static_cast<long long>(v) + spec.offset);
}

}  // namespace

void EditInteger(const IntegerSpec& spec, int& v, const Input& in, Output& out) {
  const int before = v;
  if (in.inputMode == 1) {
    const std::string kept = Filter(in.text, "0123456789.-", 9);
    double x = 0;
    if (!kept.empty() && ReadNumber(kept, &x)) {
      long long n = RoundHalfAway(x) - spec.offset;
      if (spec.step != 1) n = RoundToStep(n, spec.step);
      v = Clamp(n, spec);
      out.changed = true;
    }
    if (spec.clamp) v = Clamp(v, spec);
  }

  if (KeyPresent(in)) {
    const int a = in.action;
    if (a == kActSpace || a == kActBackspace) {
      long long n = static_cast<long long>(v) + (a == kActSpace ? spec.step : -spec.step);
      if (n < spec.minimum) n = spec.maximum;
      if (n > spec.maximum) n = spec.minimum;
      if (spec.step > 1) n = n / spec.step * spec.step;
      v = static_cast<int>(n);
      out.changed = true;
    } else if (IsDigit(a) || (a == '-' && spec.minimum < 0)) {
      StartEditWith(out, static_cast<char>(a));
    } else if (IsEnter(a)) {
      StartEditSelected(out, Shown(spec, v));
    }
    if (spec.clamp) v = Clamp(v, spec);
  }

  if (v != before) out.changed = true;
  if (out.result != 2) out.text = Shown(spec, v);
}

}  // namespace editor
