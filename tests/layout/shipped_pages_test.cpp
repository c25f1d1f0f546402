// SPDX-License-Identifier: GPL-3.0-or-later
// The pages, tree, menus, tool bar and popup menus as the program ships
// them: the assembled overlay and the initial image of every model type,
// through the real cell evaluator.
#include <fstream>
#include <map>
#include <set>

#include "layout/page_text.h"
#include "layout/tree_pages.h"
#include "model/cell_names.h"
#include "model/clone_file.h"
#include "model/normalise.h"
#include "support/eval_support.h"
#include "support/layout_support.h"

namespace layouttest {
namespace {

constexpr int kModelTypes = 13;
// Every status bit of a clone information reply that adds a row.
constexpr std::uint8_t kAllInfoWarnings = 0x1E;

bool InGroupS(int model) { return model >= 8 && model <= 11; }

struct BodyLine {
  int depth = 0;
  std::string definition;
};

// What a sweep over pages met.
struct Seen {
  std::set<std::uint32_t> cells;
  std::set<std::string> popupMenus;
  // "page (column,row): text" for every cell that shows an unlisted option
  // value or a cell without a rule.
  std::vector<std::string> odd;
};

class ShippedPages : public evaltest::ShippedOverlayTest {
 protected:
  void UseModel(int model, bool usable, std::uint8_t infoStatus = 0) {
    ShippedOverlayTest::UseModel(model, usable);
    context = layout::PageContext();
    context.image = &target.image;
    context.modelType = model;
    context.usableView = usable;
    context.infoStatus = infoStatus;
    context.canvas = &canvas;
  }

  // The lines of key + "_Body" up to the first that begins with "#". Nested
  // bodies count the characters before the first "+" as the depth.
  std::vector<BodyLine> Body(const std::string& key, bool nested) {
    std::vector<BodyLine> lines;
    for (int n = 0;; ++n) {
      const std::string line = table.Line(key + "_Body", n);
      if (!line.empty() && line[0] == '#') break;
      BodyLine body;
      const std::size_t plus = nested ? line.find('+') : 0;
      if (!nested) {
        body.definition = line;
      } else if (plus == std::string::npos) {
        body.depth = static_cast<int>(line.size());
      } else {
        body.depth = static_cast<int>(plus);
        body.definition = line.substr(plus + 1);
      }
      lines.push_back(body);
    }
    return lines;
  }

  // Parses every body line as its builder would, with the basic cell as
  // parent.
  std::vector<cmcCellObj> BodyCells(const std::string& key, bool nested) {
    basic = cmcCellObj();
    basic.Parse(table.Line(key + "_BasicCell", 0), nullptr, counters.data());
    std::vector<cmcCellObj> cells;
    for (const BodyLine& line : Body(key, nested)) {
      cells.emplace_back();
      cells.back().Parse(line.definition, &basic, counters.data());
    }
    return cells;
  }

  // The sheet keys the tree opens, from their page references.
  std::vector<std::string> TreePages() {
    std::vector<std::string> keys;
    for (const layout::TreePage& page : layout::TreeBodyPages(table)) keys.push_back(page.sheetKey);
    return keys;
  }

  // Every chooser list the overlay holds.
  static std::vector<std::string> ChooserLists() {
    std::vector<std::string> keys;
    std::ifstream in(SEACLONE_BIN_DIR "/TB58.OVL");
    const std::string head = "#GI_Sheet_Sel_";
    const std::string tail = "_Style";
    for (std::string line; std::getline(in, line);) {
      if (line.rfind(head, 0) == 0 && line.size() > tail.size() &&
          line.compare(line.size() - tail.size(), tail.size(), tail) == 0) {
        keys.push_back(line.substr(1, line.size() - 1 - tail.size()));
      }
    }
    return keys;
  }

  std::vector<std::string> AllPages() {
    std::vector<std::string> keys = TreePages();
    for (const char* key : {"GI_Sheet_CloneInfo", "GI_Sheet_Info_Batt", "GI_Sheet_Info_Batt_Suv"})
      keys.push_back(key);
    for (const std::string& key : ChooserLists()) keys.push_back(key);
    return keys;
  }

