// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/image_checks.h"

#include "model/eeprom.h"
#include "model/memory_map.h"

using namespace memmap;

bool HasMakerSignature(const cmcEeprom& image) {
  for (int i = 0; i < kSignatureLength; ++i) {
    if (!image.IsValidAddress(kSignature + i)) return false;
    if (image.GetByte(kSignature + i) != static_cast<unsigned char>(kSignatureText[i]))
      return false;
  }
  return true;
}

bool ModelByteAcceptable(const cmcEeprom& image) {
  return image.IsValidAddress(kModelByte) && image.GetByte(kModelByte) < kModelTypes;
}
