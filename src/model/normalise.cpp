// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/normalise.h"

#include <cstdint>

#include "model/datch.h"
#include "model/datch_index.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/numeric.h"

using namespace memmap;

namespace {

void CopyBytes(cmcEeprom& image, const cmcEeprom& initial, int a, int n) {
  for (int i = 0; i < n; ++i) image.SetByte(a + i, initial.GetByte(a + i));
}

void CopyBits(cmcEeprom& image, const cmcEeprom& initial, int a, std::uint8_t mask) {
  const auto keep = static_cast<std::uint8_t>(image.GetByte(a) & ~mask);
  image.SetByte(a, static_cast<std::uint8_t>(keep | (initial.GetByte(a) & mask)));
}

std::uint8_t Bit(int n) { return static_cast<std::uint8_t>(1u << n); }

// Each channel is loaded from the image, its storage is overwritten with the
// initial image's, and the view is stored back: what the user owns survives
// through the view, everything else comes from the initial image.
void NormalisePlans(cmcEeprom& image, const cmcEeprom& initial) {
  datCh ch(&image);
  for (int slot = 0; slot < kPlanCount; ++slot) {
    for (int index = 0; index < kPlanEntries; ++index) {
      ch.Load(SlotCategory(slot), index);
      image.SetByte(PlanByte(slot, index), initial.GetByte(PlanByte(slot, index)));
      ch.Reload();
    }
  }
}

void NormaliseFreeChannels(cmcEeprom& image, const cmcEeprom& initial) {
  datCh ch(&image);
  for (int i = 0; i < kFreeCount; ++i) {
    ch.Load(kCatFree, i);
    CopyBytes(image, initial, FreeRecord(i), kFreeRecordSize);
    ch.Reload();
  }
}

// The radio wants the P channel in the form it displays: a classic index, a
// four-digit number or a free channel number, the other two forms unset.
void SpellOutPChannels(cmcEeprom& image) {
  for (int k = 0; k < kPlanCount; ++k) {
    image.SetByte(kPClassic + k, 0xFF);
    image.SetWord(kPFourDigit + 2 * k, 0xFFFF);
    image.SetByte(kPFree + k, 0xFF);
    const int index = static_cast<std::int16_t>(image.GetWord(kSavedPWords + 2 * k));
    // A word that names no channel leaves all three forms unset.
    if (index < 0 || index >= kPlanEntries) continue;
    if (index < kClassicEnd)
      image.SetByte(kPClassic + k, static_cast<std::uint8_t>(index));
    else if (index < kFreeIndexBase)
      image.SetWord(kPFourDigit + 2 * k, static_cast<std::uint16_t>(FourDigitChannel(index)));
    else
      image.SetByte(kPFree + k, static_cast<std::uint8_t>(index - kFreeIndexBase));
  }
}

void FirstUsableWeather(cmcEeprom& image, int mode) {
  const std::uint16_t bits = image.GetWord(kWxBits);
  int n = 0;
  while (n < kWxCount && (bits & (1u << n))) ++n;
  if (mode == kNormaliseBeforeSave)
    image.SetByte(kFirstWx, static_cast<std::uint8_t>(n == kWxCount ? 0 : n));
  image.SetByte(kFirstWxCopy, image.GetByte(kFirstWx));
}

void ModelBits(cmcEeprom& image, const cmcEeprom& initial, int m) {
  if (!InGroupA(m)) {
    CopyBits(image, initial, kUserMenuA, Bit(4));
    CopyBits(image, initial, kFlags972, Bit(1));
  }
  if (!InGroupS(m)) CopyBits(image, initial, kFlags973, Bit(1));
  if (InGroupA(m)) CopyBits(image, initial, kFlags974, Bit(2) | Bit(1) | Bit(0));
  if (InGroupS(m)) CopyBits(image, initial, kUserSettingsB, Bit(5));
  CopyBits(image, initial, kFlags975, Bit(6));
  if (InGroupS(m)) CopyBits(image, initial, kFlags973, Bit(0));
  CopyBits(image, initial, kUserMenuB, Bit(5));
  CopyBits(image, initial, kUserSettingsB, Bit(5));
  if (m != 0) CopyBits(image, initial, kFlags974, Bit(7));
  if (!InGroupE(m)) CopyBits(image, initial, kFlags974, Bit(6));
  CopyBits(image, initial, kFlags974, Bit(4));
  CopyBits(image, initial, kFlags972, Bit(6));
}

bool AnyIdByteInvalid(const cmcEeprom& image) {
  for (int i = 0; i < kAtisIdBytes; ++i)
    if (image.GetByte(kAtisId + i) > 99) return true;
  return false;
}

void AtisIdentity(cmcEeprom& image, const cmcEeprom& initial, int m) {
  if (AnyIdByteInvalid(image) ||
      numeric::Checksum(image, kAtisId, kAtisIdBytes) != image.GetByte(kAtisChecksum))
    CopyBytes(image, initial, kAtisId, kAtisIdBytes + 1);
  const bool missing =
      (m == 3 || m == 4) && image.GetByte(kAtisChecksum) == kAtisNoId && AnyIdByteInvalid(image);
  image.SetByte(kIdMissing, missing ? 1 : 0);
  CopyBytes(image, initial, kFromInitial986, 2);
}

bool IsBcd(std::uint8_t b) { return b < 0xA0 && (b & 0x0F) < 10; }

void DealerBlock(cmcEeprom& image, const cmcEeprom& initial) {
  const std::uint8_t hi = image.GetByte(kDealerVersion);
  const std::uint8_t lo = image.GetByte(kDealerVersion + 1);
  const int version = (IsBcd(hi) && IsBcd(lo)) ? hi * 256 + lo : 0;
  const int initialVersion =
      initial.GetByte(kDealerVersion) * 256 + initial.GetByte(kDealerVersion + 1);
  if (initialVersion > version) CopyBytes(image, initial, kDealerBlock, kDealerSize);

  for (int i = 0; i < kDealerSize; ++i)
    image.SetByte(kDealerActive + i, image.GetByte(kDealerBlock + i));
  image.SetByte(kDealerActiveMarker, image.GetByte(kDealerActiveMarker) | 0x80);
  image.SetByte(kDealerActiveChecksum, numeric::Checksum(image, kDealerActive, kDealerSize - 1));
}

}  // namespace

