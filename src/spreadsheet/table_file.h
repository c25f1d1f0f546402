// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table file of the pages, CSV or OpenDocument spreadsheet by its
// extension (layout/table_file.h): what the window's File > Export and
// Import and seaclone-cli export and import read and write.

#include <string>
#include <vector>

#include "layout/table_file.h"

class cmcDocument;

namespace spreadsheet {

// The records of the table file at path.
layout::TableRead ReadTableFile(const std::string& path, std::vector<text::CsvRecord>& records);

// The pages of document into path, whole or not at all; false when that
// failed or path names something other than a regular file (left as it is).
bool WriteTableFile(const std::string& path, cmcDocument& document,
                    const std::vector<layout::TreePage>& pages, bool usableView);

// The model's name as the sheets give it ("Europe").
std::string ModelName(int modelType);

}  // namespace spreadsheet
