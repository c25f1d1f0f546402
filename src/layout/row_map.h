// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which definition line each grid row of a page is built from. The lines of
// a "<sheetKey>_Cells" entry are rows of cells, except directive lines that
// begin with ":" and carry parenthesised directives:
//   :(LoopFrom 16)       repeat the rows up to the LoopTo line 16 times
//   :(LoopTo)
//   :(SelectOFF)         the following rows are not multi-selectable
//   :(OnlyUsaCh 2)       (page conditions) skip the next 2 lines unless ...
// The entry ends at the first line that begins with "#".

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class cmcGTex;

namespace layout {

struct RowMapEntry {
  int line = 0;  // definition line index within the entry
  bool multiSelectable = true;
  friend bool operator==(const RowMapEntry&, const RowMapEntry&) = default;
};

class RowMap {
 public:
  // The directive handler gets each directive and this map, whose loop,
  // select and skip operations it may call; it returns false for a
  // directive it does not know, which then goes to ApplyBaseDirective.
  using DirectiveHandler = std::function<bool(std::string_view directive, RowMap& map)>;

  // Reads the entry. A page without a column or a row stops the program
  // ("Illegal Cell assign").
  void Read(cmcGTex& table, const std::string& cellsKey, const DirectiveHandler& handler = nullptr);

  // LoopFrom, LoopTo, SelectON and SelectOFF; false for anything else.
  bool ApplyBaseDirective(std::string_view directive);

  // Opens a loop at the current directive line; a count of 0 or less
  // repeats nothing.
  void OpenLoop(int count);
  // Closes the open loop at the current line.
  void CloseLoop();
  void SetSelect(bool on) { select_ = on; }
  // Ignores the next n lines of the entry.
  void Skip(int n) { skip_ = n; }

  const std::vector<RowMapEntry>& Entries() const { return entries_; }
  int Rows() const { return static_cast<int>(entries_.size()); }
  int Columns() const { return columns_; }

  // The cells a row line defines, as the page parses them: cells are
  // separated by "|" that no backslash escapes; an empty line still makes
  // one (empty) column.
  static int CountCells(std::string_view line);

 private:
  void Reset();
  void EndOfDirectiveLine();
  void AppendRow(int line, int cells);

  std::vector<RowMapEntry> entries_;
  int columns_ = 0;
  int currentLine_ = 0;
  int loopStart_ = -1;
  int loopEnd_ = -1;
  int repeat_ = -1;
  int rowsSinceLoopStart_ = 0;
  int skip_ = 0;
  bool select_ = true;
};

}  // namespace layout
