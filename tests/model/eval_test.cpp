// SPDX-License-Identifier: GPL-3.0-or-later
// The evaluation flow itself, and the command, drawing, settings and
// information cells.
#include "model/cell_names.h"
#include "support/eval_support.h"

namespace evaltest {
namespace {

class Eval : public EvalTest {};

// The cells that show "%d *Yet*": no behaviour of their own.
const std::set<std::uint32_t>& YetCells() {
  static const std::set<std::uint32_t> cells = [] {
    std::set<std::uint32_t> s = {CL_FBits,
                                 CL_Free_DscId,
                                 CL_Menu_Port_SpeedHigh,
                                 CL_Menu_Debug_Compare,
                                 CL_Menu_Debug_CorrectComp,
                                 CL_Menu_Debug_Window,
                                 CL_Menu_Debug_EeWindow,
                                 CL_PMenu_Edit,
                                 CL_PMenu_Copy,
                                 CL_PMenu_Help,
                                 CL_Comm_Opening_Edit,
                                 CL_Comm_Direct_Edit,
                                 CL_Comm_PowSaveCont,
                                 CL_Comm_ScrmRcv};
    for (std::uint32_t c = CL_EeDebugWin_Adr; c <= CL_EeDebugWin_F; ++c) s.insert(c);
    return s;
  }();
  return cells;
}

TEST_F(Eval, EveryCellHasItsRuleOrIsListedWithoutOne) {
  const std::set<std::uint32_t> nothing = {CL_Null, CL_Free_Byte_Hex};
  for (std::uint32_t id = 0; id <= CL_NoCell; ++id) {
    auto cell = Cell(CT_Null, id, 0);
    cell.SetCaption("caption");
    const std::string shown = Show(cell);
    const std::string yet = std::to_string(id) + " *Yet*";
    if (YetCells().count(id)) {
      EXPECT_EQ(shown, yet) << CellName(id);
    } else {
      EXPECT_NE(shown, yet) << CellName(id) << " has no rule";
    }
    if (nothing.count(id) || id == CL_NoCell) {
      EXPECT_EQ(shown, "") << id;
    }
  }
  auto flex = Cell(CT_Null, Flex0);
  flex.SetCaption("My caption");
  EXPECT_EQ(Show(flex), "My caption");
  // Showing changes nothing in the image, except the cell that keeps the
  // international plan on and the identity's checksum, which follows the
  // (all zero, so valid) identity.
  EXPECT_EQ(target.image.GetByte(0x973), 0x02);
  EXPECT_EQ(target.image.GetByte(0x985), 0xFF);
  target.image.SetByte(0x973, 0);
  target.image.SetByte(0x985, 0);
  EXPECT_TRUE(target.image.Equals(cmcEeprom(memmap::kImageSize)));
  EXPECT_EQ(target.activity, 0);
  EXPECT_TRUE(target.calls.empty());
}

TEST_F(Eval, ActionsClearTheStatusBarAndReportActivity) {
  auto beep = Cell(CT_Null, CL_Comm_Beep);
  Show(beep);
  EXPECT_TRUE(EventsOf<ev::StatusText>().empty());
  EXPECT_EQ(target.activity, 0);

  Key(beep, ' ');
  const auto status = EventsOf<ev::StatusText>();
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].text, "");
  EXPECT_EQ(status[0].color, kStatusTextColor);
  EXPECT_EQ(status[0].background, kStatusBackColor);
  EXPECT_EQ(target.activity, 1);
  Type(beep, "x");
  Pick(beep, 1);
  EXPECT_EQ(target.activity, 3);
  EXPECT_EQ(target.image.GetByte(0x956), 1);
}

TEST_F(Eval, EchoAndNotificationFlags) {
  auto tag = Cell(CT_CanCh, CL_ChList_Tag, 12);
  int flags = 0;
  auto cap = SheetCapsule(tag, 256);  // a double click is Enter
  cap.changeCallback = [&flags](cmcCellCapsule&, int f) { flags = f; };
  EXPECT_EQ(Run(cap, true), EvalResult::kChooserOpened);
  EXPECT_EQ(cap.category, CT_CanCh);
  EXPECT_EQ(cap.cellId, static_cast<int>(CL_ChList_Tag));
  EXPECT_EQ(cap.number, 12);
  EXPECT_EQ(flags, kNotifyCell | kNotifyChannel);
  EXPECT_EQ(target.calls.back(), "Chooser GI_Sheet_Sel_ChTag 0");

  // Without notify the callback is not called.
  flags = 0;
  Run(cap, false);
  EXPECT_EQ(flags, 0);

  auto beep = Cell(CT_Null, CL_Comm_Beep);
  auto plain = SheetCapsule(beep);
  plain.changeCallback = cap.changeCallback;
  Run(plain, true);
  EXPECT_EQ(flags, kNotifyCell);
}

