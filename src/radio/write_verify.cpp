// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/write_verify.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "model/eeprom.h"
#include "model/memory_map.h"
#include "radio/clone_man_message.h"
#include "radio/clone_man_ranges.h"
#include "text/gtex.h"

namespace verify {
namespace {

std::string Hex(int value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
  return text;
}

// The areas of the memory outside the channel bytes and the free channel
// records, each with its line of GI_Mess_Verify_Areas.
struct Area {
  int first;
  int last;
  int line;
};
constexpr Area kAreas[] = {
    {memmap::kSavedPWords, memmap::kAtisId - 1, 2},
    {memmap::kAtisId, memmap::kComment - 1, 3},
    {memmap::kComment, memmap::kDealerAreaFirst - 1, 4},
    {memmap::kDealerAreaFirst, memmap::kDealerAreaLast, 5},
    {memmap::kDealerActive, memmap::kDealerActiveLast, 6},
    {memmap::kDealerBlock, memmap::kFileLast, 7},
};
constexpr int kOtherLine = 8;

}  // namespace

std::optional<int> FirstDifference(const cmcEeprom& sent, const cmcEeprom& readBack,
                                   const clsAddrRangeList& written) {
  std::optional<int> first;
  for (const clsAddrRange& range : written) {
    if (range.IsTerminator()) break;
    for (const clsAddrRange& readable : cloneman::ReadRanges()) {
      const int from = std::max(range.first, readable.first);
      const int to = std::min({range.last, readable.last, sent.Size() - 1, readBack.Size() - 1});
      for (int a = from; a <= to && (!first || a < *first); ++a) {
        if (sent.GetByte(a) != readBack.GetByte(a)) first = a;
      }
    }
  }
  return first;
}

bool PlanPageShown(int slot, const cmcEeprom& image, int model) {
  // The switches the tree's channel-list nodes carry (their flags in
  // GI_Tree_Main_Body): the SUV list goes with the SUV models, the others
  // with the plan switches of the image.
  if (slot < 0 || slot >= memmap::kPlanCount) return false;
  const unsigned plan = memmap::SlotCategory(slot);
  return plan == memmap::kCatSuv ? memmap::InGroupS(model) : memmap::PlanOn(image, plan);
}

std::string PlaceOf(int address, const cmcEeprom& image, int model) {
  const std::string key = "GI_Mess_Verify_Areas";
  if (address >= 0 && address < memmap::kFreeBase) {
    const int slot = address / memmap::kPlanSpacing;
    const int index = address % memmap::kPlanSpacing;
    if (slot < memmap::kPlanCount && index < memmap::kPlanEntries) {
      const std::vector<std::string> values{gGTex->Line("GI_Mess_Verify_Plans", slot),
                                            std::to_string(index)};
      return cloneman::FormatTexts(PlanPageShown(slot, image, model)
                                       ? gGTex->Line(key, 0)
                                       : gGTex->Line("GI_Mess_Verify_Unshown", 0),
                                   values);
    }
  }
  const int freeEnd = memmap::FreeRecord(memmap::kFreeCount);
  if (address >= memmap::kFreeBase && address < freeEnd) {
    const int record = (address - memmap::kFreeBase) / memmap::kFreeRecordSize;
    const int byte = (address - memmap::kFreeBase) % memmap::kFreeRecordSize;
    return cloneman::FormatTexts(gGTex->Line(key, 1),
                                 {std::to_string(record), std::to_string(byte)});
  }
  for (const Area& area : kAreas) {
    if (address >= area.first && address <= area.last) return gGTex->Line(key, area.line);
  }
  return gGTex->Line(key, kOtherLine);
}

std::string FailureText(int address, int sent, int readBack, const cmcEeprom& image, int model) {
  return cloneman::FormatTexts(
      gGTex->Block("GI_Mess_Verify_Failed"),
      {Hex(address, 3), PlaceOf(address, image, model), Hex(sent, 2), Hex(readBack, 2)});
}

}  // namespace verify