  // Lays the page out and shows every cell once.
  void Visit(const std::string& key, Seen& seen) {
    SCOPED_TRACE(key);
    layout::PageLayout page(table, key, context);
    ASSERT_NO_THROW(page.Layout());
    layout::PageText text(page);
    for (int r = 0; r < page.RowCount(); ++r) {
      for (int c = 0; c < page.ColumnCount(); ++c) {
        const cmcCellObj& cell = page.CellAt(c, r).cell;
        if (const std::string menu = cell.PopupMenu(); !menu.empty()) seen.popupMenus.insert(menu);
        if (cell.Cell() == CL_NoCell) continue;
        seen.cells.insert(cell.Cell());
        layout::ShownCell shown;
        ASSERT_NO_THROW(shown = text.Show(c, r)) << "cell (" << c << "," << r << ")";
        if (shown.text == "error" || shown.text.find("*Yet*") != std::string::npos) {
          seen.odd.push_back(key + " (" + std::to_string(c) + "," + std::to_string(r) +
                             "): " + shown.text);
        }
      }
    }
  }

  // Every page of one model in one view, with every information row on.
  Seen Sweep(int model, bool usable) {
    Seen seen;
    UseModel(model, usable, kAllInfoWarnings);
    for (const std::string& key : AllPages()) Visit(key, seen);
    return seen;
  }

