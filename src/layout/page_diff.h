// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between two documents, said as their pages say it: each
// cell whose text differs (page, row caption, column caption, this text and
// the other's), then the differing bytes that change no cell's text.
// seaclone-cli diff prints it; the window's compare dialog lists it.

#include <cstdint>
#include <string>
#include <vector>

#include "layout/tree_pages.h"

class cmcDocument;

namespace layout {

struct CellDifference {
  std::string reference;  // what opens the page from the tree
  std::string page;       // the page's title
  std::string row;        // the row's caption, trimmed
  std::string column;     // the column's caption, trimmed
  int pageRow = 0;        // where the cell is on the page
  int pageColumn = 0;
  std::string before;  // the first document's text
  std::string after;   // the second's
};

struct ByteDifference {
  int address = 0;
  std::uint8_t before = 0;
  std::uint8_t after = 0;
};

// How an unshown byte's address and values are written, the same in every
// listing of a comparison: "0x094A", "0x01".
std::string AddressText(int address);
std::string ByteText(std::uint8_t value);

struct ImageDifferences {
  std::vector<CellDifference> cells;
  std::vector<ByteDifference> bytes;  // differing bytes no page shows
  bool Empty() const { return cells.empty() && bytes.empty(); }
};

// One side of a comparison: the document and the pages it shows.
struct DiffSide {
  cmcDocument* document = nullptr;
  std::vector<TreePage> pages;
};

// The pages either side shows are compared, the first side's in its order
// first. Each document's cells evaluate against a target of its own while
// its pages are read; the target installed before is back on return. The
// first document's working image is changed while the unshown bytes are
// sought and is as it was on return.
ImageDifferences DiffDocuments(const DiffSide& first, const DiffSide& second, bool usableView);

}  // namespace layout
