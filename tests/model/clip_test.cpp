// SPDX-License-Identifier: GPL-3.0-or-later
// The channel clipboard and the row commands of the channel sheets.
#include <functional>

#include "model/cell_names.h"
#include "model/clip_rows.h"
#include "support/eval_support.h"

namespace evaltest {
namespace {

using memmap::kCatInt;
using memmap::kCatUsa;

class Clip : public EvalTest {
 protected:
  cmcCellCapsule RowCapsule(cmcCellObj& cell, int command) {
    auto cap = SheetCapsule(cell);
    cap.popupCommand = command;
    return cap;
  }
  // A channel byte without the simplex bit, which the A channels (odd
  // indices) always have and which therefore moves with a row.
  std::uint8_t UsaByte(int index) const {
    return target.image.GetByte(memmap::PlanByte(0, index)) &
           static_cast<std::uint8_t>(~memmap::kChSimplex);
  }
  int UsaP() const { return target.image.GetWord(memmap::kPWords + 2 * memmap::PlanSlot(kCatUsa)); }
};

TEST_F(Clip, PastedRowTakesBackThePChannel) {
  auto row0 = Cell(CT_UsaCh, CL_ChList_Tag, 0);
  auto copy = RowCapsule(row0, CL_PMenu_Copy);
  Run(copy);
  EXPECT_EQ(copy.firstRow, 0);
  EXPECT_EQ(copy.lastRow, 0);
  EXPECT_TRUE(copy.rowFlags & cmcCellCapsule::kRowsChanged);
  EXPECT_EQ(EventsOf<ev::StatusText>().back().text, table.Text("GI_AppMess_S_Copy"));
  ASSERT_EQ(UsaP(), 0);  // row 0 is the P channel of a zeroed image

  auto attr10 = Cell(CT_UsaCh, CL_ChList_Atr, 10);
  Pick(attr10, 1);
  ASSERT_EQ(UsaP(), 10);

  auto paste = RowCapsule(row0, CL_PMenu_Paste);
  Run(paste);
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_EQ(responder.Last().text, table.Block("GI_AppMess_Conv_Overwrite"));
  EXPECT_EQ(responder.Last().caption, table.Text("GI_Sys_AppTitle"));
  EXPECT_EQ(responder.Last().style, platform::kMbOkCancel | platform::kMbIconExclamation);
  EXPECT_EQ(UsaP(), 0);
  EXPECT_EQ(EventsOf<ev::StatusText>().back().text, table.Text("GI_AppMess_S_Paste"));
  Deliver();
  const auto redraw = EventsOf<ev::RedrawCellsOfNumber>();
  ASSERT_EQ(redraw.size(), 1u);
  EXPECT_EQ(redraw[0].number, 0);
}

TEST_F(Clip, CancelLeavesTheImageAlone) {
  target.image.SetByte(memmap::PlanByte(0, 0), memmap::kChTag | memmap::kChPoc);
  auto row0 = Cell(CT_UsaCh, CL_ChList_Tag, 0);
  auto copy = RowCapsule(row0, CL_PMenu_Copy);
  Run(copy);
  target.image.SetByte(memmap::PlanByte(0, 0), 0);
  const cmcEeprom before = target.image;

  responder.Answer(platform::kIdCancel);
  auto paste = RowCapsule(row0, CL_PMenu_Paste);
  Run(paste);
  EXPECT_TRUE(target.image.Equals(before));
  EXPECT_FALSE(paste.rowFlags & cmcCellCapsule::kRowsChanged);

  responder.Answer(platform::kIdOk);
  Run(paste);
  EXPECT_EQ(UsaByte(0), memmap::kChTag | memmap::kChPoc);
}

TEST_F(Clip, OtherCategoriesGetNothing) {
  auto usa = Cell(CT_UsaCh, CL_ChList_Tag, 0);
  auto copy = RowCapsule(usa, CL_PMenu_Copy);
  Run(copy);
  const cmcEeprom before = target.image;

  auto intl = Cell(CT_IntCh, CL_ChList_Tag, 0);
  auto paste = RowCapsule(intl, CL_PMenu_Paste);
  Run(paste);
  EXPECT_TRUE(target.image.Equals(before));
  EXPECT_EQ(responder.Count(), 0);

  // The popup menu's Paste item follows the cell the menu was opened on.
  auto item = Cell(CT_PopupMenu, CL_PMenu_Paste);
  for (auto* opened : {&intl, &usa}) {
    cmcCellCapsule owner;
    owner.cell = opened;
    cmcCellCapsule cap;
    cap.cell = &item;
    cap.related = &owner;
    Run(cap);
    EXPECT_EQ(item.Flag(cmcCellObj::kFlagDisabled), opened == &intl);
  }
}

TEST_F(Clip, PopupItemsOnAnInhibitedChannelStillFollowTheClipboard) {
  auto usa = Cell(CT_UsaCh, CL_ChList_Tag, 0);
  auto copy = RowCapsule(usa, CL_PMenu_Copy);
  Run(copy);
  // Inhibition hides a channel's values, not the commands on its row.
  target.image.SetByte(memmap::PlanByte(memmap::PlanSlot(kCatInt), 4), memmap::kChInhibit);
  target.image.SetByte(memmap::PlanByte(memmap::PlanSlot(kCatUsa), 4), memmap::kChInhibit);
  auto intl = Cell(CT_IntCh, CL_ChList_Tag, 4);
  auto usaInhibited = Cell(CT_UsaCh, CL_ChList_Tag, 4);
  auto item = Cell(CT_PopupMenu, CL_PMenu_Paste);
  for (auto* opened : {&intl, &usaInhibited}) {
    cmcCellCapsule owner;
    owner.cell = opened;
    cmcCellCapsule cap;
    cap.cell = &item;
    cap.related = &owner;
    Run(cap);
    EXPECT_EQ(item.Flag(cmcCellObj::kFlagDisabled), opened == &intl);
    EXPECT_NE(cap.outputText, "---");
  }
}

TEST_F(Clip, ClipboardKeepsItsRowsAndPastesOnlyWhatItHas) {
  datClipCh clip;
  EXPECT_FALSE(clip.HasRowsOf(0));
  target.image.SetByte(memmap::PlanByte(1, 2), memmap::kChTag);
  target.image.SetByte(memmap::PlanByte(1, 3), memmap::kChPoc);
  clip.CopyFromImage(target.image, kCatInt, 2, 2);
  EXPECT_EQ(clip.Count(), 2);
  EXPECT_EQ(clip.First(), 2);
  EXPECT_TRUE(clip.HasRowsOf(kCatInt));
  EXPECT_FALSE(clip.HasRowsOf(kCatUsa));

  // Rows are the clipboard's own: pasting into another image, twice.
  cmcEeprom other(memmap::kImageSize);
  clip.PasteIntoImage(other, kCatInt, 10, 5);
  clip.PasteIntoImage(other, kCatInt, 20, 1);
  EXPECT_EQ(other.GetByte(memmap::PlanByte(1, 10)), memmap::kChTag);
  // (odd classic channels are the A channels, always simplex)
  EXPECT_EQ(other.GetByte(memmap::PlanByte(1, 11)), memmap::kChPoc | memmap::kChSimplex);
  EXPECT_EQ(other.GetByte(memmap::PlanByte(1, 12)), 0);
  EXPECT_EQ(other.GetByte(memmap::PlanByte(1, 20)), memmap::kChTag);
  EXPECT_EQ(other.GetByte(memmap::PlanByte(1, 21)), 0);
  clip.PasteIntoImage(other, kCatUsa, 0, 2);
  EXPECT_EQ(other.GetByte(memmap::PlanByte(0, 0)), 0);
  clip.Clear();
  EXPECT_EQ(clip.Count(), 0);
  EXPECT_FALSE(clip.HasRowsOf(kCatInt));
}

// The commands that move rows are closed by the row table; opened, they
// behave as a channel list's editor would expect.
class RowCommands : public Clip {
 protected:
  RowRange open{0, 5, true, true, true, true};
  void SetUp() override {
    for (int i = 0; i <= 6; ++i)
      target.image.SetByte(memmap::PlanByte(0, i), static_cast<std::uint8_t>(i << 5 & 0x60));
    for (int i = 0; i <= 6; ++i) marks[i] = UsaByte(i);
    target.image.SetWord(memmap::kPWords, 3);
  }
  // Runs command on rows first..last with the cursor on row cursor.
  cmcCellCapsule Do(int command, int cursor, int first, int last) {
    auto cell = Cell(CT_UsaCh, CL_ChList_Tag, cursor);
    auto cap = RowCapsule(cell, command);
    datCh view(&target.image);
    view.Load(kCatUsa, cursor);
    RowCommand(cap, view, first, last, target.image, target.clip, open, target.Commands());
    return cap;
  }
  std::uint8_t marks[7];
};

TEST_F(RowCommands, CarryMovesTheBlockAndTheNeighbour) {
  // Distinguish the rows by tag and Poc patterns: 0, 1, 2, 3 repeating.
  auto up = Do(CL_PMenu_CarryUp, 2, 2, 3);
  EXPECT_EQ(UsaByte(1), marks[2]);
  EXPECT_EQ(UsaByte(2), marks[3]);
  EXPECT_EQ(UsaByte(3), marks[1]);
  EXPECT_EQ(UsaP(), 2);  // the P channel moved with its row
  EXPECT_EQ(up.firstRow, 1);
  EXPECT_EQ(up.lastRow, 2);
  EXPECT_EQ(up.reposition, 1);
  EXPECT_EQ(up.number, 1);

  auto down = Do(CL_PMenu_CarryDown, 1, 1, 2);
  EXPECT_EQ(UsaByte(1), marks[1]);
  EXPECT_EQ(UsaByte(2), marks[2]);
  EXPECT_EQ(UsaByte(3), marks[3]);
  EXPECT_EQ(UsaP(), 3);
  EXPECT_EQ(down.number, 3);

  // At the edges nothing moves.
  const cmcEeprom before = target.image;
  Do(CL_PMenu_CarryUp, 0, 0, 1);
  Do(CL_PMenu_CarryDown, 5, 4, 5);
  EXPECT_TRUE(target.image.Equals(before));
}

TEST_F(RowCommands, ClearDeleteInsert) {
  responder.Answer(platform::kIdCancel);
  Do(CL_PMenu_Clear, 1, 1, 2);
  EXPECT_EQ(UsaByte(1), marks[1]);

  Do(CL_PMenu_Clear, 1, 1, 2);
  EXPECT_EQ(responder.Last().text, table.Block("GI_AppMess_Conv_Clear"));
  EXPECT_EQ(UsaByte(1), 0);
  EXPECT_EQ(UsaByte(2), 0);
  EXPECT_EQ(UsaByte(3), marks[3]);
  EXPECT_EQ(EventsOf<ev::StatusText>().back().text, table.Text("GI_AppMess_S_Clear"));

  for (int i = 0; i <= 6; ++i) target.image.SetByte(memmap::PlanByte(0, i), marks[i]);
  Do(CL_PMenu_Delete, 1, 1, 2);
  EXPECT_EQ(responder.Last().text, table.Block("GI_AppMess_Conv_Delete"));
  EXPECT_EQ(UsaByte(1), marks[3]);
  EXPECT_EQ(UsaByte(2), marks[4]);
  EXPECT_EQ(UsaByte(3), marks[5]);
  EXPECT_EQ(UsaByte(4), 0);
  EXPECT_EQ(UsaByte(5), 0);
  EXPECT_EQ(UsaByte(6), marks[6]);  // beyond the table: untouched

  for (int i = 0; i <= 6; ++i) target.image.SetByte(memmap::PlanByte(0, i), marks[i]);
  Do(CL_PMenu_Insert, 1, 1, 2);
  EXPECT_EQ(responder.Last().text, table.Block("GI_AppMess_Conv_Overflow"));
  EXPECT_EQ(UsaByte(0), marks[0]);
  EXPECT_EQ(UsaByte(1), 0);
  EXPECT_EQ(UsaByte(2), 0);
  EXPECT_EQ(UsaByte(3), marks[1]);
  EXPECT_EQ(UsaByte(4), marks[2]);
  EXPECT_EQ(UsaByte(5), marks[3]);
  EXPECT_EQ(UsaByte(6), marks[6]);
  EXPECT_EQ(EventsOf<ev::StatusText>().back().text, table.Text("GI_AppMess_S_Insert"));
}

TEST_F(RowCommands, TheShippedTableOpensEveryListRowButNoMovingCommand) {
  struct Case {
    int category;
    int last;
  };
  const Case cases[] = {{memmap::kCatNone, 0},  {kCatInt, 417},         {kCatUsa, 417},
                        {memmap::kCatCan, 417}, {memmap::kCatSuv, 417}, {memmap::kCatWx, 9},
                        {memmap::kCatFree, 69}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.category);
    const RowRange r = RowTableOf(c.category);
    EXPECT_EQ(r.first, 0);
    EXPECT_EQ(r.last, c.last);
    EXPECT_FALSE(r.clear || r.carry || r.remove || r.insert);
  }
  open = RowTableOf(kCatUsa);
  const cmcEeprom before = target.image;
  Do(CL_PMenu_CarryUp, 3, 3, 3);
  Do(CL_PMenu_CarryDown, 3, 3, 3);
  Do(CL_PMenu_Delete, 3, 3, 4);
  Do(CL_PMenu_Insert, 3, 3, 4);
  Do(CL_PMenu_Clear, 3, 3, 4);
  EXPECT_TRUE(target.image.Equals(before));
  EXPECT_EQ(responder.Count(), 0);

