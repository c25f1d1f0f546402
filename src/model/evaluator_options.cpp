// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/cell_names.h"
#include "model/evaluator_internal.h"
#include "model/fcache.h"

namespace evaluator {

std::string CachedList::TextFor(int value) { return cache_.TextForValue(name_, Flex0, value); }

int CachedList::Step(int value, int d) {
  cache_.List(name_, Flex0);  // a step needs the list built
  int next = value;
  cache_.Step(name_, Flex0, value, d, &next);
  return next;
}

editor::OptionList& CachedLists::List(const std::string& name) {
  list_.emplace(cache_, name);
  return *list_;
}

}  // namespace evaluator
