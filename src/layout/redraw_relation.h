// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Two small pure rules of a page's drawing: which slots a change to one cell
// concerns, and the tints blended from the system colours.

#include <cstdint>

#include "model/cell.h"

namespace layout {

// Relation bits of a redraw request.
enum RelationBit : unsigned {
  kSameCellAndNumber = 1u << 0,
  kSameCategory = 1u << 1,
  kSameCell = 1u << 2,
  kSameNumber = 1u << 3,       // data cells, probe with a category
  kNeighbourNumber = 1u << 4,  // same category, numbers at most 1 apart, data cells
  kAnyDataCell = 1u << 5,
  kNumberFromProbe = 1u << 6,  // number >= the probe's, data cells, probe with a category
  kNumberUpToProbe = 1u << 7,  // number <= the probe's, data cells, probe with a category
};

// True when any relation of the mask holds between the probe's cell key and
// a slot's cell key.
bool IsRelated(const CellKey& probe, const CellKey& slot, unsigned mask);

struct Tints {
  std::uint32_t line = 0;      // the cursor row with ColorSelectLine
  std::uint32_t inactive = 0;  // highlighted cells while the grid lacks focus
  friend bool operator==(const Tints&, const Tints&) = default;
};

// Blends per channel from the resolved (0x00BBGGRR) window and window-text
// colours: line = (7W + T + 4) / 8, inactive = (3W + T + 2) / 4.
Tints ComputeTints(std::uint32_t window, std::uint32_t windowText);

}  // namespace layout
