// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/evaluator.h"

#include "model/cell.h"
#include "model/cell_names.h"
#include "model/clip.h"
#include "model/clip_rows.h"
#include "model/command_target.h"
#include "model/eeprom.h"
#include "model/evaluator_internal.h"
#include "model/memory_map.h"
#include "platform/canvas.h"
#include "platform/fatal.h"
#include "text/gtex.h"

namespace {

// Keys a restricted cell swallows: typed characters and the editors' Enter.
bool IsEditKey(int action) {
  return (action >= 1 && action <= 126) || action == editor::kActAltEnter;
}

// Cells that show nothing at all; every other cell without a rule shows
// "%d *Yet*" with its position.
bool ShowsNothing(std::uint32_t id) {
  return id == CL_Null || id == CL_Free_Byte_Hex || id >= CL_NoCell;
}

void Restrict(evaluator::Run& run) {
  run.restricted = true;
  run.color = kOliveText;
}

}  // namespace

EvalResult Evaluate(cmcCellCapsule& cap, bool notify) {
  CommandTarget* target = GetCommandTarget();
  if (target == nullptr) platform::Fatal("No command target for the cell evaluator.");
  evaluator::Run run(cap, *target, target->WorkingImage());

  // 1. The cell and its channel category.
  run.cell = cap.cell;
  run.category = run.cell ? run.cell->Category() : CT_NoCategory;
  run.valueCategory = ValueCategoryOf(run.category);
  run.number = run.cell ? run.cell->Number() : 0;
  run.id = run.cell ? run.cell->Cell() : CL_NoCell;
  const bool carried = cap.action != 0 || cap.inputMode != 0 || cap.popupCommand != 0;

  // 2. A fresh answer; the channel; the echo.
  if (cap.action != 0) run.target.ShowStatus("", kStatusTextColor, kStatusBackColor);
  cap.outputText.clear();
  cap.stateFlags &=
      static_cast<std::uint8_t>(~(cmcCellCapsule::kWarningMark | cmcCellCapsule::kErrorMark));
  if (run.valueCategory != 0) {
    run.view.Load(static_cast<unsigned>(run.valueCategory), run.number);
    run.loaded = true;
  }
  cap.category = run.category;
  cap.cellId = static_cast<std::int32_t>(run.id);
  cap.number = run.number;
  if (cap.action == 256) cap.action = editor::kActEnter;
  const int action = cap.action;

  bool done = false;
  // 3. Commands from the cell's popup menu.
  if (cap.popupCommand == CL_PMenu_Edit) {
    cap.action = editor::kActEnter;
    cap.popupCommand = 0;
  } else if (cap.popupCommand >= static_cast<int>(CL_PMenu_Copy) &&
             cap.popupCommand <= static_cast<int>(CL_PMenu_Insert)) {
    const RowRange table = RowTableOf(run.valueCategory);
    if (run.loaded && run.number >= table.first && run.number <= table.last) {
      int first = run.number;
      int last = run.number;
      if (cap.rowFlags & cmcCellCapsule::kRowRangeSelected) {
        first = cap.firstRow;
        last = cap.lastRow;
      }
      RowCommand(cap, run.view, first, last, run.image, run.target.Clipboard(), table, run.target);
    }
    cap.action = 0;
    done = true;
  } else if (cap.popupCommand == CL_PMenu_Help) {
    run.target.ShowContextHelp(run.id);
    cap.action = 0;
    done = true;
  }

  // 4. A popup menu item acts on the channel of the cell it was opened on.
  if (!done && run.category == CT_PopupMenu && cap.related && cap.related->cell) {
    run.valueCategory = ValueCategoryOf(cap.related->cell->Category());
    run.number = cap.related->cell->Number();
    if (run.valueCategory != 0) {
      run.view.Load(static_cast<unsigned>(run.valueCategory), run.number);
      run.loaded = true;
    }
  }

  // 5. Inhibited channels, and simplex where the channel fixes it. F2 is an
  // editing key as much as a typed character, so it is held back as well.
  // Only the channel's own cells are held: a popup menu item opened on an
  // inhibited channel still offers its commands.
  const bool editKeyOrShow = cap.action <= 127 || cap.action == editor::kActAltEnter;
  const bool channelCell = memmap::IsPlanCategory(ValueCategoryOf(run.category));
  if (!done && channelCell && editKeyOrShow) {
    const bool inhibited = run.view.attr & datCh::kAtInhibit;
    if (inhibited && run.id != CL_ChList_No && run.id != CL_ChList_Atr) {
      Restrict(run);
      cap.outputText = "---";
      done = true;
    } else if (run.id == CL_ChList_Simp &&
               (run.number >= memmap::kClassicEnd || run.number % 2 == 1)) {
      // A free channel's simplex bit follows its frequencies: held, but shown.
      Restrict(run);
      if (run.number < memmap::kFreeIndexBase) {
        cap.outputText = "---";
        done = true;
      }
    }
  }

  // A restricted cell takes no key, typed text or choice.
  bool swallowed = false;
  if (run.restricted) {
    if (IsEditKey(cap.action)) swallowed = true;
    cap.action = 0;
    cap.inputMode = 0;
  }

  // 6. The cell's own rule.
  if (!done) {
    const bool handled = evaluator::ChannelCell(run) || evaluator::DrawingCell(run) ||
                         evaluator::SettingsCell(run) || evaluator::CommandCell(run) ||
                         evaluator::InformationCell(run);
    if (!handled) {
      if (run.id == Flex0) {
        cap.outputText = run.cell->Caption();
      } else if (!ShowsNothing(run.id)) {
        cap.outputText = std::to_string(run.id) + " *Yet*";
      }
    }
    if (run.restricted && IsEditKey(action)) swallowed = true;
  }

  if (run.color && cap.canvas) cap.canvas->SetTextColor(*run.color);

  // 7. Tell the caller what to redraw.
  int flags = kNotifyCell;
  if (run.loaded) flags |= kNotifyChannel;
  if (run.redrawAll) flags |= kNotifyAllCells;
  if (notify && cap.changeCallback) cap.changeCallback(cap, flags);

  // 8. The controller refreshes its status and the modified state.
  if (carried) run.target.NoteActivity();
  if (swallowed) {
    run.target.ShowStatus(gGTex->Text("GI_Botttom_EditRestrected"), kRestrictedTextColor,
                          kRestrictedBackColor);
  }
  return run.result;
}

