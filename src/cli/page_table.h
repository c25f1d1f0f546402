// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page tables of `pages` and `export` live in the layout, where the
// window exports them too.

#include "layout/page_table.h"

namespace cli {

using layout::CsvField;
using layout::CsvTable;
using layout::PageTable;
using layout::TableCell;
using layout::TextTable;

}  // namespace cli
