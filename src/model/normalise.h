// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Image normalisation: brings an image into the shape the radio expects.
// Bits the user cannot edit are restored from the initial image of the
// model, derived copies (P channel spelled out, dealer block copy and its
// checksum) are rebuilt, and invalid values fall back to the initial ones.
//
// Mode 0 runs after an image was loaded (file, radio) or the model changed;
// mode 1 runs before the image is saved or written and also refreshes the
// values that the radio reads but the sheets never show.

class cmcEeprom;

enum : int {
  kNormaliseAfterLoad = 0,
  kNormaliseBeforeSave = 1,
};

// image and initial must both hold the full image (memmap::kImageSize);
// model is the current model type 0..12.
void NormaliseImage(cmcEeprom& image, const cmcEeprom& initial, int mode, int model);