TEST_F(Eval, APickOrCommitCarryingItsEnterIsAppliedOnce) {
  // The chooser's pick is a copy of the capsule that opened it, Enter and all.
  auto beep = Cell(CT_Null, CL_Comm_Beep);
  auto opened = SheetCapsule(beep, 13);
  EXPECT_EQ(Run(opened), EvalResult::kChooserOpened);
  target.calls.clear();
  picked = Cell(CT_NoCategory, Flex0, 1);
  pickCapsule.cell = &picked;
  cmcCellCapsule pick = opened;
  pick.related = &pickCapsule;
  pick.inputMode = cmcCellCapsule::kInputChoice;
  EXPECT_EQ(Run(pick), EvalResult::kDone);
  EXPECT_EQ(target.image.GetByte(0x956), 1);
  EXPECT_TRUE(target.calls.empty());

  auto volTm = Cell(CT_Null, CL_Comm_VolTm);
  auto commit = SheetCapsule(volTm, 13);
  commit.inputMode = cmcCellCapsule::kInputText;
  commit.inputText = "120";
  EXPECT_EQ(Run(commit), EvalResult::kDone);
  EXPECT_EQ(commit.outputText, "120 msec");
  EXPECT_EQ(target.image.GetByte(0x979), 120);
}

TEST_F(Eval, KeysNeedAGrid) {
  auto beep = Cell(CT_Null, CL_Comm_Beep);
  cmcCellCapsule menu;
  menu.cell = &beep;
  menu.action = ' ';
  Run(menu);
  EXPECT_EQ(target.image.GetByte(0x956), 0);
}

TEST_F(Eval, PopupCommands) {
  auto tag = Cell(CT_UsaCh, CL_ChList_Tag, 0);
  auto cap = SheetCapsule(tag);
  cap.popupCommand = CL_PMenu_Edit;  // acts as Enter
  EXPECT_EQ(Run(cap), EvalResult::kChooserOpened);

  auto help = SheetCapsule(tag);
  help.popupCommand = CL_PMenu_Help;
  Run(help);
  EXPECT_EQ(target.calls.back(), "ContextHelp " + std::to_string(CL_ChList_Tag));
  EXPECT_EQ(help.outputText, "");

  // Row commands outside the row table do nothing.
  auto far = Cell(CT_UsaCh, CL_ChList_Tag, memmap::kPlanEntries);
  auto copy = SheetCapsule(far);
  copy.popupCommand = CL_PMenu_Copy;
  Run(copy);
  EXPECT_FALSE(target.clip.HasRowsOf(memmap::kCatUsa));
  auto row0 = SheetCapsule(tag);
  row0.popupCommand = CL_PMenu_Copy;
  Run(row0);
  EXPECT_TRUE(target.clip.HasRowsOf(memmap::kCatUsa));
  EXPECT_EQ(row0.outputText, "");  // the cell itself is not evaluated
}

