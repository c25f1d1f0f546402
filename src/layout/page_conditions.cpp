// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/page_conditions.h"

#include <algorithm>
#include <array>

#include "layout/group_scan.h"
#include "model/datch.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "text/syntax.h"

namespace layout {
namespace {

bool PlanOn(const PageContext& context, unsigned plan) {
  return context.image && memmap::PlanOn(*context.image, plan);
}

struct Keyword {
  const char* text;
  ConditionGroup group;
  bool (*holds)(const PageContext&);
};

// Checked in this order; keywords match as prefixes.
constexpr std::array kKeywords = {
    Keyword{"OnlyDCV", ConditionGroup::kRadio,
            [](const PageContext& c) { return (c.infoStatus & 0x08) != 0; }},
    Keyword{"OnlyVolt", ConditionGroup::kRadio,
            [](const PageContext& c) { return (c.infoStatus & 0x10) != 0; }},
    Keyword{"OnlyTemp", ConditionGroup::kRadio,
            [](const PageContext& c) { return (c.infoStatus & 0x06) != 0; }},
    Keyword{"OnlyIntCh", ConditionGroup::kRadio,
            [](const PageContext& c) { return PlanOn(c, memmap::kCatInt); }},
    Keyword{"OnlyUsaCh", ConditionGroup::kRadio,
            [](const PageContext& c) { return PlanOn(c, memmap::kCatUsa); }},
    Keyword{"OnlyCanCh", ConditionGroup::kRadio,
            [](const PageContext& c) { return PlanOn(c, memmap::kCatCan); }},
    Keyword{"OnlyWxCh", ConditionGroup::kRadio,
            [](const PageContext& c) { return PlanOn(c, memmap::kCatWx); }},
    Keyword{"Only_UsaAusModel", ConditionGroup::kModel,
            [](const PageContext& c) { return memmap::InGroupA(c.modelType); }},
    Keyword{"Only_UsaModel", ConditionGroup::kModel,
            [](const PageContext& c) { return c.modelType == 0; }},
    Keyword{"Only_EurModel", ConditionGroup::kModel,
            [](const PageContext& c) { return !memmap::InGroupA(c.modelType); }},
    Keyword{"Only_SuvModel", ConditionGroup::kModel,
            [](const PageContext& c) { return memmap::InGroupS(c.modelType); }},
    Keyword{"Except_SuvModel", ConditionGroup::kModel,
            [](const PageContext& c) { return !memmap::InGroupS(c.modelType); }},
};

}  // namespace

std::optional<int> CountAfter(std::string_view directive, std::string_view keyword) {
  if (directive.size() <= keyword.size() || !IsBlank(directive[keyword.size()]))
    return std::nullopt;
  return ReadNumber(directive.substr(keyword.size()));
}

std::optional<Condition> ReadCondition(std::string_view directive, ConditionGroup group,
                                       const PageContext& context) {
  for (const Keyword& k : kKeywords) {
    if (k.group != group || !StartsWith(directive, k.text)) continue;
    const int count = CountAfter(directive, k.text).value_or(0);
    return Condition{k.holds(context), std::max(count, 0)};
  }
  return std::nullopt;
}

std::vector<bool> ListedChannels(const cmcEeprom* image, int valueCategory) {
  std::vector<bool> listed(memmap::kPlanEntries, true);
  if (!image || !memmap::IsPlanCategory(valueCategory)) return listed;
  datCh view(const_cast<cmcEeprom*>(image));
  for (int i = 0; i < memmap::kPlanEntries; ++i) {
    view.Load(static_cast<unsigned>(valueCategory), i);
    listed[static_cast<std::size_t>(i)] =
        !(view.attr & datCh::kAtInhibit) || (view.acFlags & (datCh::kAcP | datCh::kAcC));
  }
  return listed;
}

int NearestListedChannel(const std::vector<bool>& listed, int from) {
  const int count = static_cast<int>(listed.size());
  for (int i = std::max(from, 0); i < count; ++i)
    if (listed[static_cast<std::size_t>(i)]) return i;
  for (int i = std::min(from, count) - 1; i > 0; --i)
    if (listed[static_cast<std::size_t>(i)]) return i;
  return 0;
}

}  // namespace layout
