// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The model- and radio-dependent lines of the channel pages and the
// information page: a directive such as "(OnlyUsaCh 3)" keeps the next three
// lines only while the USA plan is switched on. Also the listed-channel test
// behind the usable-channels view.

#include <optional>
#include <string_view>
#include <vector>

#include "layout/page_context.h"

class cmcEeprom;

namespace layout {

enum class ConditionGroup {
  kRadio,  // checked before the channel loop directive
  kModel,  // checked after it
};

struct Condition {
  bool holds = true;
  // The lines that a failed condition skips; 0 when the directive has no
  // count.
  int count = 0;
};

// The condition a directive names, when it names one of the group.
std::optional<Condition> ReadCondition(std::string_view directive, ConditionGroup group,
                                       const PageContext& context);

// A plan channel is listed when it is not inhibited, or when it is the plan's
// P or C channel. Indexed by channel index 0..417; a category that is no
// plan, or no image, lists every index.
std::vector<bool> ListedChannels(const cmcEeprom* image, int valueCategory);

// Where the cursor goes when the list it stood in changed: the first listed
// index at or after from, else the nearest listed one before it, else 0.
int NearestListedChannel(const std::vector<bool>& listed, int from);

// The count after a keyword: a blank, then a decimal number. None when the
// keyword is not followed by a blank.
std::optional<int> CountAfter(std::string_view directive, std::string_view keyword);

}  // namespace layout