TEST_F(Eval, CommandsRunOnlyOnEnter) {
  struct Case {
    std::uint32_t id;
    int number;
    const char* call;
  };
  const std::vector<Case> cases = {
      {CL_Menu_File_New, 0, "New"},
      {CL_Menu_File_Open, 0, "Open"},
      {CL_Menu_File_Save, 0, "SaveAs"},  // untitled
      {CL_Menu_File_SaveAs, 0, "SaveAs"},
      {CL_Menu_File_Print_Current, 0, "PrintCurrent"},
      {CL_Menu_File_Print_All, 0, "PrintAll"},
      {CL_Menu_File_Exit, 0, "Exit"},
      {CL_Menu_View_FontSize, 120, "FontSize 120"},
      {CL_Menu_View_ToolBar, 0, "ToolBar"},
      {CL_Menu_Port_Com, 3, "Port 3"},
      {CL_Menu_Port_Usb, 0, "PortSelection 0"},
      {CL_Menu_Port_ComList0, 0, "PortSelection 0"},
      {CL_Menu_Port_ComList1, 0, "PortSelection 1"},
      {CL_Menu_Port_ComList2, 0, "PortSelection 2"},
      {CL_Menu_Port_Find, 0, "FindRadio"},
      {CL_Menu_Clone_Read, 0, "CloneRead"},
      {CL_Menu_Clone_Write, 0, "CloneWrite"},
      {CL_Menu_Clone_Info, 0, "CloneInfo"},
      {CL_Menu_Clone_Verify, 0, "Verify"},
      {CL_Menu_File_BackupFolder, 0, "BackupFolder"},
      {CL_Menu_File_Backups, 0, "Backups"},
      {CL_Menu_File_ExportCsv, 0, "ExportCsv"},
      {CL_Menu_File_ImportCsv, 0, "ImportCsv"},
      {CL_Menu_File_Compare, 0, "CompareWithFile"},
      {CL_Menu_Clone_Compare, 0, "CompareWithRadio"},
      {CL_Menu_Clone_Fleet, 0, "FleetProgramming"},
      {CL_Model, 5, "Model 5"},
      {CL_Help_Contents, 0, "HelpContents"},
      {CL_Menu_Edit_Undo, 0, "Undo"},
      {CL_Menu_Edit_Redo, 0, "Redo"},
  };
  target.canUndo = target.canRedo = true;
  for (const auto& c : cases) {
    auto cell = Cell(CT_NoCategory, c.id, c.number);
    EXPECT_EQ(CellText(cell, 0), "") << CellName(c.id);
    EXPECT_TRUE(target.calls.empty()) << CellName(c.id);
    CellCommand(cell, 13);
    ASSERT_EQ(target.calls.size(), 1u) << CellName(c.id);
    EXPECT_EQ(target.calls[0], c.call) << CellName(c.id);
    target.calls.clear();
  }
  target.named = true;
  auto save = Cell(CT_NoCategory, CL_Menu_File_Save);
  CellCommand(save, 13);
  EXPECT_EQ(target.calls.back(), "Save");

  auto sheet = Cell(CT_NoCategory, CallSheet);
  sheet.SetParameter(std::string("GI_Sheet_Common_Common"));
  CellCommand(sheet, 13);
  EXPECT_EQ(target.calls.back(), "Sheet GI_Sheet_Common_Common");

  auto about = Cell(CT_NoCategory, CL_Help_About);
  CellCommand(about, 13);
  Deliver();
  EXPECT_EQ(EventsOf<ev::ShowAbout>().size(), 1u);
  auto port = Cell(CT_NoCategory, CL_Menu_Port_Com, 2);
  events.Clear();
  CellCommand(port, 13);
  EXPECT_EQ(EventsOf<ev::CommandsChanged>().size(), 1u);
}

TEST_F(Eval, UndoAndRedoAreDisabledWhileThereIsNothingToTakeBack) {
  for (std::uint32_t id : {CL_Menu_Edit_Undo, CL_Menu_Edit_Redo}) {
    target.canUndo = target.canRedo = false;
    auto cell = Cell(CT_NoCategory, id);
    CellCommand(cell, 13);
    EXPECT_TRUE(target.calls.empty()) << CellName(id);
    EXPECT_TRUE(cell.Flag(cmcCellObj::kFlagDisabled)) << CellName(id);
    target.canUndo = target.canRedo = true;
    CellText(cell, 0);
    EXPECT_FALSE(cell.Flag(cmcCellObj::kFlagDisabled)) << CellName(id);
  }
}

