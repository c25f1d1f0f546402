// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/editor_common.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace editor {

std::string Filter(const std::string& text, const char* allowed, std::size_t max) {
  std::string kept;
  for (char c : text) {
    if (c != '\0' && std::strchr(allowed, c) != nullptr) kept.push_back(c);
  }
  if (kept.size() > max) kept.resize(max);
  return kept;
}

bool ReadNumber(const std::string& text, double* value) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  bool digit = false;
  for (const char* p = begin; p < end; ++p) digit = digit || (*p >= '0' && *p <= '9');
  // strtod also reads "inf", "nan" and hexadecimal; none of them pass the filters
  // in front of this, but a number must still show a digit to count.
  if (!digit || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

long long RoundHalfAway(double x) {
  return static_cast<long long>(x < 0 ? std::ceil(x - 0.5) : std::floor(x + 0.5));
}

long long RoundToStep(long long v, long long step) {
  if (step <= 1) return v;
  const long long q = v / step;
  const long long r = v % step;  // same sign as v
  if (2 * (r < 0 ? -r : r) >= step) return (q + (v < 0 ? -1 : 1)) * step;
  return q * step;
}

}  // namespace editor
