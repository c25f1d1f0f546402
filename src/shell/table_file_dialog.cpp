// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/table_file_dialog.h"

#include "radio/clone_man_message.h"
#include "spreadsheet/table_file.h"
#include "text/gtex.h"

namespace shell {

bool ReadTableFile(cmcGTex& table, const std::string& path, std::vector<text::CsvRecord>& records,
                   std::string& message) {
  using Status = layout::TableRead::Status;
  const layout::TableRead read = spreadsheet::ReadTableFile(path, records);
  switch (read.status) {
    case Status::kRead: return true;
    case Status::kUnreadable:
      message = cloneman::FormatText(table.Text("GI_Mess_Csv_CannotRead"), path);
      return false;
    case Status::kRefused:
      message =
          cloneman::FormatTexts(table.Text(layout::FormatOfPath(path) == layout::TableFormat::kOds
                                               ? "GI_Mess_Ods_NotOds"
                                               : "GI_Mess_Csv_NotCsv"),
                                {path, read.why});
      return false;
  }
  return false;
}

}  // namespace shell