// A program without a window gives the evaluator only its document: the
// commands of the missing roles do nothing and their menu states are the
// neutral ones, while the document's own commands still arrive.
TEST_F(Eval, TargetWithOnlyTheDocumentRole) {
  CommandTarget documentOnly(target);
  SetCommandTarget(&documentOnly);
  const std::uint32_t inert[] = {
      CL_Menu_File_Open,
      CL_Menu_File_SaveAs,
      CL_Menu_File_Print_Current,
      CL_Menu_File_Print_All,
      CL_Menu_File_Exit,
      CL_Menu_File_Recent,
      CL_Menu_View_FontSize,
      CL_Menu_View_ToolBar,
      CL_Menu_Port_Com,
      CL_Menu_Port_Usb,
      CL_Menu_Port_ComList1,
      CL_Help_Contents,
      CallSheet,
      CL_Menu_File_BackupFolder,
      CL_Menu_File_Backups,
      CL_Menu_File_ExportCsv,
      CL_Menu_Clone_Fleet,
      CL_Menu_Port_Find,
  };
  for (std::uint32_t id : inert) {
    auto cell = Cell(CT_NoCategory, id, 100);
    CellCommand(cell, 13);
    EXPECT_FALSE(cell.Flag(cmcCellObj::kFlagChecked)) << CellName(id);
  }
  EXPECT_TRUE(target.calls.empty()) << ::testing::PrintToString(target.calls);

  auto print = Cell(CT_NoCategory, CL_Menu_File_Print_Current);
  CellText(print, 0);
  EXPECT_TRUE(print.Flag(cmcCellObj::kFlagDisabled));
  auto noItem = Cell(CT_NoCategory, CL_PMenu_NoItem);
  CellText(noItem, 0);
  EXPECT_TRUE(noItem.Flag(cmcCellObj::kFlagHidden));
  auto top = Cell(CT_NoCategory, CL_Menu_Edit_Top);
  CellText(top, 0);
  Deliver();
  EXPECT_TRUE(EventsOf<ev::FillCellMenu>().empty());
  // Saving an untitled document asks for a name, which needs a window.
  auto save = Cell(CT_NoCategory, CL_Menu_File_Save);
  CellCommand(save, 13);
  EXPECT_TRUE(target.calls.empty());

  auto read = Cell(CT_NoCategory, CL_Menu_Clone_Read);
  CellCommand(read, 13);
  auto model = Cell(CT_NoCategory, CL_Model, 3);
  CellCommand(model, 13);
  EXPECT_EQ(target.calls, (std::vector<std::string>{"CloneRead", "Model 3"}));
  SetCommandTarget(&target.Commands());
}

TEST_F(Eval, CheckMarksAndMenuStates) {
  struct Case {
    std::uint32_t id;
    int number;
    int flag;
    bool on;
  };
  target.fontSize = 120;
  target.model = 5;
  target.port = 7;
  target.toolBar = false;
  target.verify = true;
  target.printable = false;
  const std::vector<Case> cases = {
      {CL_Menu_View_FontSize, 120, cmcCellObj::kFlagChecked, true},
      {CL_Menu_View_FontSize, 100, cmcCellObj::kFlagChecked, false},
      {CL_Model, 5, cmcCellObj::kFlagChecked, true},
      {CL_Model, 0, cmcCellObj::kFlagChecked, false},
      {CL_Menu_Port_Com, 7, cmcCellObj::kFlagChecked, true},
      {CL_Menu_Port_Com, 1, cmcCellObj::kFlagChecked, false},
      {CL_Menu_Port_Usb, 0, cmcCellObj::kFlagChecked, true},
      {CL_Menu_View_ToolBar, 0, cmcCellObj::kFlagChecked, false},
      {CL_Menu_Clone_Verify, 0, cmcCellObj::kFlagChecked, true},
      {CL_Menu_File_Print_Current, 0, cmcCellObj::kFlagDisabled, true},
      {CL_PMenu_NoItem, 0, cmcCellObj::kFlagDisabled, true},
      {CL_PMenu_NoItem, 0, cmcCellObj::kFlagHidden, true},
      {CL_PMenu_CarryUp, 0, cmcCellObj::kFlagDisabled, true},
      {CL_PMenu_CarryDown, 0, cmcCellObj::kFlagDisabled, true},
      {CL_PMenu_Clear, 0, cmcCellObj::kFlagDisabled, true},
      {CL_PMenu_Delete, 0, cmcCellObj::kFlagDisabled, true},
      {CL_PMenu_Insert, 0, cmcCellObj::kFlagDisabled, true},
  };
  for (const auto& c : cases) {
    auto cell = Cell(CT_NoCategory, c.id, c.number);
    cell.SetFlag(c.flag, !c.on);
    CellText(cell, 0);
    EXPECT_EQ(cell.Flag(c.flag), c.on) << CellName(c.id) << " " << c.number;
  }
  target.port = 4;
  auto usb = Cell(CT_NoCategory, CL_Menu_Port_Usb);
  CellText(usb, 0);
  EXPECT_FALSE(usb.Flag(cmcCellObj::kFlagChecked));
  // A print command that is disabled does not print on Enter either.
  auto print = Cell(CT_NoCategory, CL_Menu_File_Print_Current);
  CellCommand(print, 13);
  EXPECT_TRUE(target.calls.empty());

  target.editItems = 1;
  auto noItem = Cell(CT_NoCategory, CL_PMenu_NoItem);
  CellText(noItem, 0);
  EXPECT_FALSE(noItem.Flag(cmcCellObj::kFlagHidden));
}

