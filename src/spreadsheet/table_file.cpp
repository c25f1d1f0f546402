// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/table_file.h"

#include "layout/csv_transfer.h"
#include "layout/export_cells.h"
#include "radio/document.h"
#include "spreadsheet/ods_reader.h"
#include "spreadsheet/ods_writer.h"
#include "text/gtex.h"
#include "text/input_file.h"

namespace spreadsheet {

layout::TableRead ReadTableFile(const std::string& path, std::vector<text::CsvRecord>& records) {
  using Status = layout::TableRead::Status;
  if (layout::FormatOfPath(path) == layout::TableFormat::kCsv)
    return layout::ReadCsvFile(path, records);
  // The packed file within the input limit; what it unpacks to is checked
  // again as it unpacks.
  std::string bytes;
  if (std::string why; !text::ReadWhole(path, bytes, &why)) return {Status::kUnreadable, why};
  if (std::string error; !ReadOds(bytes, records, error)) return {Status::kRefused, error};
  return {};
}

bool WriteTableFile(const std::string& path, cmcDocument& document,
                    const std::vector<layout::TreePage>& pages, bool usableView) {
  if (layout::FormatOfPath(path) == layout::TableFormat::kCsv)
    return layout::WriteCsvFile(path, document, pages, usableView);
  if (!text::IsFileTarget(path)) return false;
  const std::optional<std::string> file =
      OdsFile(layout::ExportCells(document, pages, usableView), ModelName(document.ModelType()));
  return file && layout::WriteWholeFile(path, *file);
}

std::string ModelName(int modelType) {
  std::string model;
  if (gGTex && gGTex->TryLine("GI_AppInd_Model", modelType, &model)) return text::Trimmed(model);
  return "model " + std::to_string(modelType);
}

}  // namespace spreadsheet