  // Their popup menu items stay disabled on a row beyond the first.
  auto row5 = Cell(CT_UsaCh, CL_ChList_Tag, 5);
  cmcCellCapsule owner;
  owner.cell = &row5;
  for (const std::uint32_t id :
       {CL_PMenu_CarryUp, CL_PMenu_CarryDown, CL_PMenu_Clear, CL_PMenu_Delete, CL_PMenu_Insert}) {
    auto item = Cell(CT_PopupMenu, id);
    cmcCellCapsule cap;
    cap.cell = &item;
    cap.related = &owner;
    Run(cap);
    EXPECT_TRUE(item.Flag(cmcCellObj::kFlagDisabled)) << id;
  }
}

// Copy and paste through the evaluator, as a channel sheet's popup menu
// sends them, on rows other than the first.
class RowCopyPaste : public Clip {
 protected:
  // What a row carries from one place to another, as the record view sees
  // it. Simplex is left out: the radio fixes it on the A channels.
  static std::string Content(const datCh& v) {
    return std::to_string(v.attr & ~datCh::kAtSimplex) + "/" + std::to_string(v.acFlags) + "/" +
           std::to_string(v.rxHz) + "/" + std::to_string(v.txHz) + "/" + v.NameText();
  }
  std::string Content(unsigned category, int index) { return Content(Channel(category, index)); }