TEST_F(Eval, RecentFileEntries) {
  target.recent = {"/home/skipper/R&D boat.dat", "", ""};
  struct Case {
    int n;
    const char* caption;
    bool disabled;
    bool hidden;
  };
  const std::vector<Case> cases = {
      {0, "&1 /home/skipper/R&&D boat.dat", false, false},
      {1, "&2 ", true, true},
  };
  for (const auto& c : cases) {
    auto cell = Cell(CT_NoCategory, CL_Menu_File_Recent, c.n);
    const std::string shown = CellText(cell, 0);
    EXPECT_EQ(shown, c.caption);
    EXPECT_EQ(cell.Caption(), c.caption);
    EXPECT_TRUE(cell.Flag(cmcCellObj::kFlagCaptionReplaced));
    EXPECT_EQ(cell.Flag(cmcCellObj::kFlagDisabled), c.disabled);
    EXPECT_EQ(cell.Flag(cmcCellObj::kFlagHidden), c.hidden);
  }
  target.recent.clear();
  auto first = Cell(CT_NoCategory, CL_Menu_File_Recent, 0);
  CellCommand(first, 13);
  EXPECT_TRUE(first.Flag(cmcCellObj::kFlagDisabled));
  EXPECT_FALSE(first.Flag(cmcCellObj::kFlagHidden));
  EXPECT_TRUE(target.calls.empty());
  target.recent = {"a.dat"};
  CellCommand(first, 13);
  EXPECT_EQ(target.calls.back(), "Recent 0");
}

TEST_F(Eval, EmptyEditMenuGetsItsPlaceholder) {
  auto top = Cell(CT_NoCategory, CL_Menu_Edit_Top);
  target.editItems = 2;
  CellText(top, 0);
  target.editItems = -1;
  CellText(top, 0);
  Deliver();
  EXPECT_TRUE(EventsOf<ev::FillCellMenu>().empty());
  target.editItems = 0;
  CellText(top, 0);
  Deliver();
  const auto fill = EventsOf<ev::FillCellMenu>();
  ASSERT_EQ(fill.size(), 1u);
  EXPECT_EQ(fill[0].menu, &target.mainMenu);
  EXPECT_EQ(fill[0].item, kEvCellMenuItem);
  EXPECT_EQ(fill[0].key, "GI_PMenu_NoItem");
}

TEST_F(Eval, DrawingAndFixedCells) {
  platform::Rect rect{10, 20, 110, 120};
  auto pillar = Cell(CT_Null, CL_Misc_QuarterPillar);
  auto cap = SheetCapsule(pillar);
  cap.rect = &rect;
  Run(cap);
  ASSERT_EQ(canvas.fills.size(), 1u);
  EXPECT_EQ(canvas.fills[0], (platform::Rect{10, 90, 110, 120}));
  EXPECT_EQ(canvas.brush, kDrawingGrey);

  auto cannot = Cell(CT_Null, CL_CannotEdit);
  auto c2 = SheetCapsule(cannot, 'a');
  c2.rect = &rect;
  Run(c2);
  ASSERT_EQ(canvas.lines.size(), 1u);
  EXPECT_EQ(canvas.lines[0].first, (platform::Point{109, 20}));
  EXPECT_EQ(canvas.lines[0].second, (platform::Point{10, 119}));
  EXPECT_EQ(canvas.textColor, kOliveText);
  EXPECT_EQ(EventsOf<ev::StatusText>().back().text, table.Text("GI_Botttom_EditRestrected"));

  auto dummy = Cell(CT_Null, CL_Dummy);
  dummy.SetCaption("n/a");
  EXPECT_EQ(Show(dummy), "n/a");
  EXPECT_EQ(canvas.textColor, kOliveText);
  // Without a canvas nothing is drawn, and nothing fails.
  cmcCellCapsule bare;
  bare.cell = &pillar;
  bare.rect = &rect;
  Run(bare);
}

