// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages as an OpenDocument spreadsheet (.ods), one sheet per page, made
// for editing in LibreOffice Calc, Excel or Gnumeric: the first row names
// the page (Page, its key, its title, the image's model), the second holds
// the column captions and stays in view while the rows scroll; text cells
// are text (a name "06" keeps its zero, also when typed anew), numbers are
// numbers shown with the digits the radio shows, and a choice cell offers
// the list of values the radio takes and refuses any other.

#include <optional>
#include <string>
#include <vector>

#include "layout/export_cells.h"

namespace spreadsheet {

// The file's bytes; nothing when the zip container could not be made.
std::optional<std::string> OdsFile(const std::vector<layout::ExportPage>& pages,
                                   const std::string& model);

// The document's XML parts, as OdsFile packs them.
std::string OdsContent(const std::vector<layout::ExportPage>& pages, const std::string& model);
std::string OdsSettings(const std::vector<std::string>& sheetNames);

}  // namespace spreadsheet