std::string CellText(cmcCellObj& cell, int action) {
  cmcCellCapsule capsule;
  capsule.cell = &cell;
  capsule.action = action;
  Evaluate(capsule, false);
  return capsule.outputText;
}

EvalResult CellCommand(cmcCellObj& cell, int action) {
  cmcCellCapsule capsule;
  capsule.cell = &cell;
  capsule.action = action;
  return Evaluate(capsule, false);
}

CellMarkBits CellMarks(int category, std::uint32_t cellId, int number) {
  cmcCellObj cell;
  cell.SetCategory(category);
  cell.SetCell(cellId);
  cell.SetNumber(number);
  cmcCellCapsule capsule;
  capsule.cell = &cell;
  Evaluate(capsule, false);
  return {capsule.ErrorMark(), capsule.WarningMark()};
}

namespace evaluator {

editor::Input Run::Input() const {
  editor::Input in;
  in.inputMode = cap.inputMode;
  // A commit or a pick may come with the Enter that started it still in the
  // capsule (a chooser's pick is a copy of the capsule that opened it); it
  // must not open the editor or the chooser again.
  in.keys = cap.grid != nullptr && cap.inputMode == cmcCellCapsule::kInputNone;
  in.action = in.keys ? cap.action : 0;
  in.text = cap.inputText;
  if (cap.inputMode == cmcCellCapsule::kInputChoice) {
    // A pick without a chosen cell carries nothing to apply.
    if (cap.related && cap.related->cell)
      in.choice = cap.related->cell->Number();
    else
      in.inputMode = 0;
  }
  return in;
}

void Run::Apply(const editor::Output& out) {
  cap.outputText = out.text;
  if (out.result == EvalResult::kOpenEditor) {
    cap.cursorPosition = out.cursor;
    cap.selectionLength = out.selection;
    result = EvalResult::kOpenEditor;
  }
}

void Run::OpenChooser(const std::string& list, int current) {
  target.OpenChooser(cap, list, current);
  result = EvalResult::kChooserOpened;
}

void Run::SetCellFlag(int flag, bool on) {
  if (cell) cell->SetFlag(flag, on);
}

void Run::StoreChannel() { view.Reload(); }

bool AttributeError(const datCh& view) {
  return (view.attr & datCh::kAtInhibit) && (view.acFlags & (datCh::kAcP | datCh::kAcC));
}

}  // namespace evaluator