void NormaliseImage(cmcEeprom& image, const cmcEeprom& initialImage, int mode, int m) {
  if (image.Size() < kImageSize || initialImage.Size() < kImageSize) return;
  // The initial image is normalised against itself after it is loaded; the
  // steps read it while they write the image, so give them a stable copy.
  cmcEeprom aliasCopy;
  if (&image == &initialImage) aliasCopy = initialImage;
  const cmcEeprom& initial = (&image == &initialImage) ? aliasCopy : initialImage;
  const bool beforeSave = mode == kNormaliseBeforeSave;

  NormalisePlans(image, initial);         // 1
  NormaliseFreeChannels(image, initial);  // 2
  if (beforeSave)                         // 3
    for (int i = 0; i < 2 * kPlanCount; ++i)
      image.SetByte(kSavedPWords + i, image.GetByte(kPWords + i));
  SpellOutPChannels(image);         // 4
  FirstUsableWeather(image, mode);  // 5

  CopyBytes(image, initial, kFromInitial949, 1);  // 6
  if (m == 0 || m == 6)
    image.SetByte(kPowerOnPlan, (image.GetByte(kFlags972) & Bit(0)) ? 0 : 1);
  else
    CopyBytes(image, initial, kPowerOnPlan, 1);

  if (beforeSave) {  // 7
    CopyBytes(image, initial, kFromInitial94B, 2);
    image.SetByte(kTxPowerByte, image.GetByte(kFlags973) & Bit(0));
  }
  image.SetByte(kTxPowerCopy, image.GetByte(kTxPowerByte));
  CopyBytes(image, initial, kFromInitial94E, 3);

  ModelBits(image, initial, m);     // 8
  AtisIdentity(image, initial, m);  // 9, 10
  if (InGroupA(m))                  // 11
    CopyBits(image, initial, kAtisFlags, Bit(4) | Bit(2) | Bit(1) | Bit(0));

  image.SetByte(kImageFlags,  // 12
                static_cast<std::uint8_t>((image.GetByte(kImageFlags) & ~0x1E) | 0x01));
  image.SetByte(kModelByte, static_cast<std::uint8_t>(m));
  CopyBytes(image, initial, kSignature, kSignatureLength);
  CopyBytes(image, initial, kFromInitialA10, 2);
  CopyBytes(image, initial, kFromInitialA02, 8);

  DealerBlock(image, initial);           // 13, 14
  for (int i = 0; i < kCopyLength; ++i)  // 15
    image.SetByte(kCopyTarget + i, image.GetByte(kCopySource + i));
}