  // Gives the rows first..last contents no other row of the list has.
  void Mark(unsigned category, int first, int last) {
    for (int i = first; i <= last; ++i) {
      datCh v = Channel(category, i);
      v.attr = (i % 2 ? datCh::kAtTag : datCh::kAtPoc) | (i % 3 ? 0 : datCh::kAtTxInhibit);
      if (category == memmap::kCatWx) v.attr = i % 2 ? datCh::kAtInhibit : 0;
      if (category == memmap::kCatFree) {
        v.state &= ~(datCh::kStRxUnset | datCh::kStTxUnset);
        v.rxHz = 156'000'000 + 25'000 * static_cast<std::uint32_t>(i);
        v.txHz = 157'000'000 + 12'500 * static_cast<std::uint32_t>(i);
        v.SetName("F" + std::to_string(i));
      }
      v.Store();
    }
  }

  cmcCellCapsule CopyRange(int cellCategory, int cursor, int first, int last) {
    auto cell = Cell(cellCategory, CL_ChList_Tag, cursor);
    auto cap = RowCapsule(cell, CL_PMenu_Copy);
    cap.rowFlags |= cmcCellCapsule::kRowRangeSelected;
    cap.firstRow = first;
    cap.lastRow = last;
    Run(cap);
    return cap;
  }
  cmcCellCapsule PasteAt(int cellCategory, int row) {
    auto cell = Cell(cellCategory, CL_ChList_Tag, row);
    auto cap = RowCapsule(cell, CL_PMenu_Paste);
    Run(cap);
    return cap;
  }
};

TEST_F(RowCopyPaste, ASelectedRangeMovesExactlyItsChannelsWithThePAndCFlags) {
  const unsigned slot = static_cast<unsigned>(memmap::PlanSlot(kCatInt));
  Mark(kCatInt, 14, 20);
  target.image.SetWord(memmap::kPWords + 2 * static_cast<int>(slot), 17);
  target.image.SetWord(memmap::kCWords + 2 * static_cast<int>(slot), 18);
  std::string source[3];
  for (int i = 0; i < 3; ++i) source[i] = Content(kCatInt, 16 + i);
  ASSERT_NE(source[1], source[0]);
  ASSERT_NE(Channel(kCatInt, 17).acFlags & datCh::kAcP, 0u);
  const std::string around[2] = {Content(kCatInt, 99), Content(kCatInt, 103)};

  const auto copy = CopyRange(CT_IntCh, 17, 16, 18);
  EXPECT_EQ(copy.firstRow, 16);
  EXPECT_EQ(copy.lastRow, 18);
  EXPECT_EQ(target.clip.Count(), 3);
  EXPECT_EQ(target.clip.First(), 16);

  events.Clear();
  const auto paste = PasteAt(CT_IntCh, 100);
  ASSERT_EQ(responder.Count(), 1);  // the target rows are channels in use
  EXPECT_EQ(responder.Last().text, table.Block("GI_AppMess_Conv_Overwrite"));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Content(kCatInt, 100 + i), source[i]) << 100 + i;
  EXPECT_EQ(Content(kCatInt, 99), around[0]);
  EXPECT_EQ(Content(kCatInt, 103), around[1]);
  EXPECT_EQ(target.image.GetWord(memmap::kPWords + 2 * static_cast<int>(slot)), 101);
  EXPECT_EQ(target.image.GetWord(memmap::kCWords + 2 * static_cast<int>(slot)), 102);
  EXPECT_EQ(paste.firstRow, 100);
  EXPECT_EQ(paste.lastRow, 102);
  EXPECT_TRUE(paste.rowFlags & cmcCellCapsule::kRowsChanged);
  EXPECT_EQ(EventsOf<ev::StatusText>().back().text, table.Text("GI_AppMess_S_Paste"));
  Deliver();
  EXPECT_EQ(EventsOf<ev::RedrawAllCells>().size(), 1u);
  EXPECT_TRUE(EventsOf<ev::RedrawCellsOfNumber>().empty());
}

