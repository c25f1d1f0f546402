// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names for the sheets of a spreadsheet, one per page, from the pages'
// titles: spreadsheets refuse some characters in a sheet name, limit its
// length (Excel to 31 characters) and take names that differ only in letter
// case as the same, so a title is mended and, where needed, numbered.

#include <string>
#include <vector>

namespace spreadsheet {

// One valid name per title, no two alike in any letter case.
std::vector<std::string> SheetNames(const std::vector<std::string>& titles);

// A cell's address in formulas and validations: 'Sheet name'.B3.
std::string CellAddress(const std::string& sheet, int column, int row);

}  // namespace spreadsheet
