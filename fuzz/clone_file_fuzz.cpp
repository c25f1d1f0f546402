// SPDX-License-Identifier: GPL-3.0-or-later
// A clone data file from anywhere: the reader with and without the range
// check, and the checks the program runs when the user opens a file. A
// failed read must leave the image exactly as it was, an image the open
// path accepts must survive a save and a second open unchanged, and a file
// the document opens and saves must come back the same from a second cycle.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/fatal.h"
#include "platform/paths.h"
#include "radio/document.h"

namespace {

cmcEeprom Pattern() {
  cmcEeprom image(memmap::kImageSize);
  for (int a = 0; a < image.Size(); ++a) image.SetByte(a, static_cast<std::uint8_t>(a * 13 + 5));
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  fuzz::MainOverlay();
  const std::string path = fuzz::WriteTempFile("IN.DAT", data, size);
  const cmcEeprom before = Pattern();

  // The reader alone, with the standard ranges and with none.
  for (bool withRanges : {true, false}) {
    cmcEeprom image = before;
    cmcCloneFile file;
    SetUpRadioFile(file, &image);
    const CloneFileCode code =
        file.Read(path, withRanges ? &cmcCloneFile::StandardRanges() : nullptr);
    if (static_cast<int>(code) < 0 || code > CloneFileCode::kNewer)
      fuzz::Finding("read code out of range");
    if (code != CloneFileCode::kOk && !image.Equals(before))
      fuzz::Finding("failed read changed the image");
    if (image.Size() != before.Size()) fuzz::Finding("read resized the image");
    if (code == CloneFileCode::kOk && !withRanges) {
      const CloneFileCode coverage = file.CheckCoverage(cmcCloneFile::StandardRanges());
      if (coverage != CloneFileCode::kOk && coverage != CloneFileCode::kCoverage &&
          coverage != CloneFileCode::kData)
        fuzz::Finding("coverage code out of range");
    }
  }

  // The open path, then save and open again.
  cmcEeprom opened;
  if (cmcDocument::ReadChecked(path, opened) != CloneFileCode::kOk) return 0;
  cmcCloneFile writer;
  SetUpRadioFile(writer, &opened);
  writer.SetComment(cmcCloneFile::CommentFromImage(opened));
  const std::string saved = fuzz::WriteTempFile("OUT.DAT", nullptr, 0);
  if (writer.Write(saved, cmcCloneFile::StandardRanges()) != CloneFileCode::kOk)
    fuzz::Finding("save failed");
  cmcEeprom again;
  if (cmcDocument::ReadChecked(saved, again) != CloneFileCode::kOk)
    fuzz::Finding("saved file refused");
  if (!again.Equals(opened)) fuzz::Finding("save and open changed the image");

  // The document: open (the model follows the file, the image is
  // normalised), save, open the saved file and save again.
  platform::SetDataDirOverride(SEACLONE_SOURCE_DIR "/data/initial");
  try {
    cmcDocument document;
    if (document.Open(path) != CloneFileCode::kOk)
      fuzz::Finding("document refused a file the checks accepted");
    const std::string first = fuzz::WriteTempFile("SAVE1.DAT", nullptr, 0);
    const std::string second = fuzz::WriteTempFile("SAVE2.DAT", nullptr, 0);
    if (document.SaveTo(first) != CloneFileCode::kOk) fuzz::Finding("document save failed");
    const cmcEeprom savedImage = document.Working();
    if (document.Open(first) != CloneFileCode::kOk) fuzz::Finding("document refused its own file");
    if (document.SaveTo(second) != CloneFileCode::kOk) fuzz::Finding("second save failed");
    if (!document.Working().Equals(savedImage))
      fuzz::Finding("a saved file does not open as it was saved");
  } catch (const platform::FatalStop&) {
    fuzz::Finding("opening a file from outside caused a fatal stop");
  }
  return 0;
}
