// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/row_map.h"

#include <algorithm>

#include "layout/group_scan.h"
#include "layout/page_conditions.h"
#include "model/cell.h"
#include "platform/fatal.h"
#include "text/gtex.h"

namespace layout {

void RowMap::Reset() {
  entries_.clear();
  columns_ = 0;
  loopStart_ = loopEnd_ = repeat_ = -1;
  rowsSinceLoopStart_ = 0;
  skip_ = 0;
  select_ = true;
}

void RowMap::Read(cmcGTex& table, const std::string& cellsKey, const DirectiveHandler& handler) {
  Reset();
  std::string line;
  // The first line through the fatal lookup: a page without its entry is a
  // broken installation, not an empty page.
  line = table.Line(cellsKey, 0);
  for (int n = 0;; ++n) {
    if (n > 0 && !table.TryLine(cellsKey, n, &line)) break;
    if (!line.empty() && line[0] == '#') break;
    currentLine_ = n;
    if (skip_ > 0) {
      --skip_;
      continue;
    }
    if (!line.empty() && line[0] == ':') {
      ForEachGroup(line, [&](std::string_view directive) {
        if (!handler || !handler(directive, *this)) ApplyBaseDirective(directive);
      });
      EndOfDirectiveLine();
    } else {
      AppendRow(n, CountCells(line));
    }
  }
  if (columns_ == 0 || Rows() == 0) platform::Fatal("Illegal Cell assign");
}

bool RowMap::ApplyBaseDirective(std::string_view directive) {
  if (StartsWith(directive, "LoopFrom")) {
    if (const auto count = CountAfter(directive, "LoopFrom")) OpenLoop(*count);
  } else if (StartsWith(directive, "LoopTo")) {
    CloseLoop();
  } else if (StartsWith(directive, "SelectON")) {
    select_ = true;
  } else if (StartsWith(directive, "SelectOFF")) {
    select_ = false;
  } else {
    return false;
  }
  return true;
}

void RowMap::OpenLoop(int count) {
  loopStart_ = currentLine_;
  // A LoopTo that came with no loop open would otherwise close this loop on
  // the line that opens it, before it has any rows.
  loopEnd_ = -1;
  repeat_ = std::max(count, 1);
  rowsSinceLoopStart_ = 0;
}

void RowMap::CloseLoop() { loopEnd_ = currentLine_; }

void RowMap::EndOfDirectiveLine() {
  if (loopStart_ < 0 || loopEnd_ < 0) return;
  // The copies repeat the rows the loop actually made, so a line skipped
  // inside the loop stays out of every copy, as it stays out of the first.
  const auto body = static_cast<std::ptrdiff_t>(rowsSinceLoopStart_);
  const std::size_t first = entries_.size() - static_cast<std::size_t>(body);
  for (int copy = 1; copy < repeat_; ++copy) {
    for (std::ptrdiff_t i = 0; i < body; ++i) {
      entries_.push_back({entries_[first + static_cast<std::size_t>(i)].line, select_});
    }
  }
  loopStart_ = loopEnd_ = repeat_ = -1;
  rowsSinceLoopStart_ = 0;
}

void RowMap::AppendRow(int line, int cells) {
  columns_ = std::max(columns_, cells);
  entries_.push_back({line, select_});
  if (loopStart_ >= 0 && loopEnd_ < 0) {
    ++rowsSinceLoopStart_;
  } else {
    rowsSinceLoopStart_ = 0;
  }
}

int RowMap::CountCells(std::string_view line) {
  // The same split the cell parser makes, so the count always matches the
  // cells that the page builds.
  cmcCellObj probe;
  int count = 0;
  std::string rest(line);
  do {
    ++count;
    rest = probe.Parse(rest, nullptr, nullptr, true);
  } while (!rest.empty());
  return count;
}

}  // namespace layout