  FixedPitchCanvas canvas;
  layout::PageContext context;
  cmcCellObj basic;
  std::array<std::int32_t, cmcCellObj::kCounterCount> counters{};
};

TEST_F(ShippedPages, EveryPageLaysOutAndShowsEveryCellForEveryModelInBothViews) {
  for (int model = 0; model < kModelTypes; ++model) {
    for (const bool usable : {false, true}) {
      SCOPED_TRACE("model " + std::to_string(model) +
                   (usable ? ", usable view" : ", all channels"));
      const Seen seen = Sweep(model, usable);
      // Neither an option value the lists lack nor a cell without a rule.
      EXPECT_EQ(seen.odd, std::vector<std::string>());
      for (const std::string& menu : seen.popupMenus) {
        EXPECT_NO_THROW(table.Line(menu + "_Body", 0)) << menu;
      }
    }
  }
}

TEST_F(ShippedPages, EveryTreePageHasACursorCellAndAStoredWidthName) {
  std::set<std::string> widthNames;
  for (int n = 0;; ++n) {
    const std::string line = table.Line("GI_CellWidthRegList", n);
    if (line.empty() || line[0] == '#' || line.find(':') == std::string::npos) break;
    widthNames.insert(line.substr(0, line.find(':')));
  }
  UseModel(0, false);
  for (const std::string& key : TreePages()) {
    layout::PageLayout page(table, key, context);
    page.Layout();
    EXPECT_GE(page.FirstSelectableColumn(), 0) << key;
    EXPECT_TRUE(widthNames.count(key)) << key;
  }
}

// Cells that are on no page, and why.
struct OnNoPage {
  std::uint32_t cell;
  const char* why;
};
const OnNoPage kOnNoPage[] = {
    {CL_Null, "shows nothing"},
    {CL_Free_Byte_Hex, "shows nothing; the memory view shows bytes in decimal"},
    {CL_Check_Suv_ChInh, "evaluated by the warning check, shows nothing"},
    {CL_Check_Int_ChInh, "evaluated by the warning check, shows nothing"},
    {CL_Check_Usa_ChInh, "evaluated by the warning check, shows nothing"},
    {CL_Check_Can_ChInh, "evaluated by the warning check, shows nothing"},
    {CL_Check_Wx_ChInh, "evaluated by the warning check, shows nothing"},
    {CL_Misc_QuarterPillar, "a drawing no page needs"},
};
// Cells the evaluator has no rule for: they would show "<position> *Yet*".
const std::uint32_t kWithoutRule[] = {
    CL_FBits,
    CL_EeDebugWin_Adr,
    CL_EeDebugWin_0,
    CL_EeDebugWin_1,
    CL_EeDebugWin_2,
    CL_EeDebugWin_3,
    CL_EeDebugWin_4,
    CL_EeDebugWin_5,
    CL_EeDebugWin_6,
    CL_EeDebugWin_7,
    CL_EeDebugWin_8,
    CL_EeDebugWin_9,
    CL_EeDebugWin_A,
    CL_EeDebugWin_B,
    CL_EeDebugWin_C,
    CL_EeDebugWin_D,
    CL_EeDebugWin_E,
    CL_EeDebugWin_F,
    CL_Free_DscId,
    CL_Menu_Port_SpeedHigh,
    CL_Menu_Debug_Compare,
    CL_Menu_Debug_CorrectComp,
    CL_Menu_Debug_Window,
    CL_Menu_Debug_EeWindow,
    CL_Comm_Opening_Edit,
    CL_Comm_Direct_Edit,
    CL_Comm_PowSaveCont,
    CL_Comm_ScrmRcv,
};

TEST_F(ShippedPages, EveryCellTheEvaluatorServesIsOnAPageMenuOrToolBar) {
  Seen seen;
  for (int model = 0; model < kModelTypes; ++model) {
    const Seen one = Sweep(model, false);
    seen.cells.insert(one.cells.begin(), one.cells.end());
  }
  for (const char* key :
       {"GI_Tree_Main", "GI_Menu_Main", "GI_PMenu_Ch", "GI_PMenu_Setting", "GI_PMenu_NoItem"}) {
    for (const cmcCellObj& cell : BodyCells(key, true)) seen.cells.insert(cell.Cell());
  }
  for (const cmcCellObj& cell : BodyCells("GI_ToolBar_Main", false)) seen.cells.insert(cell.Cell());

  std::map<std::uint32_t, std::string> absent;
  for (const OnNoPage& entry : kOnNoPage) absent[entry.cell] = entry.why;
  for (const std::uint32_t cell : kWithoutRule) absent[cell] = "no rule";

  for (std::uint32_t cell = 0; cell < kCellNameCount; ++cell) {
    const bool on = seen.cells.count(cell) > 0;
    if (absent.count(cell)) {
      EXPECT_FALSE(on) << CellName(cell) << " is on a page after all: drop it from the exceptions";
    } else {
      EXPECT_TRUE(on) << CellName(cell) << " is served but on no page";
    }
  }

  // The exceptions hold for the reasons given.
  for (const std::uint32_t id : kWithoutRule) {
    cmcCellObj cell;
    cell.SetCell(id);
    EXPECT_EQ(CellText(cell, 0), std::to_string(id) + " *Yet*")
        << CellName(id) << " has a rule now: put it on a page";
  }
  std::set<std::uint32_t> checked;
  for (int n = 0;; ++n) {
    const std::string line = table.Line("GI_WarningCheckList", n);
    if (!line.empty() && line[0] == '#') break;
    cmcCellObj cell;
    cell.Parse(line, nullptr, counters.data());
    checked.insert(cell.Cell());
  }
  for (const std::uint32_t id : {CL_Check_Suv_ChInh, CL_Check_Int_ChInh, CL_Check_Usa_ChInh,
                                 CL_Check_Can_ChInh, CL_Check_Wx_ChInh}) {
    EXPECT_TRUE(checked.count(id)) << CellName(id);
  }
}

TEST_F(ShippedPages, ModelConditionalRowsFollowTheSuvGroup) {
  // Cells that belong on the SUV models' pages only, or on every other
  // model's only. CL_Comm_INT switches the international plan on each time
  // it is shown, so on an SUV model it would override the user's switch.
  const struct {
    std::uint32_t cell;
    bool suvOnly;
  } rows[] = {
      {CL_Comm_SUV, true},       {CL_Comm_SUV_Disp, true},  {CL_Comm_INT_SUV, true},
      {CL_Comm_Light_SUV, true}, {CL_Comm_Atis_Suv, true},  {CL_Comm_INT, false},
      {CL_Comm_Light, false},    {CL_Comm_USA, false},      {CL_Comm_CAN, false},
      {CL_Comm_Atis_Usa, false}, {CL_Comm_Atis_Can, false},
  };
  for (int model = 0; model < kModelTypes; ++model) {
    SCOPED_TRACE("model " + std::to_string(model));
    const Seen seen = Sweep(model, false);
    for (const auto& row : rows) {
      EXPECT_EQ(seen.cells.count(row.cell) > 0, row.suvOnly == InGroupS(model))
          << CellName(row.cell);
    }
  }
  // Sweden's initial image has the international plan off; showing every
  // page leaves it off.
  Sweep(9, false);
  EXPECT_EQ(target.image.GetByte(memmap::kFlags973) & 0x02, 0);
}

TEST_F(ShippedPages, InformationPageShowsAWarningRowPerReportedStatus) {
  const struct {
    std::uint8_t status;
    std::vector<std::uint32_t> warnings;
  } cases[] = {
      {0x00, {}},
      {0x01, {}},  // bit 0 forbids reading and adds no row
      {0x08, {CL_CloneInfo_OverDCV}},
      {0x10, {CL_CloneInfo_OverVolt}},
      {0x02, {CL_CloneInfo_OverTemp}},
      {0x04, {CL_CloneInfo_OverTemp}},
      {0x1E, {CL_CloneInfo_OverDCV, CL_CloneInfo_OverVolt, CL_CloneInfo_OverTemp}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("status " + std::to_string(c.status));
    UseModel(0, false, c.status);
    layout::PageLayout page(table, "GI_Sheet_CloneInfo", context);
    page.Layout();
    std::vector<std::uint32_t> values;
    for (int r = 0; r < page.RowCount(); ++r) values.push_back(page.CellAt(1, r).cell.Cell());
    std::vector<std::uint32_t> expected = {CL_CloneInfo_Model, CL_CloneInfo_Revision,
                                           CL_CloneInfo_Comment, CL_CloneInfo_BattType};
    expected.insert(expected.end(), c.warnings.begin(), c.warnings.end());
    EXPECT_EQ(values, expected);
  }
}

TEST_F(ShippedPages, TreeNodesCarryTheFlagsAndAnchorsTheChannelListsNeed) {
  const std::vector<cmcCellObj> nodes = BodyCells("GI_Tree_Main", true);
  const std::vector<BodyLine> lines = Body("GI_Tree_Main", true);
  ASSERT_FALSE(nodes.empty());
  EXPECT_EQ(nodes[0].Cell(), CallSheet);
  // The line inserted for a channel list is the first that names its sheet.
  const auto nodeFor = [&](const std::string& key) -> const cmcCellObj* {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].definition.find(key) != std::string::npos) return &nodes[i];
    }
    return nullptr;
  };
  const struct {
    const char* key;
    int flag;  // -1: a node that stays in every tree
  } cases[] = {
      {"GI_Sheet_SuvCh", 3},   {"GI_Sheet_IntCh", 6},        {"GI_Sheet_UsaCh", 1},
      {"GI_Sheet_CanCh", 2},   {"GI_Sheet_WxCh", 4},         {"GI_Sheet_Common_Atis", 5},
      {"GI_Sheet_Maker", 0},   {"GI_Sheet_Maker_Memory", 0}, {"GI_Sheet_Common_Common", -1},
      {"GI_Sheet_FreeCh", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const cmcCellObj* node = nodeFor(c.key);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Parameter(), c.key);
    for (int flag = 0; flag < 8; ++flag)
      EXPECT_EQ(node->Flag(flag), flag == c.flag) << "flag " << flag;
  }
}

