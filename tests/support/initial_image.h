// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model's initial image as the program loads it at start: the file that
// line `model` of GI_App_InitialFile names, read from the source tree and
// normalised after loading.

#include <string>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/normalise.h"
#include "text/gtex.h"

namespace testsupport {

inline CloneFileCode LoadInitialImage(cmcGTex& table, int model, cmcEeprom& image) {
  const std::string path =
      SEACLONE_SOURCE_DIR "/data/initial/" + table.Line("GI_App_InitialFile", model);
  image.SetSize(memmap::kImageSize);
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  const CloneFileCode code = file.Read(path, &cmcCloneFile::StandardRanges());
  if (code == CloneFileCode::kOk) NormaliseImage(image, image, kNormaliseAfterLoad, model);
  return code;
}

}  // namespace testsupport
