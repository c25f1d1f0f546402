// SPDX-License-Identifier: GPL-3.0-or-later
// Channel cells through the evaluator: plan lists, weather and free channels.
#include "model/cell_names.h"
#include "support/eval_support.h"

#include <tuple>

namespace evaltest {
namespace {

using memmap::kCatFree;
using memmap::kCatUsa;
using memmap::kCatWx;

class EvalChannel : public EvalTest {};

TEST_F(EvalChannel, FreeReceiveFrequencyEntries) {
  struct Case {
    const char* typed;
    std::uint32_t hz;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"156.05", 156'050'000, "156.05000"},
      {"156.0312", 156'031'250, "156.03125"},
      {"156.0313", 160'000'000, "160.00000"},
      // 199.99 MHz lies on the 5 kHz raster but between the record's 6.25 kHz
      // steps: the image holds the step below, and the cell says so.
      {"250", 199'987'500, "199.98750"},
      {"50", 100'000'000, "100.00000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    datCh start(&target.image);
    start.Load(kCatFree, 3);
    start.rxHz = 160'000'000;
    start.txHz = 161'000'000;
    start.Store();
    auto cell = Cell(CT_FreeCh, CL_Fch_FreqR, 3);
    const auto cap = Type(cell, c.typed);
    EXPECT_EQ(Channel(kCatFree, 3).rxHz, c.hz);
    EXPECT_EQ(Channel(kCatFree, 3).txHz, 161'000'000u);
    EXPECT_EQ(cap.outputText, c.shown);
    EXPECT_EQ(cell.HorizontalAlign(), 2);
  }
}

TEST_F(EvalChannel, SimplexReceiveChangeMovesTransmitWhichShowsArrow) {
  datCh ch(&target.image);
  ch.Load(kCatFree, 0);
  ch.rxHz = ch.txHz = 156'800'000;
  ch.Store();
  auto rx = Cell(CT_FreeCh, CL_Fch_FreqR, 0);
  auto tx = Cell(CT_FreeCh, CL_Fch_FreqT, 0);
  Type(rx, "156.850");
  EXPECT_EQ(Channel(kCatFree, 0).rxHz, 156'850'000u);
  EXPECT_EQ(Channel(kCatFree, 0).txHz, 156'850'000u);
  EXPECT_EQ(Show(tx), "<-");
  EXPECT_EQ(tx.HorizontalAlign(), 1);
  // The plans' simplex bit of the free channel follows.
  EXPECT_TRUE(target.image.GetByte(memmap::PlanByte(0, 348)) & memmap::kChSimplex);

  // '=' on the transmit cell edits starting from the receive frequency.
  const auto eq = Key(tx, '=');
  EXPECT_EQ(Run(const_cast<cmcCellCapsule&>(eq)), EvalResult::kOpenEditor);
  EXPECT_EQ(eq.outputText, "156.85000");
}

TEST_F(EvalChannel, ChannelNamesAreFitted) {
  const std::map<std::string, std::string> cases = {{"eh1", "Eh "}, {"aba", "abA"}, {"k", "   "}};
  auto cell = Cell(CT_FreeCh, CL_Fch_ChName, 5);
  for (const auto& [typed, stored] : cases) {
    Type(cell, typed);
    EXPECT_EQ(Channel(kCatFree, 5).NameText(), stored) << typed;
  }
  EXPECT_EQ(Show(cell), "");  // "   " shows with its blanks trimmed
}

TEST_F(EvalChannel, InhibitedChannelShowsDashesExceptNumberAndAttribute) {
  target.image.SetByte(memmap::PlanByte(0, 32), memmap::kChInhibit | memmap::kChTag);
  for (auto id : {CL_ChList_Tag, CL_ChList_TxInh, CL_ChList_Poc, CL_ChList_Simp}) {
    auto cell = Cell(CT_UsaCh, id, 32);
    EXPECT_EQ(Show(cell), "---") << CellName(id);
    EXPECT_EQ(canvas.textColor, kOliveText) << CellName(id);
  }
  auto number = Cell(CT_UsaCh, CL_ChList_No, 32);
  EXPECT_EQ(Show(number), "16  ");
  auto attr = Cell(CT_UsaCh, CL_ChList_Atr, 32);
  EXPECT_EQ(Show(attr), "");

  // A key on a restricted cell is swallowed: nothing changes, and the status
  // bar says why in yellow on maroon.
  const cmcEeprom before = target.image;
  auto tag = Cell(CT_UsaCh, CL_ChList_Tag, 32);
  const auto cap = Key(tag, ' ');
  EXPECT_TRUE(target.image.Equals(before));
  EXPECT_EQ(cap.action, 0);
  const auto status = EventsOf<ev::StatusText>();
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.back().text, table.Text("GI_Botttom_EditRestrected"));
  EXPECT_EQ(status.back().color, kRestrictedTextColor);
  EXPECT_EQ(status.back().background, kRestrictedBackColor);
  // F2 and a chooser's pick do not get through either.
  Key(tag, 0x7100);
  Pick(tag, 0);
  EXPECT_TRUE(target.image.Equals(before));
  EXPECT_TRUE(target.calls.empty());
}

TEST_F(EvalChannel, SimplexIsFixedWhereTheChannelDecides) {
  struct Case {
    int index;
    const char* shown;
  };
  // Odd classic indices and the four-digit channels show dashes; free
  // channels in a plan show their value but take no key.
  for (const Case c : {Case{33, "---"}, Case{234, "---"}, Case{347, "---"}, Case{350, "Duplex"}}) {
    SCOPED_TRACE(c.index);
    auto cell = Cell(CT_UsaCh, CL_ChList_Simp, c.index);
    EXPECT_EQ(Show(cell), c.shown);
    const std::uint8_t before = target.image.GetByte(memmap::PlanByte(0, c.index));
    Key(cell, ' ');
    EXPECT_EQ(target.image.GetByte(memmap::PlanByte(0, c.index)), before);
  }
  auto even = Cell(CT_UsaCh, CL_ChList_Simp, 32);
  EXPECT_EQ(Show(even), "Duplex");
  Key(even, ' ');
  EXPECT_EQ(Show(even), "Simplex");
  EXPECT_EQ(target.image.GetByte(memmap::PlanByte(0, 32)), memmap::kChSimplex);
}

TEST_F(EvalChannel, AttributeOptionsChangeOnlyTheirBit) {
  struct Case {
    std::uint32_t id;
    std::uint8_t bit;
    const char* on;
  };
  const std::vector<Case> cases = {{CL_ChList_Tag, memmap::kChTag, "Tag"},
                                   {CL_ChList_TxInh, memmap::kChTxInhibit, "RX only"},
                                   {CL_ChList_Poc, memmap::kChPoc, "PoC"}};
  for (const auto& c : cases) {
    const int a = memmap::PlanByte(1, 40);  // INT plan
    target.image.SetByte(a, 0x19);          // bits 4, 3, 0 belong to the radio
    auto cell = Cell(CT_IntCh, c.id, 40);
    auto cap = SheetCapsule(cell, ' ');
    Run(cap, true);
    EXPECT_EQ(cap.outputText, c.on) << CellName(c.id);
    EXPECT_EQ(target.image.GetByte(a), 0x19 | c.bit) << CellName(c.id);
  }
}

TEST_F(EvalChannel, AttributeChoicesMakePAndCChannels) {
  const int slot = memmap::PlanSlot(kCatUsa);
  target.image.SetWord(memmap::kPWords + 2 * slot, 16);
  target.image.SetWord(memmap::kCWords + 2 * slot, 16);
  target.image.SetByte(memmap::PlanByte(slot, 20), memmap::kChInhibit);
  auto attr = Cell(CT_UsaCh, CL_ChList_Atr, 20);

  int flags = 0;
  auto cap = SheetCapsule(attr);
  cap.related = &pickCapsule;
  picked = Cell(CT_NoCategory, Flex0, 1);
  pickCapsule.cell = &picked;
  cap.inputMode = cmcCellCapsule::kInputChoice;
  cap.changeCallback = [&flags](cmcCellCapsule&, int f) { flags = f; };
  Run(cap, true);
  EXPECT_EQ(cap.outputText, "P");
  EXPECT_EQ(target.image.GetWord(memmap::kPWords + 2 * slot), 20);
  EXPECT_FALSE(Channel(kCatUsa, 20).attr & datCh::kAtInhibit);
  EXPECT_TRUE(flags & kNotifyAllCells);
  EXPECT_TRUE(flags & kNotifyChannel);
  Deliver();
  auto chosen = EventsOf<ev::AttributeChosen>();
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_FALSE(chosen[0].switchForm);

  EXPECT_EQ(Pick(attr, 2).outputText, "PC");
  EXPECT_EQ(target.image.GetWord(memmap::kCWords + 2 * slot), 20);

  // Inhibiting the P channel is an error the sheet marks.
  const auto inhibited = Pick(attr, 3);
  EXPECT_TRUE(inhibited.ErrorMark());
  EXPECT_TRUE(CellMarks(CT_NoCategory, CL_Check_Usa_ChInh, 0).error);
  EXPECT_FALSE(CellMarks(CT_NoCategory, CL_Check_Int_ChInh, 0).error);

  Deliver();
  events.Clear();
  Pick(attr, 4);
  Deliver();
  chosen = EventsOf<ev::AttributeChosen>();
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_TRUE(chosen[0].switchForm);
}

TEST_F(EvalChannel, AttributeKeysDependOnTheView) {
  auto attr = Cell(CT_UsaCh, CL_ChList_Atr, 10);
  Key(attr, ' ');
  EXPECT_TRUE(Channel(kCatUsa, 10).attr & datCh::kAtInhibit);
  EXPECT_EQ(Key(attr, 13).outputText, "");
  EXPECT_EQ(target.calls.back(), "Chooser GI_Sheet_Sel_ChATRAll 0");

  target.usable = true;
  Key(attr, ' ');  // no toggling in the usable-channels view
  EXPECT_TRUE(Channel(kCatUsa, 10).attr & datCh::kAtInhibit);
  auto cap = SheetCapsule(attr, 13);
  EXPECT_EQ(Run(cap), EvalResult::kChooserOpened);
  EXPECT_EQ(target.calls.back(), "Chooser GI_Sheet_Sel_ChATRUse 0");
}

TEST_F(EvalChannel, WeatherInhibitAndItsCheck) {
  auto no = Cell(CT_WxCh, CL_WX_ChNo, 4);
  EXPECT_EQ(Show(no), "5");
  auto inh = Cell(CT_WxCh, CL_WX_ChInh, 4);
  EXPECT_EQ(Show(inh), "Use");
  Key(inh, ' ');
  EXPECT_EQ(target.image.GetWord(memmap::kWxBits), 1u << 4);
  Deliver();
  const auto redraw = EventsOf<ev::RedrawCellsOfCell>();
  ASSERT_EQ(redraw.size(), 1u);
  EXPECT_EQ(redraw[0].cell, CL_WX_ChInh);
  EXPECT_FALSE(CellMarks(CT_NoCategory, CL_Check_Wx_ChInh, 0).error);

  target.image.SetWord(memmap::kWxBits, 0x3FF);
  auto cap = SheetCapsule(inh);
  Run(cap);
  EXPECT_EQ(cap.outputText, "Inhibit");
  EXPECT_TRUE(cap.ErrorMark());
  EXPECT_TRUE(CellMarks(CT_NoCategory, CL_Check_Wx_ChInh, 0).error);
}

TEST_F(EvalChannel, FreeByteAndChannelNumbers) {
  target.image.SetByte(0x100, 42);
  auto byte = Cell(CT_Null, CL_Free_Byte_Dec, 0x100);
  EXPECT_EQ(Show(byte), "42");
  Type(byte, "300");
  EXPECT_EQ(target.image.GetByte(0x100), 255);
  auto outside = Cell(CT_Null, CL_Free_Byte_Dec, 99999);
  EXPECT_EQ(Show(outside), "");

  auto zero = Cell(CT_Null, CL_Misc_ChNo_0Base, 7);
  auto one = Cell(CT_Null, CL_Misc_ChNo_1Base, 7);
  EXPECT_EQ(Show(zero), "7");
  EXPECT_EQ(Show(one), "8");
  auto four = Cell(CT_IntCh, CL_ChList_No, 262);
  EXPECT_EQ(Show(four), "1060");

  // Rows past the end of a list show nothing and take nothing.
  const cmcEeprom before = target.image;
  for (auto [category, id, number] :
       {std::tuple{CT_IntCh, CL_ChList_No, 418}, std::tuple{CT_IntCh, CL_ChList_Tag, 418},
        std::tuple{CT_IntCh, CL_ChList_Simp, 418}, std::tuple{CT_WxCh, CL_WX_ChInh, 10},
        std::tuple{CT_FreeCh, CL_Fch_FreqR, 70}, std::tuple{CT_FreeCh, CL_Fch_ChName, -1}}) {
    auto cell = Cell(category, id, number);
    EXPECT_EQ(Show(cell), "") << CellName(id);
    Key(cell, ' ');
    Type(cell, "156.8");
  }
  EXPECT_TRUE(target.image.Equals(before));
}

}  // namespace
}  // namespace evaltest