TEST_F(Eval, SettingsCellsThroughTheEvaluator) {
  auto alert = Cell(CT_Null, CL_Comm_WxAlert);
  target.image.SetByte(0x972, 0x02);
  EXPECT_EQ(Show(alert), "OFF");
  EXPECT_NE(canvas.textColor, kSilverText);
  auto wx = Cell(CT_Null, CL_Comm_WX);
  int flags = 0;
  auto cap = SheetCapsule(wx, ' ');
  cap.changeCallback = [&flags](cmcCellCapsule&, int f) { flags = f; };
  Run(cap, true);
  EXPECT_EQ(cap.outputText, "OFF");
  EXPECT_EQ(EventsOf<ev::RebuildChannelNodes>().size(), 1u);
  EXPECT_EQ(flags, kNotifyCell);  // the weather switch redraws no other sheet
  Show(alert);
  EXPECT_EQ(canvas.textColor, kSilverText);

  auto usa = Cell(CT_Null, CL_Comm_USA);
  cap = SheetCapsule(usa, ' ');
  cap.changeCallback = [&flags](cmcCellCapsule&, int f) { flags = f; };
  Run(cap, true);
  EXPECT_EQ(flags, kNotifyCell | kNotifyAllCells);
  EXPECT_EQ(EventsOf<ev::RebuildChannelNodes>().size(), 2u);

  // Enter opens the chooser over the cell's list at the current value.
  auto txPow = Cell(CT_Null, CL_Comm_TxPow);
  target.image.SetByte(0x973, 0x01);
  Key(txPow, 13);
  EXPECT_EQ(target.calls.back(), "Chooser GI_Sheet_Sel_UserSetTxPow 1");

  // The off text and the missing identity come from the overlay.
  auto second = Cell(CT_Null, CL_Comm_PowSave2nd);
  EXPECT_EQ(Show(second), table.Text("GI_AppInd_TimerOff"));
  target.image.Fill(0xFF);
  auto id = Cell(CT_Null, CL_Atis_SelfId);
  EXPECT_EQ(Show(id), table.Text("GI_AppInd_Atis_IdOff"));
  // A fixed text swallows keys like any restricted cell.
  auto suv = Cell(CT_Null, CL_Comm_SUV);
  Key(suv, 'x');
  EXPECT_EQ(EventsOf<ev::StatusText>().back().text, table.Text("GI_Botttom_EditRestrected"));
}

TEST_F(Eval, EveryOptionListOfTheOverlayIsComplete) {
  // Each list a rule names exists with a text for every value its field can
  // hold, so no setting of a fresh image shows "error".
  for (const auto& rule : settings::Rules()) {
    for (const char* list : {rule.list, rule.listE}) {
      if (!list) continue;
      const auto& items = target.cache.List(list, Flex0);
      EXPECT_GT(items.ItemCount(), 1) << list;
      const int values = rule.kind == settings::Kind::DispPair ? 4 : rule.mask == 0xFF ? 0 : 2;
      for (int v = 0; v < values; ++v) {
        EXPECT_NE(target.cache.TextForValue(list, Flex0, v), "error") << list << " " << v;
      }
    }
  }
  for (const char* list : {"GI_Sheet_Sel_ChTag", "GI_Sheet_Sel_ChTxInh", "GI_Sheet_Sel_ChPoc",
                           "GI_Sheet_Sel_ChSimp", "GI_Sheet_Sel_ChInh"}) {
    for (int v = 0; v < 2; ++v)
      EXPECT_NE(target.cache.TextForValue(list, Flex0, v), "error") << list;
  }
  for (const char* list : {"GI_Sheet_Sel_ChATRUse", "GI_Sheet_Sel_ChATRAll"}) {
    for (int v = 1; v <= 4; ++v)
      EXPECT_NE(target.cache.TextForValue(list, Flex0, v), "error") << list;
  }
}

