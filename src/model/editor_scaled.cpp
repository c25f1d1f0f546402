// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/editor_scaled.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace editor {

namespace {

// "off", "Off", "o f" and even "0ff" typed as "Of": the digits and the
// letters o and f, in order, must begin with an o followed by an f.
bool TypedOff(const std::string& text) {
  std::string seq;
  for (char c : text) {
    const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((l >= '0' && l <= '9') || l == 'o' || l == 'f') seq.push_back(l);
  }
  return seq.size() >= 2 && seq[0] == 'o' && seq[1] == 'f';
}

}  // namespace

std::string ScaledText(int v, int scale, int trailing) {
  if (scale < 1) scale = 1;
  const long long whole = v / scale;
  long long frac = (static_cast<long long>(v) * 1000 / scale) % 1000;
  if (frac < 0) frac = -frac;
  char buf[48];
  std::snprintf(buf, sizeof buf, "%s%lld.%03lld", (v < 0 && whole == 0) ? "-" : "", whole, frac);
  std::string s = buf;
  for (int i = 0; i < trailing && !s.empty(); ++i) {
    const char last = s.back();
    if (last != '0' && last != '.') break;
    s.pop_back();
    if (last == '.') break;
  }
  return s;
}

void EditScaled(const ScaledParams& params, int& v, const Input& in, Output& out,
                const std::string& offText) {
  const int before = v;
  const int scale = std::max(params.scale, 1);
  if (in.inputMode == 1) {
    if (TypedOff(in.text)) {
      // Zero is only a legal value where it means off; elsewhere "off" asks
      // for the smallest value the setting has.
      v = params.zeroMeansOff ? 0 : std::clamp(0, params.minimum, params.maximum);
    } else {
      const std::string kept = Filter(in.text, "0123456789.", 9);
      double x = 0;
      if (!kept.empty() && ReadNumber(kept, &x)) {
        const long long n = static_cast<long long>((x + 0.0005) * scale);
        v = static_cast<int>(std::clamp<long long>(n, params.minimum, params.maximum));
        out.changed = true;
      }
    }
  }

  bool editing = false;
  if (KeyPresent(in)) {
    const int a = in.action;
    if (a == kActSpace || a == kActBackspace) {
      // Zero, where it means off, is no stop on the way round: stepping
      // wraps between minimum and maximum, and "off" is typed.
      long long n = static_cast<long long>(v) + (a == kActSpace ? 1 : -1);
      if (n < params.minimum) n = params.maximum;
      if (n > params.maximum) n = params.minimum;
      v = static_cast<int>(n);
      out.changed = true;
    } else if (IsEnter(a)) {
      StartEditSelected(out, ScaledText(v, scale, params.trailing));
      editing = true;
    } else if (IsDigit(a) || a == '.' || a == 'O' || a == 'o') {
      StartEditWith(out, static_cast<char>(a));
      editing = true;
    }
  }

  if (v != before) out.changed = true;
  if (editing) return;
  const bool off = params.zeroMeansOff && v == 0 && in.action == 0;
  out.text = off ? offText : ScaledText(v, scale, params.trailing);
  if (!(params.noSuffixWhenOff && off)) out.text += params.suffix;
}

}  // namespace editor