TEST_F(RowCopyPaste, CancelToTheOverwriteQuestionKeepsTheTargetRows) {
  Mark(kCatUsa, 40, 42);
  CopyRange(CT_UsaCh, 40, 40, 42);
  const cmcEeprom before = target.image;
  responder.Answer(platform::kIdCancel);
  const auto paste = PasteAt(CT_UsaCh, 200);
  EXPECT_EQ(responder.Count(), 1);
  EXPECT_TRUE(target.image.Equals(before));
  EXPECT_FALSE(paste.rowFlags & cmcCellCapsule::kRowsChanged);
}

TEST_F(RowCopyPaste, PasteNearTheEndOfAListStopsAtItsLastRow) {
  struct Case {
    int cellCategory;
    unsigned category;
    int copyFirst;
    int pasteAt;
    int last;
  };
  const Case cases[] = {
      {CT_IntCh, kCatInt, 10, 415, 417},
      {CT_WxCh, memmap::kCatWx, 2, 8, 9},
      {CT_FreeCh, memmap::kCatFree, 3, 68, 69},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.category);
    Mark(c.category, c.copyFirst, c.copyFirst + 4);
    CopyRange(c.cellCategory, c.copyFirst, c.copyFirst, c.copyFirst + 4);
    ASSERT_EQ(target.clip.Count(), 5);
    std::string source[5];
    for (int i = 0; i < 5; ++i) source[i] = Content(c.category, c.copyFirst + i);
    // Nothing may be written past the list: the rest of a plan's channel
    // bytes, the record after the last free channel, the weather word's
    // spare bits. They get a pattern a stray write would change.
    int guardFirst = memmap::kWxBits + 1;
    int guardEnd = memmap::kWxBits + 2;
    if (memmap::IsPlanCategory(c.category)) {
      guardFirst = memmap::PlanByte(memmap::PlanSlot(c.category), memmap::kPlanEntries);
      guardEnd = memmap::PlanByte(memmap::PlanSlot(c.category), memmap::kPlanSpacing);
    } else if (c.category == memmap::kCatFree) {
      guardFirst = memmap::FreeRecord(memmap::kFreeCount);
      guardEnd = guardFirst + memmap::kFreeRecordSize;
    }
    for (int a = guardFirst; a < guardEnd; ++a)
      target.image.SetByte(a, a == memmap::kWxBits + 1 ? 0xA4 : 0xA5);
    const cmcEeprom before = target.image;

    const auto paste = PasteAt(c.cellCategory, c.pasteAt);
    const int n = c.last - c.pasteAt + 1;
    for (int i = 0; i < n; ++i) EXPECT_EQ(Content(c.category, c.pasteAt + i), source[i]);
    EXPECT_EQ(paste.firstRow, c.pasteAt);
    EXPECT_EQ(paste.lastRow, c.last);
    for (int a = guardFirst; a < guardEnd; ++a) {
      const std::uint8_t keep = a == memmap::kWxBits + 1 ? 0xFC : 0xFF;
      EXPECT_EQ(target.image.GetByte(a) & keep, before.GetByte(a) & keep) << "address " << a;
    }
  }
}

