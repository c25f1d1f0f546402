// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_extent.h"

#include <algorithm>

platform::Size TextExtent(platform::Canvas& canvas, std::string_view text) {
  platform::Size total;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    const platform::Size one = canvas.TextExtent(line);
    total.width = std::max(total.width, one.width);
    total.height += one.height;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return total;
}
