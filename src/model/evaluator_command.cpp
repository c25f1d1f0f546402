// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing and fixed cells, settings cells, and the command cells of the
// menus, the tool bar and the tree.
#include <cstdio>

#include "model/cell.h"
#include "model/cell_names.h"
#include "model/clip.h"
#include "model/clip_rows.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "model/evaluator_internal.h"
#include "platform/canvas.h"
#include "text/gtex.h"
#include "text/syntax.h"

// The cell-menu events name the Edit menu's item by this number, and the
// menus find that item by its cell: the two must stay one number.
static_assert(kEvCellMenuItem == static_cast<int>(CL_Menu_Edit_Top));

namespace evaluator {

namespace {

void Recent(Run& run, bool execute) {
  const int n = run.number;
  const std::string file = run.target.RecentFile(n);
  char head[24];
  std::snprintf(head, sizeof head, "&%d ", n + 1);
  run.cap.outputText = head + DoubleAmpersands(file);
  if (run.cell) run.cell->SetCaption(run.cap.outputText);
  run.SetCellFlag(cmcCellObj::kFlagCaptionReplaced, true);
  run.SetCellFlag(cmcCellObj::kFlagDisabled, file.empty());
  run.SetCellFlag(cmcCellObj::kFlagHidden, file.empty() && n != 0);
  if (execute && !file.empty()) run.target.OpenRecent(n);
}

// Whether the row table lets the command through for this category.
bool RowCommandAllowed(std::uint32_t id, int valueCategory) {
  const RowRange table = RowTableOf(valueCategory);
  switch (id) {
    case CL_PMenu_CarryUp:
    case CL_PMenu_CarryDown: return table.carry;
    case CL_PMenu_Clear: return table.clear;
    case CL_PMenu_Delete: return table.remove;
    case CL_PMenu_Insert: return table.insert;
    default: return false;
  }
}

}  // namespace

bool DrawingCell(Run& run) {
  platform::Canvas* canvas = run.cap.canvas;
  const platform::Rect* r = run.cap.rect;
  switch (run.id) {
    case CL_Misc_QuarterPillar:
      if (canvas && r) {
        canvas->SetBrushColor(kDrawingGrey);
        canvas->FillRect({r->left, r->bottom - (r->bottom - r->top) * 3 / 10, r->right, r->bottom});
      }
      return true;
    case CL_CannotEdit:
      run.restricted = true;
      run.color = kOliveText;
      if (canvas && r) {
        canvas->SetPenColor(kDrawingGrey);
        canvas->Line({r->right - 1, r->top}, {r->left, r->bottom - 1});
      }
      return true;
    case CL_Dummy:
      run.restricted = true;
      run.color = kOliveText;
      run.cap.outputText = run.cell ? run.cell->Caption() : std::string();
      return true;
    default: return false;
  }
}

bool SettingsCell(Run& run) {
  const settings::Rule* rule = settings::FindRule(run.id);
  if (rule == nullptr) return false;
  CachedLists lists(run.target.OptionCache());
  settings::Context ctx{&run.image, run.target.ModelType(), &lists,
                        gGTex->Text("GI_AppInd_TimerOff"), gGTex->Text("GI_AppInd_Atis_IdOff")};
  settings::Result r;
  settings::Evaluate(*rule, ctx, run.Input(), r);
  run.Apply(r.out);
  if (r.olive)
    run.color = kOliveText;
  else if (r.silver)
    run.color = kSilverText;
  if (r.restricted) run.restricted = true;
  if (r.out.result == EvalResult::kChooserOpened)
    run.OpenChooser(r.chooserList, settings::ReadField(*rule, run.image));
  if (r.redrawAll) run.redrawAll = true;
  if (r.planChanged) run.target.Send(ev::RebuildChannelNodes{});
  return true;
}

bool CommandCell(Run& run) {
  CommandTarget& t = run.target;
  const bool execute = run.cap.action == editor::kActEnter;
  switch (run.id) {
    case CL_Menu_File_New:
      if (execute) t.FileNew();
      return true;
    case CL_Menu_File_Open:
      if (execute) t.FileOpen();
      return true;
    case CL_Menu_File_Save:
      if (execute) {
        if (t.HasFileName())
          t.FileSave();
        else
          t.FileSaveAs();
      }
      return true;
    case CL_Menu_File_SaveAs:
      if (execute) t.FileSaveAs();
      return true;
    case CL_Menu_File_Print_Current:
      run.SetCellFlag(cmcCellObj::kFlagDisabled, !t.CanPrintCurrent());
      if (execute && t.CanPrintCurrent()) t.PrintCurrent();
      return true;
    case CL_Menu_File_Print_All:
      if (execute) t.PrintAll();
      return true;
    case CL_Menu_File_Recent: Recent(run, execute); return true;
    case CL_Menu_File_BackupFolder:
      if (execute) t.OpenBackupFolder();
      return true;
    case CL_Menu_File_Backups:
      if (execute) t.ShowBackups();
      return true;
    case CL_Menu_File_ExportCsv:
      if (execute) t.ExportCsv();
      return true;
    case CL_Menu_File_ImportCsv:
      if (execute) t.ImportCsv();
      return true;
    case CL_Menu_File_Compare:
      if (execute) t.CompareWithFile();
      return true;
    case CL_Menu_File_Exit:
      if (execute) t.CloseMainWindow();
      return true;
    case CL_Menu_Edit_Top:
      // An empty Edit menu gets its placeholder item; sheets fill it otherwise.
      if (t.EditMenuItemCount() == 0) {
        t.Post(ev::FillCellMenu{t.MainMenu(), kEvCellMenuItem, "GI_PMenu_NoItem"});
      }
      return true;
    case CL_Menu_Edit_Undo:
      if (execute && t.CanUndo()) t.Undo();
      run.SetCellFlag(cmcCellObj::kFlagDisabled, !t.CanUndo());
      return true;
    case CL_Menu_Edit_Redo:
      if (execute && t.CanRedo()) t.Redo();
      run.SetCellFlag(cmcCellObj::kFlagDisabled, !t.CanRedo());
      return true;
    case CL_Menu_View_FontSize:
      if (execute) t.SetFontSize(run.number);
      run.SetCellFlag(cmcCellObj::kFlagChecked, run.number == t.FontSize());
      return true;
    case CL_Menu_View_ToolBar:
      if (execute) t.ToggleToolBar();
      run.SetCellFlag(cmcCellObj::kFlagChecked, t.ToolBarVisible());
      return true;
    case CL_Menu_Port_Com:
      if (execute) {
        t.SetPort(run.number);
        t.Send(ev::CommandsChanged{});
      }
      run.SetCellFlag(cmcCellObj::kFlagChecked, run.number == t.CurrentPort());
      return true;
    case CL_Menu_Port_Usb:
      if (execute) t.OpenPortSelection(0);
      run.SetCellFlag(cmcCellObj::kFlagChecked, t.CurrentPort() > 4);
      return true;
    case CL_Menu_Port_ComList0:
    case CL_Menu_Port_ComList1:
    case CL_Menu_Port_ComList2:
      if (execute) t.OpenPortSelection(static_cast<int>(run.id - CL_Menu_Port_ComList0));
      return true;
    case CL_Menu_Port_Find:
      if (execute) t.FindRadio();
      return true;
    case CL_Menu_Clone_Read:
      if (execute) t.CloneRead();
      return true;
    case CL_Menu_Clone_Write:
      if (execute) t.CloneWrite();
      return true;
    case CL_Menu_Clone_Verify:
      if (execute) t.ToggleVerifyAfterWrite();
      run.SetCellFlag(cmcCellObj::kFlagChecked, t.VerifyAfterWrite());
      return true;
    case CL_Menu_Clone_Info:
      if (execute) t.CloneInformation();
      return true;
    case CL_Menu_Clone_Compare:
      if (execute) t.CompareWithRadio();
      return true;
    case CL_Menu_Clone_Fleet:
      if (execute) t.FleetProgramming();
      return true;
    case CL_Model:
      if (execute) t.ChangeModel(run.number);
      run.SetCellFlag(cmcCellObj::kFlagChecked, run.number == t.ModelType());
      return true;
    case CL_Help_About:
      if (execute) t.Post(ev::ShowAbout{});
      return true;
    case CL_Help_Contents:
      if (execute) t.ShowHelpContents();
      return true;
    case CallSheet:
      if (execute && run.cell) t.OpenSheet(run.cell->Parameter());
      return true;
    case CL_PMenu_NoItem:
      run.SetCellFlag(cmcCellObj::kFlagDisabled, true);
      run.SetCellFlag(cmcCellObj::kFlagHidden, t.EditMenuItemCount() != 1);
      return true;
    case CL_PMenu_Paste:
      run.SetCellFlag(cmcCellObj::kFlagDisabled, !t.Clipboard().HasRowsOf(run.valueCategory));
      return true;
    case CL_PMenu_CarryUp:
    case CL_PMenu_CarryDown:
    case CL_PMenu_Clear:
    case CL_PMenu_Delete:
    case CL_PMenu_Insert:
      run.SetCellFlag(cmcCellObj::kFlagDisabled, !RowCommandAllowed(run.id, run.valueCategory));
      return true;
    default: return false;
  }
}

}  // namespace evaluator
