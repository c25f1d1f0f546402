// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/editor_frequency.h"

#include <algorithm>
#include <cstdio>

namespace editor {

std::optional<std::uint32_t> SnapToRaster(std::uint32_t f) {
  // The precision the user typed: the largest power of ten up to 100 kHz
  // that divides the entry.
  std::uint32_t p = 1;
  for (std::uint32_t d = 10; d <= 100'000; d *= 10) {
    if (f % d == 0) p = d;
  }
  const std::uint64_t limit = static_cast<std::uint64_t>(f) + p - 1;
  for (std::uint64_t c = f / 100'000 * 100'000; c <= limit; c += 1'250) {
    if (c < f) continue;
    if (c % 5'000 == 0 || c % 6'250 == 0 || c % 7'500 == 0) return static_cast<std::uint32_t>(c);
  }
  return std::nullopt;
}

std::string FrequencyText(std::uint32_t hz) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%u.%05u", hz / 1'000'000, (hz % 1'000'000) / 10);
  return buf;
}

FrequencyResult EditFrequency(bool transmit, Frequency& rx, Frequency& tx, const Input& in,
                              Output& out) {
  FrequencyResult r;
  Frequency& mine = transmit ? tx : rx;
  if (in.inputMode == 1) {
    const std::string kept = Filter(in.text, "0123456789.", 10);
    double mhz = 0;
    if (!kept.empty() && ReadNumber(kept, &mhz)) {
      const double raw = mhz * 1'000'000.0 + 0.5;
      const std::uint32_t f = raw >= kFreqMax   ? kFreqMax
                              : raw <= kFreqMin ? kFreqMin
                                                : static_cast<std::uint32_t>(raw);
      if (const auto snapped = SnapToRaster(f); snapped && *snapped > 0) {
        const bool wasSimplex = rx.set && tx.set && rx.hz == tx.hz;
        mine.hz = *snapped;
        mine.set = true;
        if (!transmit && wasSimplex) tx = rx;
        out.changed = true;
      }
    }
  }
  if (mine.set) mine.hz = std::clamp(mine.hz, kFreqMin, kFreqMax);

  const std::string current = mine.set ? FrequencyText(mine.hz) : std::string();
  if (KeyPresent(in)) {
    const int a = in.action;
    if (a == '.') {
      StartEditSelected(out, current);
      const auto point = current.find('.');
      out.cursor = point == std::string::npos ? static_cast<int>(current.size())
                                              : static_cast<int>(point) + 1;
      out.selection = 0;
      return r;
    }
    if (a == '=' && transmit) {
      StartEditSelected(out, rx.set ? FrequencyText(rx.hz) : std::string());
      out.cursor = static_cast<int>(out.text.size());
      out.selection = 0;
      return r;
    }
    if (IsDigit(a) || a == kActSpace) {
      StartEditWith(out, static_cast<char>(a));
      return r;
    }
    if (IsEnter(a)) {
      StartEditSelected(out, current);
      return r;
    }
  }
  if (transmit && tx.set && rx.set && tx.hz == rx.hz) {
    out.text = "<-";
    r.centred = true;
  } else {
    out.text = current;
  }
  return r;
}

}  // namespace editor
