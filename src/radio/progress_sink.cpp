// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/progress_sink.h"

#include <algorithm>

namespace progress {

int FilledCells(long long dataBytes, long long totalBytes) {
  if (totalBytes <= 0 || dataBytes <= 0) return 0;
  return static_cast<int>(std::min<long long>(kCells, dataBytes * 33 / totalBytes));
}

}  // namespace progress