// Only channels in use are asked about: an inhibited plan or weather
// channel and a free channel without a name that no plan lists hold
// nothing the radio shows.
TEST_F(RowCopyPaste, PasteAsksOnlyBeforeOverwritingChannelsInUse) {
  struct Case {
    const char* what;
    int cellCategory;
    unsigned category;
    int target;
    std::function<void()> prepare;
    bool asked;
  };
  const auto inhibit = [this](unsigned category, int index) {
    return [this, category, index] {
      datCh v = Channel(category, index);
      v.attr |= datCh::kAtInhibit;
      v.Store();
    };
  };
  // A free channel's name, and the one plan that lists it (-1: none).
  const auto freeChannel = [this](int index, const char* name, int listedInSlot) {
    return [this, index, name, listedInSlot] {
      datCh v = Channel(memmap::kCatFree, index);
      v.SetName(name);
      v.Store();
      for (int slot = 0; slot < memmap::kPlanCount; ++slot) {
        const int a = memmap::PlanByte(slot, memmap::kFreeIndexBase + index);
        const std::uint8_t b = target.image.GetByte(a);
        target.image.SetByte(a, slot == listedInSlot
                                    ? static_cast<std::uint8_t>(b & ~memmap::kChInhibit)
                                    : static_cast<std::uint8_t>(b | memmap::kChInhibit));
      }
    };
  };
  const Case cases[] = {
      {"free channel without a name, in no plan", CT_FreeCh, memmap::kCatFree, 20,
       freeChannel(20, "   ", -1), false},
      {"free channel with a name", CT_FreeCh, memmap::kCatFree, 20, freeChannel(20, "MAR", -1),
       true},
      {"free channel without a name, in the INT plan", CT_FreeCh, memmap::kCatFree, 20,
       freeChannel(20, "   ", memmap::PlanSlot(kCatInt)), true},
      {"inhibited plan channel", CT_IntCh, kCatInt, 120, inhibit(kCatInt, 120), false},
      {"plan channel in use", CT_IntCh, kCatInt, 120, [] {}, true},
      {"inhibited weather channel", CT_WxCh, memmap::kCatWx, 6, inhibit(memmap::kCatWx, 6), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Mark(c.category, 2, 2);
    CopyRange(c.cellCategory, 2, 2, 2);
    c.prepare();
    const std::string source = Content(c.category, 2);
    responder.Clear();
    responder.Answer(platform::kIdOk);
    PasteAt(c.cellCategory, c.target);
    EXPECT_EQ(responder.Count(), c.asked ? 1 : 0);
    EXPECT_EQ(Content(c.category, c.target), source);
  }
}

}  // namespace
}  // namespace evaltest
