// SPDX-License-Identifier: GPL-3.0-or-later
// The channel cells: plan channel lists, weather channels and free channels.
#include "model/cell.h"
#include "model/cell_names.h"
#include "model/command_target.h"
#include "model/datch_index.h"
#include "model/editor_frequency.h"
#include "model/editor_integer.h"
#include "model/editor_text.h"
#include "model/eeprom.h"
#include "model/evaluator.h"
#include "model/evaluator_internal.h"
#include "model/fcache.h"
#include "model/memory_map.h"

namespace evaluator {

namespace {

// Attribute choices of the P/C list.
constexpr int kChooseP = 1;
constexpr int kChooseC = 2;
constexpr int kToggleInhibit = 3;
constexpr int kSwitchListForm = 4;

// An option list over one attribute bit of the loaded channel.
void AttributeOption(Run& run, const char* list, unsigned bit) {
  CachedList options(run.target.OptionCache(), list);
  int v = (run.view.attr & bit) ? 1 : 0;
  editor::Output out;
  editor::EditOption(options, v, run.Input(), out);
  if (out.changed) {
    run.view.attr = v ? (run.view.attr | bit) : (run.view.attr & ~bit);
    run.StoreChannel();
    out.text = options.TextFor((run.view.attr & bit) ? 1 : 0);
  }
  run.Apply(out);
  if (out.result == EvalResult::kChooserOpened) run.OpenChooser(list, v);
}

bool AllWeatherInhibited(const cmcEeprom& image) {
  return (image.GetWord(memmap::kWxBits) & memmap::kWxAllInhibited) == memmap::kWxAllInhibited;
}

bool PlanHasAttributeError(cmcEeprom& image, unsigned category) {
  datCh v(&image);
  for (int i = 0; i < memmap::kPlanEntries; ++i) {
    v.Load(category, i);
    if (AttributeError(v)) return true;
  }
  return false;
}

void SetError(Run& run, bool on) {
  if (on) run.cap.stateFlags |= cmcCellCapsule::kErrorMark;
}

void Attribute(Run& run) {
  datCh& ch = run.view;
  std::string shown;
  if (ch.acFlags & datCh::kAcP) shown += "P";
  if (ch.acFlags & datCh::kAcC) shown += "C";
  const bool usable = run.target.UsableChannelsView();
  const editor::Input in = run.Input();
  if (in.inputMode == cmcCellCapsule::kInputChoice) {
    switch (in.choice) {
      case kChooseP:
      case kChooseC:
        ch.acFlags |= in.choice == kChooseP ? datCh::kAcP : datCh::kAcC;
        ch.attr &= ~datCh::kAtInhibit;
        run.StoreChannel();
        run.target.Post(ev::AttributeChosen{false});
        run.redrawAll = true;
        break;
      case kToggleInhibit:
        ch.attr ^= datCh::kAtInhibit;
        run.StoreChannel();
        break;
      case kSwitchListForm: run.target.Post(ev::AttributeChosen{true}); break;
      default: break;
    }
    shown.clear();
    if (ch.acFlags & datCh::kAcP) shown += "P";
    if (ch.acFlags & datCh::kAcC) shown += "C";
  } else if (editor::KeyPresent(in)) {
    if (editor::IsEnter(in.action)) {
      run.OpenChooser(usable ? "GI_Sheet_Sel_ChATRUse" : "GI_Sheet_Sel_ChATRAll", 0);
    } else if (!usable && (in.action == editor::kActSpace || in.action == editor::kActBackspace)) {
      ch.attr ^= datCh::kAtInhibit;
      run.StoreChannel();
    }
  }
  run.cap.outputText = shown;
  SetError(run, AttributeError(ch));
}

void FreeFrequency(Run& run, bool transmit) {
  datCh& ch = run.view;
  editor::Frequency rx{ch.rxHz, !(ch.state & datCh::kStRxUnset)};
  editor::Frequency tx{ch.txHz, !(ch.state & datCh::kStTxUnset)};
  editor::Output out;
  const auto shape = editor::EditFrequency(transmit, rx, tx, run.Input(), out);
  if (out.changed) {
    ch.rxHz = rx.hz;
    ch.txHz = tx.hz;
    ch.state = (ch.state & ~(datCh::kStRxUnset | datCh::kStTxUnset)) |
               (rx.set ? 0u : datCh::kStRxUnset) | (tx.set ? 0u : datCh::kStTxUnset);
    // The channel's row is redrawn (kNotifyChannel), which shows a transmit
    // frequency that followed a simplex receive change.
    run.StoreChannel();
    if (out.result != EvalResult::kOpenEditor) {
      // The record keeps frequencies in 6.25 and 12.5 kHz steps, so a raster
      // point between them reads back lower: show what the image now holds.
      editor::Frequency r{ch.rxHz, !(ch.state & datCh::kStRxUnset)};
      editor::Frequency t{ch.txHz, !(ch.state & datCh::kStTxUnset)};
      editor::Output shown;
      editor::EditFrequency(transmit, r, t, editor::Input{}, shown);
      out.text = shown.text;
    }
  }
  if (run.cell) {
    const std::uint8_t layout = run.cell->LayoutByte() & static_cast<std::uint8_t>(~3u);
    run.cell->SetLayoutByte(layout | (shape.centred ? 1 : 2));
  }
  run.Apply(out);
}

void FreeName(Run& run) {
  datCh& ch = run.view;
  std::vector<std::uint8_t> bytes(ch.name.begin(), ch.name.end());
  editor::Output out;
  editor::EditText(bytes, run.Input(), out);
  if (out.changed) {
    ch.SetName(editor::FitChannelName(std::string(bytes.begin(), bytes.end())));
    run.StoreChannel();
    if (out.result != EvalResult::kOpenEditor)
      out.text = editor::TextShown({ch.name.begin(), ch.name.end()});
  }
  run.Apply(out);
}

}  // namespace

bool ChannelCell(Run& run) {
  // A channel sheet in the usable-channels view fills its last rows with
  // index 418, one past the plan: such a row has no channel to show or edit.
  const bool onChannel =
      run.id == CL_ChList_No || (run.id >= CL_ChList_Atr && run.id <= CL_Fch_ChName);
  if (onChannel && run.valueCategory != 0 &&
      !datCh::IsValidKey(static_cast<unsigned>(run.valueCategory), run.number)) {
    return true;
  }
  switch (run.id) {
    case CL_ChList_No:
      if (memmap::IsPlanCategory(run.valueCategory)) {
        run.cap.outputText = ChannelIndexText(run.image, run.number);
      } else {
        run.cap.outputText = std::to_string(run.number);
      }
      return true;
    case CL_ChList_Atr:
      if (memmap::IsPlanCategory(run.valueCategory)) Attribute(run);
      return true;
    case CL_ChList_Tag: AttributeOption(run, "GI_Sheet_Sel_ChTag", datCh::kAtTag); return true;
    case CL_ChList_TxInh:
      AttributeOption(run, "GI_Sheet_Sel_ChTxInh", datCh::kAtTxInhibit);
      return true;
    case CL_ChList_Poc: AttributeOption(run, "GI_Sheet_Sel_ChPoc", datCh::kAtPoc); return true;
    case CL_ChList_Simp:
      AttributeOption(run, "GI_Sheet_Sel_ChSimp", datCh::kAtSimplex);
      return true;
    case CL_WX_ChNo: run.cap.outputText = std::to_string(run.number + 1); return true;
    case CL_WX_ChInh: {
      const unsigned before = run.view.attr & datCh::kAtInhibit;
      AttributeOption(run, "GI_Sheet_Sel_ChInh", datCh::kAtInhibit);
      if ((run.view.attr & datCh::kAtInhibit) != before) {
        run.target.Post(ev::RedrawCellsOfCell{CL_WX_ChInh});
      }
      SetError(run, AllWeatherInhibited(run.image));
      return true;
    }
    case CL_Fch_FreqR:
    case CL_Fch_FreqT:
      if (run.valueCategory == memmap::kCatFree) FreeFrequency(run, run.id == CL_Fch_FreqT);
      return true;
    case CL_Fch_ChName:
      if (run.valueCategory == memmap::kCatFree) FreeName(run);
      return true;
    case CL_Free_Byte_Dec: {
      if (!run.image.IsValidAddress(run.number)) return true;
      int v = run.image.GetByte(run.number);
      editor::Output out;
      editor::EditInteger({0, 255, 0, 1, {}, false}, v, run.Input(), out);
      if (out.changed) run.image.SetByte(run.number, static_cast<std::uint8_t>(v));
      run.Apply(out);
      return true;
    }
    case CL_Misc_ChNo_0Base: run.cap.outputText = std::to_string(run.number); return true;
    case CL_Misc_ChNo_1Base: run.cap.outputText = std::to_string(run.number + 1); return true;
    case CL_Check_Usa_ChInh:
      SetError(run, PlanHasAttributeError(run.image, memmap::kCatUsa));
      return true;
    case CL_Check_Int_ChInh:
      SetError(run, PlanHasAttributeError(run.image, memmap::kCatInt));
      return true;
    case CL_Check_Can_ChInh:
      SetError(run, PlanHasAttributeError(run.image, memmap::kCatCan));
      return true;
    case CL_Check_Suv_ChInh:
      SetError(run, PlanHasAttributeError(run.image, memmap::kCatSuv));
      return true;
    case CL_Check_Wx_ChInh: SetError(run, AllWeatherInhibited(run.image)); return true;
    default: return false;
  }
}

}  // namespace evaluator
