// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Option lists: the choices a value editor offers (On/Off, scan types,
// channel attributes ...) are written as rows of cells in a "<name>_Cells"
// entry, one cell per choice, bound to the editor's cell with the choice's
// value as index and its text as caption or parameter:
//
//   #GI_Sheet_Sel_Misc_OnOff_Cells
//   {(%Flex0[0])}Off|{(%Flex0[1])}On
//
// The same entry is the sheet that the drop-down chooser shows, so a
// list's "next" choice is the next one in reading order down the columns of
// that sheet, not the next value. Lists are built on first use and kept for
// the life of the program: the overlay file never changes under it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/hash.h"

class cmcGTex;

class cmcFCacheList {
 public:
  struct Item {
    int line = 0;
    int column = 0;
    int value = 0;
    std::string text;
  };

  int LineCount() const { return lineCount_; }
  int MaxColumns() const { return maxColumns_; }
  int ItemCount() const { return static_cast<int>(byValue_.size()); }
  // Ascending by value; equal values keep their order in the entry.
  const std::vector<Item>& ByValue() const { return byValue_; }
  // Down each column, columns left to right.
  const std::vector<Item>& ByColumn() const { return byColumn_; }

 private:
  friend class cmcFCache;
  int lineCount_ = 0;
  int maxColumns_ = 0;
  std::vector<Item> byValue_;
  std::vector<Item> byColumn_;
};

class cmcFCache {
 public:
  // Reads the lists from the given table, or from gGTex when none is given.
  explicit cmcFCache(cmcGTex* table = nullptr);
  ~cmcFCache();
  cmcFCache(const cmcFCache&) = delete;
  cmcFCache& operator=(const cmcFCache&) = delete;

  // The text of the choice with this value in list "<list>_Cells" for cell
  // K; "error" when the list has no such value.
  std::string TextForValue(std::string_view list, std::uint32_t cell, int value);

  // The value after (direction +1) or before (-1) value in column order,
  // wrapping at both ends; a value not in the list steps to the first
  // choice. Returns false and leaves *result alone when the list has not
  // been built yet or holds no choices.
  bool Step(std::string_view list, std::uint32_t cell, int value, int direction, int* result) const;

  // The list, built on first use.
  const cmcFCacheList& List(std::string_view list, std::uint32_t cell);
  // The list if it has been built, else none.
  const cmcFCacheList* Find(std::string_view list, std::uint32_t cell) const;

 private:
  static std::string CacheKey(std::string_view list, std::uint32_t cell);
  cmcFCacheList* Build(std::string_view list, std::uint32_t cell);
  cmcGTex& Table(const std::string& key) const;

  cmcGTex* table_;
  cmcHash2 index_{1031};
  std::vector<std::unique_ptr<cmcFCacheList>> lists_;
};
