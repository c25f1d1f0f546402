// SPDX-License-Identifier: GPL-3.0-or-later
// The settings, ATIS and dealer cells: where each one lives in the image and
// what its editor makes of typed values.
#include <gtest/gtest.h>
#include "support/codes.h"

#include <map>
#include <set>

#include "model/cell_names.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/settings_cells.h"

namespace {

using settings::Kind;

// Every list offers 0 and 0xFFFF, so one step asks a cell to set every bit it
// can; only the bits the cell owns may take it.
class AllBitsList : public editor::OptionList {
 public:
  std::string TextFor(int v) override { return v == 0 ? "zero" : v == 0xFFFF ? "all" : "error"; }
  int Step(int v, int) override { return v == 0 ? 0xFFFF : 0; }
};

class Source : public settings::OptionSource {
 public:
  editor::OptionList& List(const std::string& name) override {
    asked.push_back(name);
    return list;
  }
  AllBitsList list;
  std::vector<std::string> asked;
};

struct Fixture {
  cmcEeprom image{memmap::kImageSize};
  Source source;
  settings::Context Ctx(int model = 0) {
    return settings::Context{&image, model, &source, "OFF", "No ID"};
  }
  settings::Result Run(std::uint32_t cell, const editor::Input& in, int model = 0) {
    const settings::Rule* rule = settings::FindRule(cell);
    EXPECT_NE(rule, nullptr) << CellName(cell);
    settings::Result r;
    if (rule) settings::Evaluate(*rule, Ctx(model), in, r);
    return r;
  }
};

editor::Input Typed(const std::string& t) {
  editor::Input in;
  in.inputMode = 1;
  in.text = t;
  return in;
}
editor::Input Key(int a) {
  editor::Input in;
  in.keys = true;
  in.action = a;
  return in;
}

// Bits each cell owns, written out from the settings tables rather than
// taken from the rules, so that a wrong row in the rules shows up here.
using Owned = std::map<int, std::uint8_t>;
struct Expect {
  std::uint32_t cell;
  Owned bits;
  const char* typed;  // nullptr: step the option list instead
};

const std::vector<Expect>& Expected() {
  static const std::vector<Expect> e = {
      {CL_Comm_Beep, {{0x956, 0xFF}}, nullptr},
      {CL_Comm_WxAlert, {{0x954, 0x02}}, nullptr},
      {CL_Comm_USetM_WxAlert, {{0x952, 0x10}}, nullptr},
      {CL_Comm_ScanType, {{0x954, 0x04}}, nullptr},
      {CL_Comm_USetM_Scan, {{0x952, 0x04}}, nullptr},
      {CL_Comm_ScanTimer, {{0x954, 0x08}}, nullptr},
      {CL_Comm_USetM_ScanTimer, {{0x952, 0x08}}, nullptr},
      {CL_Comm_AutoScan, {{0x954, 0x10}}, nullptr},
      {CL_Comm_USetM_AutoScan, {{0x952, 0x02}}, nullptr},
      {CL_Comm_DwTw, {{0x955, 0x10}}, nullptr},
      {CL_Comm_USetM_DwTw, {{0x952, 0x40}}, nullptr},
      {CL_Comm_Moni, {{0x954, 0x01}}, nullptr},
      {CL_Comm_USetM_Moni, {{0x952, 0x01}}, nullptr},
      {CL_Comm_Light, {{0x954, 0x20}}, nullptr},
      {CL_Comm_Light_SUV, {{0x954, 0x20}}, nullptr},
      {CL_Comm_USetM_Light, {{0x953, 0x80}}, nullptr},
      {CL_Comm_Cont, {{0x957, 0xFF}}, nullptr},
      {CL_Comm_PowSave, {{0x954, 0x40}}, nullptr},
      {CL_Comm_USetM_PowSave, {{0x953, 0x40}}, nullptr},
      {CL_Comm_BobglowAlarm, {{0x955, 0x01}}, nullptr},
      {CL_Comm_USetM_BobglowAlarm, {{0x953, 0x02}}, nullptr},
      {CL_Comm_AutoDrainbeat, {{0x95B, 0xFF}}, nullptr},
      {CL_Comm_USetM_AutoDrainbeat, {{0x953, 0x04}}, nullptr},
      {CL_Comm_CloneComment,
       {{0x9C0, 0xFF},
        {0x9C1, 0xFF},
        {0x9C2, 0xFF},
        {0x9C3, 0xFF},
        {0x9C4, 0xFF},
        {0x9C5, 0xFF},
        {0x9C6, 0xFF},
        {0x9C7, 0xFF},
        {0x9C8, 0xFF},
        {0x9C9, 0xFF},
        {0x9CA, 0xFF},
        {0x9CB, 0xFF},
        {0x9CC, 0xFF},
        {0x9CD, 0xFF},
        {0x9CE, 0xFF},
        {0x9CF, 0xFF}},
       "ABCDEFGHIJKLMNOP"},
      {CL_Comm_VolBep, {{0x975, 0x20}}, nullptr},
      {CL_Comm_VolTm, {{0x979, 0xFF}}, "255"},
      {CL_Comm_SUV, {}, ""},
      {CL_Comm_INT, {{0x973, 0x02}}, ""},
      {CL_Comm_INT_SUV, {{0x973, 0x02}}, nullptr},
      {CL_Comm_USA, {{0x972, 0x01}}, nullptr},
      {CL_Comm_CAN, {{0x972, 0x04}}, nullptr},
      {CL_Comm_WX, {{0x972, 0x02}}, nullptr},
      {CL_Comm_SUV_Disp, {}, ""},
      {CL_Comm_INT_Disp, {{0x974, 0x02}, {0x975, 0x02}}, nullptr},
      {CL_Comm_USA_Disp, {{0x974, 0x01}, {0x975, 0x01}}, nullptr},
      {CL_Comm_CAN_Disp, {{0x974, 0x04}, {0x975, 0x04}}, nullptr},
      {CL_Comm_WX_Disp, {}, ""},
      {CL_Comm_ScanFunc, {{0x972, 0x10}}, nullptr},
      {CL_Comm_DwFunc, {{0x973, 0x80}}, nullptr},
      {CL_Comm_TwFunc, {{0x973, 0x40}}, nullptr},
      {CL_Comm_TOT, {{0x973, 0x20}}, nullptr},
      {CL_Comm_TxPow, {{0x973, 0x01}}, nullptr},
      {CL_Comm_TOTAlarm, {{0x975, 0x80}}, nullptr},
      {CL_Comm_PttScan, {{0x972, 0x08}}, nullptr},
      {CL_Comm_ChExt, {{0x972, 0x20}}, nullptr},
      {CL_Comm_PowSaveCh, {{0x973, 0x10}}, nullptr},
      {CL_Comm_PowSaveScan, {{0x973, 0x08}}, nullptr},
      {CL_Comm_PowSaveDw, {{0x973, 0x04}}, nullptr},
      {CL_Comm_PowSave1st, {{0x97A, 0xFF}, {0x97B, 0xFF}}, "25.5"},
      {CL_Comm_PowSave2nd, {{0x97C, 0xFF}, {0x97D, 0xFF}}, "255"},
      {CL_Comm_BobglowPowerSave, {{0x975, 0x08}}, nullptr},
      {CL_Atis_SelfId,
       {{0x980, 0xFF}, {0x981, 0xFF}, {0x982, 0xFF}, {0x983, 0xFF}, {0x984, 0xFF}, {0x985, 0xFF}},
       "1234567890"},
      {CL_Comm_Atis_Suv, {}, ""},
      {CL_Comm_Atis_Int, {{0x988, 0x02}}, nullptr},
      {CL_Comm_Atis_Usa, {{0x988, 0x01}}, nullptr},
      {CL_Comm_Atis_Can, {{0x988, 0x04}}, nullptr},
      {CL_Comm_Ais_TxWith, {{0x988, 0x10}}, nullptr},
      {CL_Maker_Init, {{0x974, 0x80}}, nullptr},
      {CL_Maker_TA, {{0x974, 0x40}}, nullptr},
      {CL_Maker_TestMode, {{0xA12, 0x01}}, nullptr},
      {CL_Maker_TOT_Timer, {{0xA26, 0xFF}, {0xA27, 0xFF}}, "999"},
      {CL_Maker_TX_Mute_Timer, {{0xA2C, 0xFF}}, "255"},
      {CL_Maker_RX_Mute_Timer, {{0xA2D, 0xFF}}, "255"},
      {CL_Maker_Transient_Timer, {{0x97E, 0xFF}}, "255"},
      {CL_Maker_Scan_Speed, {{0xA2A, 0xFF}}, "200"},
      {CL_Maker_DwTw_Timer, {{0xA28, 0xFF}, {0xA29, 0xFF}}, "1.5"},
      {CL_Maker_Auto_Scan_Timer, {{0xA2B, 0xFF}}, "125"},
      {CL_Maker_PS_OFF_Timer, {{0xA24, 0xFF}, {0xA25, 0xFF}}, "2.55"},
      {CL_Maker_PS_ON_Timer1, {{0xA20, 0xFF}, {0xA21, 0xFF}}, "2.55"},
      {CL_Maker_PS_ON_Timer2, {{0xA22, 0xFF}, {0xA23, 0xFF}}, "2.55"},
      {CL_Maker_DrainbeatF, {{0xA30, 0xFF}, {0xA31, 0xFF}}, "40"},
      {CL_Maker_TXPLLOpt1, {{0xA36, 0xFF}}, nullptr},
      {CL_Maker_TXPLLOpt2, {{0xA37, 0xFF}}, nullptr},
      {CL_Maker_RXPLLOpt1, {{0xA38, 0xFF}}, nullptr},
      {CL_Maker_ForcedTerminationTime, {{0xA32, 0xFF}}, "1275"},
      {CL_Maker_DelayTime, {{0xA33, 0xFF}}, "255"},
      {CL_Maker_SetVolt, {{0xA34, 0xFF}}, "255"},
      {CL_Maker_ForcedTerminationSet, {{0xA35, 0x01}}, nullptr},
  };
  return e;
}

TEST(SettingsCells, EveryCellChangesExactlyItsOwnBits) {
  EXPECT_EQ(settings::Rules().size(), Expected().size())
      << "a rule without a row here, or the reverse";
  for (const auto& e : Expected()) {
    Fixture f;
    const cmcEeprom before = f.image;
    f.Run(e.cell, e.typed ? Typed(e.typed) : Key(' '));
    Owned changed;
    for (int a = 0; a < f.image.Size(); ++a) {
      const std::uint8_t diff = f.image.GetByte(a) ^ before.GetByte(a);
      if (diff) changed[a] = diff;
    }
    if (e.typed && *e.typed) {
      // Typed values need not set every bit; they must stay inside the field.
      for (const auto& [a, diff] : changed) {
        ASSERT_TRUE(e.bits.count(a)) << CellName(e.cell) << " wrote " << std::hex << a;
        EXPECT_EQ(diff & ~e.bits.at(a), 0) << CellName(e.cell) << " at " << std::hex << a;
      }
      EXPECT_FALSE(changed.empty()) << CellName(e.cell);
    } else {
      EXPECT_EQ(changed, e.bits) << CellName(e.cell);
    }
  }
}

TEST(SettingsCells, OtherBitsOfASharedByteSurvive) {
  Fixture f;
  f.image.SetByte(0x954, 0xFF);
  f.Run(CL_Comm_WxAlert, Key(' '));  // 1 steps to 0
  EXPECT_EQ(f.image.GetByte(0x954), 0xFD);
  f.Run(CL_Comm_WxAlert, Key(' '));  // 0 steps to 0xFFFF, of which bit 1 lands
  EXPECT_EQ(f.image.GetByte(0x954), 0xFF);
}

TEST(SettingsCells, ScaledAndDealerValues) {
  struct Case {
    std::uint32_t cell;
    int address;
    bool word;
    int stored;
    const char* typed;  // nullptr: only show
    int after;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {CL_Comm_PowSave1st, 0x97A, true, 5000, nullptr, 5000, "5.0 sec"},
      {CL_Comm_PowSave1st, 0x97A, true, 5000, "7.25", 7200, "7.2 sec"},
      {CL_Comm_PowSave1st, 0x97A, true, 6000, "3", 5000, "5.0 sec"},
      {CL_Comm_PowSave2nd, 0x97C, true, 0, nullptr, 0, "OFF"},
      {CL_Comm_PowSave2nd, 0x97C, true, 30, nullptr, 30, "30 sec"},
      {CL_Comm_PowSave2nd, 0x97C, true, 30, "off", 0, "OFF"},
      {CL_Comm_VolTm, 0x979, false, 100, nullptr, 100, "100 msec"},
      {CL_Maker_DwTw_Timer, 0xA28, true, 800, nullptr, 800, "0.80 sec"},
      {CL_Maker_DwTw_Timer, 0xA28, true, 800, "1.2", 1200, "1.20 sec"},
      // Decimals whose binary value lies just below the hundredth they name.
      {CL_Maker_DwTw_Timer, 0xA28, true, 800, "1.13", 1130, "1.13 sec"},
      {CL_Maker_PS_OFF_Timer, 0xA24, true, 0, "0.29", 290, "0.29 sec"},
      {CL_Maker_PS_OFF_Timer, 0xA24, true, 0, nullptr, 0, "OFF sec"},
      {CL_Maker_DrainbeatF, 0xA30, true, 0, nullptr, 0, "40 Hz"},
      {CL_Maker_DrainbeatF, 0xA30, true, 0, "40", 61440, "40 Hz"},
      {CL_Maker_DrainbeatF, 0xA30, true, 0, "300", 8192, "300 Hz"},
      {CL_Maker_DrainbeatF, 0xA30, true, 0, "41", 59941, "41 Hz"},
      {CL_Maker_DrainbeatF, 0xA30, true, 0, "1000", 8192, "300 Hz"},
      {CL_Maker_ForcedTerminationTime, 0xA32, false, 3, nullptr, 3, "15 min"},
      {CL_Maker_ForcedTerminationTime, 0xA32, false, 0, nullptr, 0, "OFF"},
      {CL_Maker_ForcedTerminationTime, 0xA32, false, 0, "12", 2, "10 min"},
      {CL_Maker_ForcedTerminationTime, 0xA32, false, 0, "13", 3, "15 min"},
      {CL_Maker_SetVolt, 0xA34, false, 9, "300", 255, "255"},
      {CL_Maker_TOT_Timer, 0xA26, true, 5, "abc", 5, "5 sec"},
  };
  for (const auto& c : cases) {
    Fixture f;
    if (c.word)
      f.image.SetWord(c.address, static_cast<std::uint16_t>(c.stored));
    else
      f.image.SetByte(c.address, static_cast<std::uint8_t>(c.stored));
    const auto r = f.Run(c.cell, c.typed ? Typed(c.typed) : editor::Input{});
    const int after = c.word ? f.image.GetWord(c.address) : f.image.GetByte(c.address);
    const std::string label = std::string(CellName(c.cell)) + " " + (c.typed ? c.typed : "-");
    EXPECT_EQ(after, c.after) << label;
    EXPECT_EQ(r.out.text, c.shown) << label;
  }
}

TEST(SettingsCells, AtisIdentityWithChecksumOrCleared) {
  Fixture f;
  auto r = f.Run(CL_Atis_SelfId, Typed("0123456789"));
  EXPECT_EQ(r.out.text, "0123456789");
  const std::uint8_t sum = static_cast<std::uint8_t>(~(1 + 23 + 45 + 67 + 89));
  EXPECT_EQ(f.image.GetByte(0x985), sum);

  r = f.Run(CL_Atis_SelfId, Typed("012345678"));
  for (int a = 0x980; a <= 0x985; ++a) EXPECT_EQ(f.image.GetByte(a), 0xFF) << std::hex << a;
  EXPECT_EQ(r.out.text, "No ID");

  // Opening the editor on a cleared identity starts from an empty text and
  // leaves the image alone.
  const cmcEeprom cleared = f.image;
  for (int key : {13, int{'5'}}) {
    r = f.Run(CL_Atis_SelfId, Key(key));
    EXPECT_EQ(Num(r.out.result), 2);
    EXPECT_EQ(r.out.text, key == 13 ? "" : "5");
    EXPECT_TRUE(f.image.Equals(cleared));
  }
  // A stored identity with a wrong checksum gets the right one on show.
  f.image.SetByte(0x985, 0);
  for (int a = 0x980; a <= 0x984; ++a) f.image.SetByte(a, 0);
  EXPECT_EQ(f.Run(CL_Atis_SelfId, {}).out.text, "0000000000");
  EXPECT_EQ(f.image.GetByte(0x985), 0xFF);  // the checksum of five zero bytes
}

TEST(SettingsCells, GreyingFollowsTheSwitches) {
  Fixture f;
  f.image.SetByte(0x972, 0x02);  // weather on
  EXPECT_FALSE(f.Run(CL_Comm_WxAlert, {}).silver);
  EXPECT_FALSE(f.Run(CL_Comm_USetM_WxAlert, {}).silver);
  f.image.SetByte(0x972, 0x03);
  const auto off = f.Run(CL_Comm_WX, Key(' '));  // 1 is unlisted: steps to 0
  EXPECT_TRUE(off.planChanged);
  EXPECT_EQ(f.image.GetByte(0x972) & 0x02, 0);
  EXPECT_TRUE(f.Run(CL_Comm_WxAlert, {}).silver);
  EXPECT_TRUE(f.Run(CL_Comm_USetM_WxAlert, {}).silver);

  // Dual/tri watch needs both functions; power save any of three.
  f.image.SetByte(0x973, 0x80);
  EXPECT_TRUE(f.Run(CL_Comm_DwTw, {}).silver);
  f.image.SetByte(0x973, 0xC0);
  EXPECT_FALSE(f.Run(CL_Comm_DwTw, {}).silver);
  EXPECT_TRUE(f.Run(CL_Comm_PowSave, {}).silver);
  f.image.SetByte(0x973, 0x08);
  EXPECT_FALSE(f.Run(CL_Comm_PowSave, {}).silver);
}

TEST(SettingsCells, PlanSwitchesAndFixedCells) {
  Fixture f;
  for (auto cell : {CL_Comm_INT_SUV, CL_Comm_USA, CL_Comm_CAN, CL_Comm_WX}) {
    const auto r = f.Run(cell, Key(' '));
    EXPECT_TRUE(r.planChanged) << CellName(cell);
    EXPECT_EQ(r.redrawAll, cell != CL_Comm_WX) << CellName(cell);
  }
  EXPECT_FALSE(f.Run(CL_Comm_Beep, Key(' ')).planChanged);
  EXPECT_TRUE(f.Run(CL_Comm_TOT, Key(' ')).redrawAll);
  // Showing without a change publishes nothing.
  EXPECT_FALSE(f.Run(CL_Comm_USA, {}).planChanged);

  const auto fixed = f.Run(CL_Comm_Atis_Suv, Key('x'));
  EXPECT_EQ(fixed.out.text, "Unable");
  EXPECT_TRUE(fixed.olive);
  EXPECT_TRUE(fixed.restricted);
}

TEST(SettingsCells, DisplayPairsChooseTheirListByModel) {
  Fixture f;
  f.Run(CL_Comm_USA_Disp, {}, 0);
  f.Run(CL_Comm_USA_Disp, {}, 1);
  f.Run(CL_Comm_CAN_Disp, {}, 8);
  EXPECT_EQ(f.source.asked, (std::vector<std::string>{"GI_Sheet_Sel_UserSetDispUsaU",
                                                      "GI_Sheet_Sel_UserSetDispUsaE",
                                                      "GI_Sheet_Sel_UserSetDispCanU"}));
  // Value = (974 bit) * 2 + (975 bit).
  f.image.SetByte(0x974, 0x01);
  EXPECT_EQ(settings::ReadField(*settings::FindRule(CL_Comm_USA_Disp), f.image), 2);
  f.image.SetByte(0x975, 0x01);
  EXPECT_EQ(settings::ReadField(*settings::FindRule(CL_Comm_USA_Disp), f.image), 3);
  settings::WriteField(*settings::FindRule(CL_Comm_USA_Disp), f.image, 1);
  EXPECT_EQ(f.image.GetByte(0x974), 0x00);
  EXPECT_EQ(f.image.GetByte(0x975), 0x01);
}

TEST(SettingsCells, EnterAsksForAChooserOverTheCellsList) {
  Fixture f;
  const auto r = f.Run(CL_Comm_TxPow, Key(13));
  EXPECT_EQ(Num(r.out.result), 1);
  EXPECT_EQ(r.chooserList, "GI_Sheet_Sel_UserSetTxPow");
}

}  // namespace
