// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fcache.h"

#include <algorithm>

#include "model/cell.h"
#include "platform/fatal.h"
#include "text/gtex.h"

cmcFCache::cmcFCache(cmcGTex* table) : table_(table) {}
cmcFCache::~cmcFCache() = default;

std::string cmcFCache::CacheKey(std::string_view list, std::uint32_t cell) {
  return std::string(list) + "#" + std::to_string(static_cast<int>(cell));
}

cmcGTex& cmcFCache::Table(const std::string& key) const {
  cmcGTex* table = table_ ? table_ : gGTex;
  if (!table) platform::Fatal("GTEX Error !\nThe index '" + key + "' was not found.");
  return *table;
}

const cmcFCacheList* cmcFCache::Find(std::string_view list, std::uint32_t cell) const {
  const auto* node = index_.Find(CacheKey(list, cell));
  return node ? node->payload : nullptr;
}

const cmcFCacheList& cmcFCache::List(std::string_view list, std::uint32_t cell) {
  if (const cmcFCacheList* found = Find(list, cell)) return *found;
  return *Build(list, cell);
}

cmcFCacheList* cmcFCache::Build(std::string_view list, std::uint32_t cell) {
  auto record = std::make_unique<cmcFCacheList>();
  cmcFCacheList* r = record.get();
  index_.Insert(CacheKey(list, cell), r);
  lists_.push_back(std::move(record));

  // First pass: the entry's lines, up to the line that begins with "#".
  const std::string key = std::string(list) + "_Cells";
  std::vector<std::string> lines;
  for (int n = 0;; ++n) {
    std::string line = Table(key).Line(key, n);
    if (line.starts_with('#')) break;
    lines.push_back(std::move(line));
  }
  r->lineCount_ = static_cast<int>(lines.size());

  // Second pass: every definition bound to the cell is a choice.
  cmcCellObj definition;
  for (int n = 0; n < r->lineCount_; ++n) {
    std::string rest = lines[static_cast<std::size_t>(n)];
    int column = 0;
    while (!rest.empty()) {
      rest = definition.Parse(rest, nullptr);
      if (definition.Cell() == cell) {
        r->byValue_.push_back(
            {n, column, definition.Number(),
             definition.HasParameter() ? definition.Parameter() : definition.Caption()});
      }
      ++column;
    }
    r->maxColumns_ = std::max(r->maxColumns_, column);
  }

  std::stable_sort(r->byValue_.begin(), r->byValue_.end(),
                   [](const auto& a, const auto& b) { return a.value < b.value; });
  r->byColumn_ = r->byValue_;
  const long long lineCount = r->lineCount_;
  auto columnOrder = [lineCount](const cmcFCacheList::Item& i) {
    return i.line + lineCount * i.column;
  };
  std::stable_sort(r->byColumn_.begin(), r->byColumn_.end(),
                   [&](const auto& a, const auto& b) { return columnOrder(a) < columnOrder(b); });
  return r;
}

std::string cmcFCache::TextForValue(std::string_view list, std::uint32_t cell, int value) {
  const auto& items = List(list, cell).ByValue();
  const auto it = std::lower_bound(items.begin(), items.end(), value,
                                   [](const cmcFCacheList::Item& i, int v) { return i.value < v; });
  return it != items.end() && it->value == value ? it->text : "error";
}

bool cmcFCache::Step(std::string_view list, std::uint32_t cell, int value, int direction,
                     int* result) const {
  const cmcFCacheList* r = Find(list, cell);
  if (!r || r->byColumn_.empty()) return false;
  const auto& items = r->byColumn_;
  const auto it =
      std::find_if(items.begin(), items.end(), [value](const auto& i) { return i.value == value; });
  if (it == items.end()) {
    *result = items.front().value;
    return true;
  }
  const long long count = static_cast<long long>(items.size());
  long long j = (it - items.begin()) + direction;
  if (j >= count) j = 0;
  if (j < 0) j = count - 1;
  *result = items[static_cast<std::size_t>(j)].value;
  return true;
}
