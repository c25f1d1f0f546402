// SPDX-License-Identifier: GPL-3.0-or-later
#include "image_builder.h"

#include <cstring>

#include "model/datch.h"
#include "model/memory_map.h"
#include "model/numeric.h"

using namespace memmap;

namespace initial {
namespace {

void SetChannel(cmcEeprom& image, int slot, const PlanChannel& ch) {
  std::uint8_t b = 0;
  if (ch.txHz == ch.rxHz) b |= kChSimplex;
  if (ch.tag) b |= kChTag;
  if (ch.poc) b |= kChPoc;
  if (ch.txInhibit) b |= kChTxInhibit;
  image.SetByte(PlanByte(slot, ch.index), b);
  if (ch.p) image.SetWord(kPWords + 2 * slot, static_cast<std::uint16_t>(ch.index));
  if (ch.c) image.SetWord(kCWords + 2 * slot, static_cast<std::uint16_t>(ch.index));
}

void LayPlans(cmcEeprom& image, const Tables& t, const Model& m) {
  for (int slot = 0; slot < kPlanCount; ++slot) {
    const unsigned category = SlotCategory(slot);
    // Everything starts inhibited, with the simplex bit the radio implies.
    for (int index = 0; index < kPlanEntries; ++index) {
      bool simplex = datCh::ForcedSimplex(index);
      if (index >= kFreeIndexBase) {
        const FreeChannel& f = t.free[static_cast<std::size_t>(index - kFreeIndexBase)];
        simplex = f.rxHz == f.txHz;
      }
      image.SetByte(PlanByte(slot, index),
                    static_cast<std::uint8_t>(kChInhibit | (simplex ? kChSimplex : 0)));
    }
    for (const PlanChannel& ch : t.plans.at(category)) SetChannel(image, slot, ch);
    for (const Extra& e : m.extras)
      if (e.category == category) SetChannel(image, slot, e.channel);
  }
}

void LayFreeChannels(cmcEeprom& image, const Tables& t) {
  for (int i = 0; i < kFreeCount; ++i) {
    const FreeChannel& f = t.free[static_cast<std::size_t>(i)];
    const FreeChannelCode rx = EncodeFreeRx(f.rxHz);
    const FreeChannelCode tx = EncodeFreeTx(f.txHz);
    const int r = FreeRecord(i);
    image.SetWord(r, rx.code);
    image.SetWord(r + 2, tx.code);
    image.WriteBlock(r + 4, f.name.data(), kFreeNameLength);
    image.SetByte(r + 7, static_cast<std::uint8_t>((rx.fine ? kFreeRxFine : 0) |
                                                   (tx.fine ? kFreeTxFine : 0)));
  }
}

void SetBit(cmcEeprom& image, int a, int bit, bool on) {
  const auto mask = static_cast<std::uint8_t>(1u << bit);
  const std::uint8_t b = image.GetByte(a);
  image.SetByte(a, on ? (b | mask) : (b & static_cast<std::uint8_t>(~mask)));
}

}  // namespace

cmcEeprom BuildInitialImage(const Tables& t, const Model& m) {
  cmcEeprom image(kImageSize);
  for (const auto& [address, bytes] : t.settings)
    image.WriteBlock(address, bytes.data(), static_cast<int>(bytes.size()));

  LayFreeChannels(image, t);
  LayPlans(image, t, m);

  std::uint16_t wx = 0;
  for (int n = 0; n < kWxCount; ++n)
    if (t.wxInhibited[static_cast<std::size_t>(n)]) wx = static_cast<std::uint16_t>(wx | (1u << n));
  image.SetWord(kWxBits, wx);

  SetBit(image, kFlags972, 0, m.usa);
  SetBit(image, kFlags972, 1, m.wx);
  SetBit(image, kFlags972, 2, m.can);
  SetBit(image, kFlags973, 1, m.intl);
  SetBit(image, kAtisFlags, 1, m.atis);

  // Values the radio reads but the sheets never show, as a save would
  // leave them: the power-on plan, the saved P words, the first usable
  // weather channel and the power setting copy.
  image.SetByte(kPowerOnPlan, m.usa ? 0 : 1);
  for (int i = 0; i < 2 * kPlanCount; ++i)
    image.SetByte(kSavedPWords + i, image.GetByte(kPWords + i));
  int first = 0;
  while (first < kWxCount && (wx & (1u << first))) ++first;
  image.SetByte(kFirstWx, static_cast<std::uint8_t>(first == kWxCount ? 0 : first));
  image.SetByte(kTxPowerByte, image.GetByte(kFlags973) & 0x01);

  bool idInvalid = false;
  for (int i = 0; i < kAtisIdBytes; ++i) idInvalid = idInvalid || image.GetByte(kAtisId + i) > 99;
  const bool atisModel = m.type == 3 || m.type == 4;
  image.SetByte(kIdMissing,
                atisModel && idInvalid && image.GetByte(kAtisChecksum) == kAtisNoId ? 1 : 0);

  image.SetByte(kImageFlags, 0x01);
  image.SetByte(kModelByte, static_cast<std::uint8_t>(m.type));
  image.WriteBlock(kSignature, kSignatureText, kSignatureLength);

  for (int i = 0; i < kDealerSize; ++i)
    image.SetByte(kDealerActive + i, image.GetByte(kDealerBlock + i));
  image.SetByte(kDealerActiveMarker, image.GetByte(kDealerActiveMarker) | 0x80);
  image.SetByte(kDealerActiveChecksum, numeric::Checksum(image, kDealerActive, kDealerSize - 1));
  return image;
}

}  // namespace initial
