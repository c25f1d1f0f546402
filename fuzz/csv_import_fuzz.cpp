// SPDX-License-Identifier: GPL-3.0-or-later
// A CSV imported into an initial image, as `seaclone-cli import` and the
// window's File > Import do. Byte 0 picks the image (low nibble) and the
// usable-channels view (bit 4); the rest is the CSV. A refused import
// leaves the image as it was; an import that succeeds leaves every
// imported cell showing the CSV's value, so importing the same CSV into
// its result finds nothing to type and changes no byte.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "layout/csv_transfer.h"
#include "model/eeprom.h"
#include "platform/fatal.h"
#include "radio/document.h"
#include "text/csv_records.h"

namespace {

const char* const kInitial[] = {
    "TB58_00_USA.DAT",       "TB58_01_EUR.DAT", "TB58_02_UK.DAT",      "TB58_03_DE_ATIS.DAT",
    "TB58_04_NL_ATIS.DAT",   "TB58_05_AUS.DAT", "TB58_06_USA_COM.DAT", "TB58_07_NZ.DAT",
    "TB58_08_NORDIC_US.DAT", "TB58_09_SWE.DAT", "TB58_10_NOR.DAT",     "TB58_11_FIN.DAT",
    "TB58_12_EXPORT.DAT",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  fuzz::Init();
  fuzz::MainOverlay();
  const std::string image = std::string(SEACLONE_SOURCE_DIR "/data/initial/") +
                            kInitial[(data[0] & 0x0F) % std::size(kInitial)];
  const bool usable = (data[0] & 0x10) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<text::CsvRecord> records;
  if (std::string error; !text::ReadCsv(text, records, error)) return 0;
  try {
    cmcDocument document;
    if (document.Open(image) != CloneFileCode::kOk) fuzz::Finding("an initial image does not open");
    const cmcEeprom before = document.Working();
    const auto problems = layout::ImportCsv(document, records, usable);
    if (!problems.empty()) {
      if (!document.Working().Equals(before)) fuzz::Finding("a refused import changed the image");
      return 0;
    }
    const cmcEeprom imported = document.Working();
    if (!layout::ImportCsv(document, records, usable).empty())
      fuzz::Finding("an import is refused on its own result: a cell differs from the CSV");
    if (!document.Working().Equals(imported))
      fuzz::Finding("an import typed values again into its own result: a cell differed");
  } catch (const platform::FatalStop&) {}
  return 0;
}
