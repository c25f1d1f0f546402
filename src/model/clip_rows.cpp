// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clip_rows.h"

#include <algorithm>

#include "model/cell_names.h"
#include "model/clip.h"
#include "model/command_target.h"
#include "model/datch.h"
#include "model/eeprom.h"
#include "model/evaluator.h"
#include "model/memory_map.h"
#include "model/user_questions.h"
#include "platform/message_box.h"
#include "text/gtex.h"

namespace {

bool Confirm(UserQuestions& questions, const char* key) {
  return questions.Ask(key, platform::kMbOkCancel | platform::kMbIconExclamation) ==
         platform::kIdOk;
}

void Status(CommandTarget& target, const char* key) {
  target.ShowStatus(gGTex->Text(key), kStatusTextColor, kStatusBackColor);
}

// A plan or weather channel is in use unless it is inhibited (a plan's P
// or C channel always is). A free channel is in use while it has a name or
// any plan lists it; the unused records carry a blank name and are
// inhibited in every plan. Overwriting a channel not in use loses nothing
// the radio shows, so only channels in use are asked about.
bool ChannelInUse(cmcEeprom& image, unsigned category, int index) {
  datCh v(&image);
  if (category == static_cast<unsigned>(memmap::kCatFree)) {
    v.Load(category, index);
    const bool named =
        std::any_of(v.name.begin(), v.name.end(), [](char c) { return c != ' ' && c != '\0'; });
    if (named) return true;
    for (int slot = 0; slot < memmap::kPlanCount; ++slot) {
      if (ChannelInUse(image, memmap::SlotCategory(slot), memmap::kFreeIndexBase + index))
        return true;
    }
    return false;
  }
  v.Load(category, index);
  return !(v.attr & datCh::kAtInhibit) || (v.acFlags & (datCh::kAcP | datCh::kAcC));
}

bool RangeUnused(cmcEeprom& image, unsigned category, int first, int last) {
  for (int i = first; i <= last; ++i) {
    if (ChannelInUse(image, category, i)) return false;
  }
  return true;
}

void BlankRows(cmcEeprom& image, unsigned category, int first, int last) {
  datCh v(&image);
  for (int i = first; i <= last; ++i) {
    v.Blank();
    v.category = category;
    v.index = i;
    v.Store();
  }
}

void Select(cmcCellCapsule& capsule, int first, int last) {
  capsule.firstRow = first;
  capsule.lastRow = last;
  capsule.rowFlags |= cmcCellCapsule::kRowsChanged;
}

}  // namespace

RowRange RowTableOf(int valueCategory) {
  // Copy and paste reach every row of the category's channel list; the
  // commands that move or blank rows stay closed.
  RowRange r;
  if (memmap::IsPlanCategory(valueCategory))
    r.last = memmap::kPlanEntries - 1;
  else if (valueCategory == memmap::kCatWx)
    r.last = memmap::kWxCount - 1;
  else if (valueCategory == memmap::kCatFree)
    r.last = memmap::kFreeCount - 1;
  return r;
}

void RowCommand(cmcCellCapsule& capsule, datCh& view, int first, int last, cmcEeprom& image,
                cmcClipCh& clip, const RowRange& table, CommandTarget& target) {
  const unsigned category = view.category;
  const int cat = static_cast<int>(category);
  const int current = view.index;
  if (current < table.first || current > table.last) return;
  first = std::max(first, table.first);
  last = std::min(last, table.last);
  if (first > last) first = last = current;
  const int n = last - first + 1;

  switch (capsule.popupCommand) {
    case CL_PMenu_Copy:
      clip.CopyFromImage(image, cat, first, n);
      Select(capsule, first, last);
      Status(target, "GI_AppMess_S_Copy");
      break;

    case CL_PMenu_Paste: {
      if (!clip.HasRowsOf(cat)) break;
      const int d = current;
      const int count = std::min(table.last - d + 1, clip.Count());
      if (!RangeUnused(image, category, d, d + count - 1) &&
          !Confirm(target.Questions(), "GI_AppMess_Conv_Overwrite"))
        break;
      clip.PasteIntoImage(image, cat, d, count);
      if (count == 1)
        target.Post(ev::RedrawCellsOfNumber{d});
      else
        target.Post(ev::RedrawAllCells{});
      Select(capsule, d, d + count - 1);
      Status(target, "GI_AppMess_S_Paste");
      break;
    }

    case CL_PMenu_CarryUp:
    case CL_PMenu_CarryDown: {
      if (!table.carry) break;
      const bool up = capsule.popupCommand == CL_PMenu_CarryUp;
      if (up ? first <= table.first : last >= table.last) break;
      // The block moves one row; the displaced neighbour goes to its other end.
      cmcClipCh block;
      cmcClipCh neighbour;
      block.CopyFromImage(image, cat, first, n);
      neighbour.CopyFromImage(image, cat, up ? first - 1 : last + 1, 1);
      const int shift = up ? -1 : 1;
      block.PasteIntoImage(image, cat, first + shift, n);
      neighbour.PasteIntoImage(image, cat, up ? last : first, 1);
      Select(capsule, first + shift, last + shift);
      capsule.reposition = 1;
      capsule.number = up ? first + shift : last + shift;
      target.Post(ev::RedrawAllCells{});
      break;
    }

    case CL_PMenu_Clear:
      if (!table.clear || !Confirm(target.Questions(), "GI_AppMess_Conv_Clear")) break;
      BlankRows(image, category, first, last);
      for (int i = first; i <= last; ++i) target.Post(ev::RedrawCellsOfNumber{i});
      Select(capsule, first, last);
      Status(target, "GI_AppMess_S_Clear");
      break;

    case CL_PMenu_Delete: {
      if (!table.remove) break;
      if (!RangeUnused(image, category, first, last) &&
          !Confirm(target.Questions(), "GI_AppMess_Conv_Delete"))
        break;
      if (last < table.last) {
        cmcClipCh below;
        below.CopyFromImage(image, cat, last + 1, table.last - last);
        below.PasteIntoImage(image, cat, first, below.Count());
      }
      BlankRows(image, category, table.last - n + 1, table.last);
      target.Post(ev::RedrawAllCells{});
      Select(capsule, first, last);
      Status(target, "GI_AppMess_S_Delete");
      break;
    }

    case CL_PMenu_Insert: {
      if (!table.insert) break;
      const int fallFirst = std::max(table.last - n + 1, first);
      if (!RangeUnused(image, category, fallFirst, table.last) &&
          !Confirm(target.Questions(), "GI_AppMess_Conv_Overflow"))
        break;
      if (first + n <= table.last) {
        cmcClipCh moved;
        moved.CopyFromImage(image, cat, first, table.last - first - n + 1);
        moved.PasteIntoImage(image, cat, first + n, moved.Count());
      }
      BlankRows(image, category, first, last);
      target.Post(ev::RedrawAllCells{});
      Select(capsule, first, last);
      Status(target, "GI_AppMess_S_Insert");
      break;
    }

    default: break;
  }
  view.Load(category, view.index);
}
