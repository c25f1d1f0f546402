// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's side of a table file (CSV or OpenDocument spreadsheet, by
// its extension): reading one into records with the message a refusal
// shows in the window.

#include <string>
#include <vector>

#include "text/csv_records.h"

class cmcGTex;

namespace shell {

// The records of the table file at path; false with message set (from the
// overlay's texts) when it cannot be read or is no table this program reads.
bool ReadTableFile(cmcGTex& table, const std::string& path, std::vector<text::CsvRecord>& records,
                   std::string& message);

}  // namespace shell
