// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/redraw_relation.h"

#include <cstdlib>

#include "model/cell_names.h"

namespace layout {

bool IsRelated(const CellKey& probe, const CellKey& slot, unsigned mask) {
  const bool data = slot.cell != CL_NoCell;
  const bool probeCategory = probe.category != CT_NoCategory;
  const bool sameCategory = slot.category == probe.category;
  const bool sameCell = slot.cell == probe.cell;
  const bool sameNumber = slot.number == probe.number;
  const bool numbered = data && probeCategory;
  return ((mask & kSameCellAndNumber) && sameCell && sameNumber) ||
         ((mask & kSameCategory) && sameCategory) || ((mask & kSameCell) && sameCell) ||
         ((mask & kSameNumber) && sameNumber && numbered) ||
         ((mask & kNeighbourNumber) && sameCategory && data &&
          std::abs(static_cast<long long>(slot.number) - probe.number) <= 1) ||
         ((mask & kAnyDataCell) && data) ||
         ((mask & kNumberFromProbe) && slot.number >= probe.number && numbered) ||
         ((mask & kNumberUpToProbe) && slot.number <= probe.number && numbered);
}

Tints ComputeTints(std::uint32_t window, std::uint32_t windowText) {
  Tints tints;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t w = (window >> shift) & 0xFF;
    const std::uint32_t t = (windowText >> shift) & 0xFF;
    tints.line |= ((7 * w + t + 4) / 8) << shift;
    tints.inactive |= ((3 * w + t + 2) / 4) << shift;
  }
  return tints;
}

}  // namespace layout
