// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/group_scan.h"

namespace layout {

void ForEachGroup(std::string_view line, const std::function<void(std::string_view)>& item) {
  std::size_t from = 0;
  for (;;) {
    const std::size_t open = line.find('(', from);
    if (open == std::string_view::npos) return;
    const std::size_t close = line.find(')', open + 1);
    if (close == std::string_view::npos) return;
    item(line.substr(open + 1, close - open - 1));
    from = close + 1;
  }
}

}  // namespace layout
