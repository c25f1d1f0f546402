// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An inclusive range of image addresses, and the lists of them that say
// what a clone data file holds and what a clone read or write moves. The
// file, the driver and the clone manager all take the same list, so a range
// chosen for a transfer can be saved or checked without conversion.

#include <cstdint>
#include <vector>

// A pair whose last address lies below its first ends a list early (the
// clone manager's lists have used (1, 0) for that, and files written from
// such a list stop there as well); the end of the vector ends it too.
struct clsAddrRange {
  std::int32_t first = 1;
  std::int32_t last = 0;

  bool IsTerminator() const { return last < first; }
  // The bytes the range covers; 0 for a terminator.
  int Bytes() const { return IsTerminator() ? 0 : last - first + 1; }
};
using clsAddrRangeList = std::vector<clsAddrRange>;
