// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Style and directive lines carry their items in parentheses:
//   :(OnlyUsaCh 3)(SelectOFF)
// A "(" opens a group and the next ")" closes it; groups do not nest, an
// unclosed group is dropped and text outside groups is ignored.

#include <functional>
#include <string_view>

namespace layout {

void ForEachGroup(std::string_view line, const std::function<void(std::string_view)>& item);

// True when text begins with keyword.
constexpr bool StartsWith(std::string_view text, std::string_view keyword) {
  return text.substr(0, keyword.size()) == keyword;
}

}  // namespace layout
