// A clone data file from anywhere: the reader with and without the range
// check, and the checks the program runs when the user opens a file. A
// failed read must leave the image exactly as it was, and an image the open
// path accepts must survive a save and a second open unchanged.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/fatal.h"
#include "radio/document.h"

namespace {

void SetUp(cmcCloneFile& file, cmcEeprom* image) {
  file.Attach(image);
  file.SetModelCode(memmap::kModelCode);
  file.SetExtraCode(memmap::kExtraCode);
  file.SetMapRevision(memmap::kMapRevision);
  file.SetMapRevisionCheck(&cmcCloneFile::AcceptRevisionOne, nullptr);
}

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
    SetUp(file, &image);
    const int code = file.Read(path, withRanges ? &cmcCloneFile::StandardRanges() : nullptr);
    if (code < cmcCloneFile::kOk || code > cmcCloneFile::kNewer) fuzz::Finding("read code out of range");
    if (code != cmcCloneFile::kOk && !image.Equals(before)) fuzz::Finding("failed read changed the image");
    if (image.Size() != before.Size()) fuzz::Finding("read resized the image");
    if (code == cmcCloneFile::kOk && !withRanges) {
      const int coverage = file.CheckCoverage(cmcCloneFile::StandardRanges());
      if (coverage != 0 && coverage != 7 && coverage != 8) fuzz::Finding("coverage code out of range");
    }
  }

  // The open path, then save and open again.
  cmcEeprom opened;
  if (cmcDocument::ReadChecked(path, opened) != cmcCloneFile::kOk) return 0;
  cmcCloneFile writer;
  SetUp(writer, &opened);
  writer.SetComment(cmcCloneFile::CommentFromImage(opened));
  const std::string saved = fuzz::WriteTempFile("OUT.DAT", nullptr, 0);
  if (writer.Write(saved, cmcCloneFile::StandardRanges()) != cmcCloneFile::kOk) fuzz::Finding("save failed");
  cmcEeprom again;
  if (cmcDocument::ReadChecked(saved, again) != cmcCloneFile::kOk) fuzz::Finding("saved file refused");
  if (!again.Equals(opened)) fuzz::Finding("save and open changed the image");
  return 0;
}
