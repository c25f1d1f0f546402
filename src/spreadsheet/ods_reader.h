// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads an OpenDocument spreadsheet (.ods) back into the records a CSV of
// the same pages gives, so that it goes through exactly the import's
// checks: each sheet's rows in order, a record's line the row's number
// within its sheet. A cell gives the text it shows (a number as the sheet
// shows it, not its full value), trailing empty cells and blank rows are
// left out, repeated rows and cells are spelt out. A sheet whose first row
// is no "Page" record gets one naming the sheet, so that the import refuses
// a sheet the pages do not know as it refuses an unknown page.

#include <string>
#include <vector>

#include "text/csv_records.h"

namespace spreadsheet {

// The most cells a file may spell out: far beyond any export, it keeps a
// small file that repeats a row a million times from filling the memory.
inline constexpr std::size_t kMostCells = std::size_t{1} << 20;

// The records of the file's bytes; false with error set when they are no
// OpenDocument spreadsheet, its content is larger than text::kCsvLimit or
// is damaged.
bool ReadOds(const std::string& bytes, std::vector<text::CsvRecord>& records, std::string& error);

// The records of the file's content.xml.
bool ReadOdsContent(const std::string& xml, std::vector<text::CsvRecord>& records,
                    std::string& error);

}  // namespace spreadsheet