TEST_F(ShippedPages, MenuCarriesTheUsualShortcutsOnceEach) {
  std::map<std::string, std::uint32_t> shortcuts;
  for (const cmcCellObj& item : BodyCells("GI_Menu_Main", true)) {
    if (!item.HasParameter() || item.Parameter().empty()) continue;
    EXPECT_TRUE(shortcuts.emplace(item.Parameter(), item.Cell()).second)
        << item.Parameter() << " twice";
  }
  const std::map<std::string, std::uint32_t> expected = {
      {"Ctrl+N", CL_Menu_File_New},  {"Ctrl+O", CL_Menu_File_Open},
      {"Ctrl+S", CL_Menu_File_Save}, {"Ctrl+P", CL_Menu_File_Print_Current},
      {"F1", CL_Help_Contents},
  };
  for (const auto& [keys, cell] : expected) {
    ASSERT_TRUE(shortcuts.count(keys)) << keys;
    EXPECT_EQ(shortcuts[keys], cell) << keys;
  }
}

TEST_F(ShippedPages, PopupItemsActOnTheirChannelAndToolButtonsHaveImagesAndHints) {
  for (const char* key : {"GI_PMenu_Ch", "GI_PMenu_Setting", "GI_PMenu_NoItem"}) {
    for (const cmcCellObj& item : BodyCells(key, true)) {
      if (item.Caption() == "-") continue;
      SCOPED_TRACE(std::string(key) + " " + item.Caption());
      // The popup category makes the item act on the channel it was opened on.
      EXPECT_EQ(item.Category(), CT_PopupMenu);
      EXPECT_GE(item.Cell(), static_cast<std::uint32_t>(CL_PMenu_NoItem));
      EXPECT_LE(item.Cell(), static_cast<std::uint32_t>(CL_PMenu_Help));
    }
  }
  for (const cmcCellObj& button : BodyCells("GI_ToolBar_Main", false)) {
    if (button.Caption() == "-" || button.Caption() == "/") continue;
    SCOPED_TRACE(button.Caption());
    EXPECT_NE(button.Cell(), CL_NoCell);
    EXPECT_GE(button.ImageIndex(), 0);
    EXPECT_LT(button.ImageIndex(), 19);  // the tool bar's image strip (shell/icons)
  }
}

}  // namespace
}  // namespace layouttest
