// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/datch.h"

#include <algorithm>

#include "model/eeprom.h"
#include "model/memory_map.h"

using namespace memmap;

namespace {

std::uint32_t StepOf(bool fine) { return fine ? kStepFine : kStepCoarse; }

// A frequency that the coarse raster cannot hold needs the fine step. Codes
// that would fall outside 16 bits are held at the ends rather than wrapped,
// so an absurd frequency cannot turn into a plausible but wrong one.
FreeChannelCode Encode(std::uint32_t hz, std::uint32_t base) {
  const bool fine = hz % kStepCoarse != 0;
  const std::int64_t offset = static_cast<std::int64_t>(hz) - static_cast<std::int64_t>(base);
  const std::int64_t code = std::clamp<std::int64_t>(offset / StepOf(fine), 0, 0xFFFF);
  return {static_cast<std::uint16_t>(code), fine};
}

}  // namespace

// Odd indices below the four-digit range are A channels, and the four-digit
// channels are single-frequency by definition: the radio treats both as
// simplex whatever the byte says.
bool datCh::ForcedSimplex(int index) {
  return (index < kClassicEnd && (index & 1)) ||
         (index >= kFourDigit1000 && index < kFreeIndexBase);
}

FreeChannelCode EncodeFreeRx(std::uint32_t hz) { return Encode(hz, kFreeRxBase); }
FreeChannelCode EncodeFreeTx(std::uint32_t hz) { return Encode(hz, 0); }
std::uint32_t DecodeFreeRx(std::uint16_t code, bool fine) {
  return code * StepOf(fine) + kFreeRxBase;
}
std::uint32_t DecodeFreeTx(std::uint16_t code, bool fine) { return code * StepOf(fine); }

void datCh::Clear() {
  category = 0;
  index = 0;
  acFlags = 0;
  attr = 0;
  state = kStInUse;
  rxHz = 0;
  txHz = 0;
  name.fill(0);
}

void datCh::Blank() {
  Clear();
  state = kStRxUnset | kStTxUnset;
}

void datCh::SetName(const std::string& text) {
  for (std::size_t i = 0; i < name.size(); ++i) name[i] = i < text.size() ? text[i] : ' ';
}

bool datCh::IsValidKey(unsigned category, int index) {
  if (index < 0) return false;
  if (IsPlanCategory(category)) return index < kPlanEntries;
  if (category == kCatWx) return index < kWxCount;
  if (category == kCatFree) return index < kFreeCount;
  return false;
}

void datCh::Load(unsigned cat, int idx) {
  Clear();
  category = cat;
  index = idx;
  if (image_ == nullptr || !IsValidKey(cat, idx)) return;
  if (const int slot = PlanSlot(cat); slot >= 0)
    LoadPlan(slot);
  else if (cat == kCatWx)
    LoadWeather();
  else
    LoadFree();
}

void datCh::Store() {
  if (image_ == nullptr || !IsValidKey(category, index)) return;
  if (const int slot = PlanSlot(category); slot >= 0)
    StorePlan(slot);
  else if (category == kCatWx)
    StoreWeather();
  else
    StoreFree();
}

void datCh::Reload() {
  const unsigned cat = category;
  const int idx = index;
  Store();
  Load(cat, idx);
}

void datCh::LoadPlan(int slot) {
  const std::uint8_t b = image_->GetByte(PlanByte(slot, index));
  if (b & kChInhibit) attr |= kAtInhibit;
  if (b & kChTag) attr |= kAtTag;
  if (b & kChTxInhibit) attr |= kAtTxInhibit;
  if (b & kChPoc) attr |= kAtPoc;
  if (b & kChSimplex) attr |= kAtSimplex;
  if (static_cast<std::int16_t>(image_->GetWord(kPWords + 2 * slot)) == index) acFlags |= kAcP;
  if (static_cast<std::int16_t>(image_->GetWord(kCWords + 2 * slot)) == index) acFlags |= kAcC;
  if (ForcedSimplex(index)) attr |= kAtSimplex;
}

void datCh::StorePlan(int slot) {
  const int a = PlanByte(slot, index);
  std::uint8_t b = image_->GetByte(a) & static_cast<std::uint8_t>(~kChEditable);
  if (attr & kAtInhibit) b |= kChInhibit;
  if (attr & kAtTag) b |= kChTag;
  if (attr & kAtTxInhibit) b |= kChTxInhibit;
  if (attr & kAtPoc) b |= kChPoc;
  if (attr & kAtSimplex) b |= kChSimplex;
  image_->SetByte(a, b);
  // A clear flag leaves the word alone: the plan keeps its P or C channel
  // until another channel claims it.
  if (acFlags & kAcP) image_->SetWord(kPWords + 2 * slot, static_cast<std::uint16_t>(index));
  if (acFlags & kAcC) image_->SetWord(kCWords + 2 * slot, static_cast<std::uint16_t>(index));
}

void datCh::LoadWeather() {
  if (image_->GetWord(kWxBits) & (1u << index)) attr |= kAtInhibit;
}

void datCh::StoreWeather() {
  std::uint16_t w = image_->GetWord(kWxBits);
  const auto bit = static_cast<std::uint16_t>(1u << index);
  w = (attr & kAtInhibit) ? (w | bit) : (w & static_cast<std::uint16_t>(~bit));
  image_->SetWord(kWxBits, w);
}

void datCh::LoadFree() {
  const int r = FreeRecord(index);
  const std::uint8_t steps = image_->GetByte(r + 7);
  rxHz = DecodeFreeRx(image_->GetWord(r), steps & kFreeRxFine);
  txHz = DecodeFreeTx(image_->GetWord(r + 2), steps & kFreeTxFine);
  for (int i = 0; i < kFreeNameLength; ++i)
    name[static_cast<std::size_t>(i)] = static_cast<char>(image_->GetByte(r + 4 + i));
}

void datCh::StoreFree() {
  const int r = FreeRecord(index);
  std::uint8_t steps =
      image_->GetByte(r + 7) & static_cast<std::uint8_t>(~(kFreeRxFine | kFreeTxFine));
  // An unset frequency has no value to encode: the record keeps what it had.
  if (!(state & kStRxUnset)) {
    const FreeChannelCode rx = EncodeFreeRx(rxHz);
    image_->SetWord(r, rx.code);
    if (rx.fine) steps |= kFreeRxFine;
  } else {
    steps |= image_->GetByte(r + 7) & kFreeRxFine;
  }
  if (!(state & kStTxUnset)) {
    const FreeChannelCode tx = EncodeFreeTx(txHz);
    image_->SetWord(r + 2, tx.code);
    if (tx.fine) steps |= kFreeTxFine;
  } else {
    steps |= image_->GetByte(r + 7) & kFreeTxFine;
  }
  image_->SetByte(r + 7, steps);
  for (int i = 0; i < kFreeNameLength; ++i)
    image_->SetByte(r + 4 + i, static_cast<std::uint8_t>(name[static_cast<std::size_t>(i)]));

  // The plans' simplex bit of a free channel follows its frequencies.
  const bool simplex = rxHz == txHz;
  for (int slot = 0; slot < kPlanCount; ++slot) {
    const int a = PlanByte(slot, kFreeIndexBase + index);
    const std::uint8_t b = image_->GetByte(a);
    image_->SetByte(a, simplex ? (b | kChSimplex) : (b & static_cast<std::uint8_t>(~kChSimplex)));
  }
}
