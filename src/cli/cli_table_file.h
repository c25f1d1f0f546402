// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table file export writes and import reads: CSV, or an OpenDocument
// spreadsheet for a name ending in .ods. The build without Qt (Windows)
// knows CSV only and refuses an .ods name with a message saying so.

#include <string>
#include <vector>

#include "layout/table_file.h"

class cmcDocument;

namespace cli {

layout::TableRead ReadTable(const std::string& path, std::vector<text::CsvRecord>& records);

// false with why set ("cannot write PATH" follows it) when nothing was written.
bool WriteTable(const std::string& path, cmcDocument& document,
                const std::vector<layout::TreePage>& pages, bool usableView, std::string& why);

}  // namespace cli