TEST_F(Eval, InformationCells) {
  auto& info = target.info;
  info[1] = 0x12;
  const std::string comment = "IC-M99 TEST UNIT";
  std::copy(comment.begin(), comment.end(), info.begin() + 3);
  info[19] = 0x08 | 0x02;
  info[20] = 0x02;
  info[21] = 9;
  auto text = [&](std::uint32_t id) {
    auto cell = Cell(CT_NoCategory, id);
    return CellText(cell, 0);
  };
  EXPECT_EQ(text(CL_CloneInfo_Model), table.Line("GI_AppInd_Model", 9));
  EXPECT_EQ(text(CL_CloneInfo_Revision), "1.2");
  EXPECT_EQ(text(CL_CloneInfo_Comment), comment);
  EXPECT_EQ(text(CL_CloneInfo_BattType), table.Line("GI_Sheet_Info_Batt_Suv_Cells", 1));
  EXPECT_EQ(text(CL_CloneInfo_OverDCV), table.Block("GI_Mess_CloneInfo_DCV"));
  EXPECT_EQ(text(CL_CloneInfo_OverVolt), "");
  EXPECT_EQ(text(CL_CloneInfo_OverTemp), table.Line("GI_Mess_CloneInfo_OverTemp", 0) + "\n" +
                                             table.Line("GI_Mess_CloneInfo_OverTemp", 1));
  info[20] = 0;
  info[21] = 0;
  info[19] = 0x10;
  EXPECT_EQ(text(CL_CloneInfo_BattType), table.Line("GI_Sheet_Info_Batt_Cells", 0));
  EXPECT_EQ(text(CL_CloneInfo_OverTemp), "");
  EXPECT_EQ(text(CL_CloneInfo_OverVolt), table.Block("GI_Mess_CloneInfo_OverVolt"));
  info[21] = 200;  // a model this program does not know
  EXPECT_EQ(text(CL_CloneInfo_Model), "200");
}

TEST_F(Eval, WarningCheckListNamesCheckCellsWithSheetKeys) {
  // Each line parses as a check cell with a sheet key as parameter.
  int lines = 0;
  for (int n = 0;; ++n) {
    const std::string line = table.Line("GI_WarningCheckList", n);
    if (!line.empty() && line[0] == '#') break;
    cmcCellObj cell;
    cell.Parse(line, nullptr);
    EXPECT_GE(cell.Cell(), static_cast<std::uint32_t>(CL_Check_Suv_ChInh)) << line;
    EXPECT_LE(cell.Cell(), static_cast<std::uint32_t>(CL_Check_Wx_ChInh)) << line;
    EXPECT_EQ(cell.Parameter().rfind("GI_Sheet_", 0), 0u) << line;
    ++lines;
  }
  EXPECT_EQ(lines, 5);
}

TEST_F(Eval, FatalWithoutTargetOrWithABadCategory) {
  auto bad = Cell(9, CL_ChList_No);
  EXPECT_THROW(Show(bad), platform::FatalStop);
  SetCommandTarget(nullptr);
  auto beep = Cell(CT_Null, CL_Comm_Beep);
  EXPECT_THROW(Show(beep), platform::FatalStop);
}

}  // namespace
}  // namespace evaltest

namespace evaltest {
namespace {

TEST(EvalOverlay, TheShippedOverlayAnswersEveryKeyOfTheFragmentWithItsText) {
  // Another fragment defining one of these keys first would shadow it.
  std::map<std::string, std::string> blocks;
  std::string key;
  std::ifstream in(SEACLONE_SOURCE_DIR "/data/overlay/main/40-eval.ovl");
  for (std::string line; std::getline(in, line);) {
    if (line.size() >= 2 && line[0] == '#') {
      key = line.substr(1);
      blocks[key];
    } else if (!key.empty()) {
      std::string& block = blocks[key];
      block += (block.empty() ? "" : "\n") + line;
    }
  }
  cmcGTex shipped;
  shipped.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
  for (const auto& [k, block] : blocks) {
    ASSERT_TRUE(shipped.HasKey(k)) << k;
    EXPECT_EQ(shipped.Block(k), block) << k;
  }
  EXPECT_GT(blocks.size(), 80u);
}

}  // namespace
}  // namespace evaltest
