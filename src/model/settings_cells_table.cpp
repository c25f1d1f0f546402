// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the common settings, ATIS and dealer cells. Offsets are image
// addresses; a bit field owns exactly the bits of its mask.
#include <algorithm>

#include "model/cell_names.h"
#include "model/memory_map.h"
#include "model/settings_cells.h"

namespace settings {

namespace {

using namespace memmap;

constexpr const char* kOnOff = "GI_Sheet_Sel_Misc_OnOff";
constexpr const char* kAppear = "GI_Sheet_Sel_UserSetAppear";

Rule Bit(std::uint32_t cell, int address, int bit, const char* list, Grey grey = {}) {
  Rule r;
  r.cell = cell;
  r.kind = Kind::Option;
  r.address = address;
  r.mask = static_cast<std::uint16_t>(1u << bit);
  r.list = list;
  r.grey = grey;
  return r;
}

Rule Byte(std::uint32_t cell, int address, const char* list) {
  Rule r = Bit(cell, address, 0, list);
  r.mask = 0xFF;
  return r;
}

Rule PlanBit(std::uint32_t cell, int address, int bit, bool redraw) {
  Rule r = Bit(cell, address, bit, kOnOff);
  r.planSwitch = true;
  r.redrawAll = redraw;
  return r;
}

Rule Scaled(std::uint32_t cell, int address, bool word, int scale, int minimum, int maximum,
            bool zeroOff, int trailing, const char* suffix, int divisor = 1) {
  Rule r;
  r.cell = cell;
  r.kind = Kind::Scaled;
  r.address = address;
  r.mask = word ? 0xFFFF : 0xFF;
  r.scale = scale;
  r.minimum = minimum;
  r.maximum = maximum;
  r.zeroOff = zeroOff;
  r.trailing = trailing;
  r.suffix = suffix;
  r.wordDivisor = divisor;
  return r;
}

Rule Fixed(std::uint32_t cell, const char* text) {
  Rule r;
  r.cell = cell;
  r.kind = Kind::Fixed;
  r.fixedText = text;
  return r;
}

Rule Disp(std::uint32_t cell, int bit, const char* listA, const char* listE) {
  Rule r;
  r.cell = cell;
  r.kind = Kind::DispPair;
  r.address = kFlags974;
  r.mask = static_cast<std::uint16_t>(1u << bit);
  r.pairBit = bit;
  r.list = listA;
  r.listE = listE;
  return r;
}

// Grey conditions.
constexpr Grey kWxOff{kFlags972, 0x02, false};
constexpr Grey kScanOff{kFlags972, 0x10, false};
constexpr Grey kDwTwOff{kFlags973, 0xC0, true};
constexpr Grey kPowSaveOff{kFlags973, 0x1C, false};
constexpr Grey kTotOff{kFlags973, 0x20, false};
constexpr Grey kIntOff{kFlags973, 0x02, false};
constexpr Grey kUsaOff{kFlags972, 0x01, false};
constexpr Grey kCanOff{kFlags972, 0x04, false};

std::vector<Rule> Build() {
  std::vector<Rule> t;
  // Common settings.
  t.push_back(Byte(CL_Comm_Beep, kBeep, kOnOff));
  t.push_back(Bit(CL_Comm_WxAlert, kUserSettingsA, 1, kOnOff, kWxOff));
  t.push_back(Bit(CL_Comm_USetM_WxAlert, kUserMenuA, 4, kAppear, kWxOff));
  t.push_back(Bit(CL_Comm_ScanType, kUserSettingsA, 2, "GI_Sheet_Sel_UserSetScan", kScanOff));
  t.push_back(Bit(CL_Comm_USetM_Scan, kUserMenuA, 2, kAppear, kScanOff));
  t.push_back(Bit(CL_Comm_ScanTimer, kUserSettingsA, 3, kOnOff, kScanOff));
  t.push_back(Bit(CL_Comm_USetM_ScanTimer, kUserMenuA, 3, kAppear, kScanOff));
  t.push_back(Bit(CL_Comm_AutoScan, kUserSettingsA, 4, kOnOff, kScanOff));
  t.push_back(Bit(CL_Comm_USetM_AutoScan, kUserMenuA, 1, kAppear, kScanOff));
  t.push_back(Bit(CL_Comm_DwTw, kUserSettingsB, 4, "GI_Sheet_Sel_UserSetDwTw", kDwTwOff));
  t.push_back(Bit(CL_Comm_USetM_DwTw, kUserMenuA, 6, kAppear, kDwTwOff));
  t.push_back(Bit(CL_Comm_Moni, kUserSettingsA, 0, "GI_Sheet_Sel_UserSetMoni"));
  t.push_back(Bit(CL_Comm_USetM_Moni, kUserMenuA, 0, kAppear));
  t.push_back(Bit(CL_Comm_Light, kUserSettingsA, 5, kOnOff));
  t.push_back(Bit(CL_Comm_Light_SUV, kUserSettingsA, 5, "GI_Sheet_Sel_UserSetBackLSUV"));
  t.push_back(Bit(CL_Comm_USetM_Light, kUserMenuB, 7, kAppear));
  t.push_back(Byte(CL_Comm_Cont, kContrast, "GI_Sheet_Sel_UserSetCont"));
  t.push_back(Bit(CL_Comm_PowSave, kUserSettingsA, 6, kOnOff, kPowSaveOff));
  t.push_back(Bit(CL_Comm_USetM_PowSave, kUserMenuB, 6, kAppear, kPowSaveOff));
  t.push_back(Bit(CL_Comm_BobglowAlarm, kUserSettingsB, 0, kOnOff));
  t.push_back(Bit(CL_Comm_USetM_BobglowAlarm, kUserMenuB, 1, kAppear));
  t.push_back(Byte(CL_Comm_AutoDrainbeat, kAutoDrainbeat, "GI_Sheet_Sel_UserSetAutoDrainbeat"));
  t.push_back(Bit(CL_Comm_USetM_AutoDrainbeat, kUserMenuB, 2, kAppear));
  {
    Rule r;
    r.cell = CL_Comm_CloneComment;
    r.kind = Kind::Text;
    r.address = kComment;
    r.mask = 0xFF;
    r.length = kCommentLength;
    t.push_back(r);
  }
  t.push_back(Bit(CL_Comm_VolBep, kFlags975, 5, kOnOff));
  t.push_back(Scaled(CL_Comm_VolTm, kVolumeTime, false, 1, 60, 255, false, 4, " msec"));
  t.push_back(Fixed(CL_Comm_SUV, "ON"));
  t.push_back(Fixed(CL_Comm_INT, "ON"));
  t.push_back(PlanBit(CL_Comm_INT_SUV, kFlags973, 1, true));
  t.push_back(PlanBit(CL_Comm_USA, kFlags972, 0, true));
  t.push_back(PlanBit(CL_Comm_CAN, kFlags972, 2, true));
  t.push_back(PlanBit(CL_Comm_WX, kFlags972, 1, false));
  t.push_back(Fixed(CL_Comm_SUV_Disp, "Disappear"));
  t.push_back(
      Disp(CL_Comm_INT_Disp, 1, "GI_Sheet_Sel_UserSetDispIntU", "GI_Sheet_Sel_UserSetDispIntE"));
  t.push_back(
      Disp(CL_Comm_USA_Disp, 0, "GI_Sheet_Sel_UserSetDispUsaU", "GI_Sheet_Sel_UserSetDispUsaE"));
  t.push_back(
      Disp(CL_Comm_CAN_Disp, 2, "GI_Sheet_Sel_UserSetDispCanU", "GI_Sheet_Sel_UserSetDispCanE"));
  t.push_back(Fixed(CL_Comm_WX_Disp, "WX"));
  t.push_back(Bit(CL_Comm_ScanFunc, kFlags972, 4, kOnOff));
  t.push_back(Bit(CL_Comm_DwFunc, kFlags973, 7, kOnOff));
  t.push_back(Bit(CL_Comm_TwFunc, kFlags973, 6, kOnOff));
  {
    Rule r = Bit(CL_Comm_TOT, kFlags973, 5, kOnOff);
    r.redrawAll = true;
    t.push_back(r);
  }
  t.push_back(Bit(CL_Comm_TxPow, kFlags973, 0, "GI_Sheet_Sel_UserSetTxPow"));
  t.push_back(Bit(CL_Comm_TOTAlarm, kFlags975, 7, kOnOff, kTotOff));
  t.push_back(Bit(CL_Comm_PttScan, kFlags972, 3, "GI_Sheet_Sel_UserSetPttScan"));
  t.push_back(Bit(CL_Comm_ChExt, kFlags972, 5, kOnOff));
  t.push_back(Bit(CL_Comm_PowSaveCh, kFlags973, 4, kOnOff));
  t.push_back(Bit(CL_Comm_PowSaveScan, kFlags973, 3, kOnOff));
  t.push_back(Bit(CL_Comm_PowSaveDw, kFlags973, 2, kOnOff));
  t.push_back(Scaled(CL_Comm_PowSave1st, kPowerSave1st, true, 10, 50, 255, false, 2, " sec", 100));
  {
    Rule r = Scaled(CL_Comm_PowSave2nd, kPowerSave2nd, true, 1, 0, 255, true, 4, " sec");
    r.noSuffixWhenOff = true;
    t.push_back(r);
  }
  t.push_back(Bit(CL_Comm_BobglowPowerSave, kFlags975, 3, kOnOff));

  // ATIS and AIS.
  {
    Rule r;
    r.cell = CL_Atis_SelfId;
    r.kind = Kind::AtisId;
    r.address = kAtisId;
    r.mask = 0xFF;
    r.length = kAtisIdBytes;
    t.push_back(r);
  }
  t.push_back(Fixed(CL_Comm_Atis_Suv, "Unable"));
  t.push_back(Bit(CL_Comm_Atis_Int, kAtisFlags, 1, kOnOff, kIntOff));
  t.push_back(Bit(CL_Comm_Atis_Usa, kAtisFlags, 0, kOnOff, kUsaOff));
  t.push_back(Bit(CL_Comm_Atis_Can, kAtisFlags, 2, kOnOff, kCanOff));
  t.push_back(Bit(CL_Comm_Ais_TxWith, kAtisFlags, 4, "GI_Sheet_Sel_UserSetTxWithoutAtis"));

  // Dealer settings.
  t.push_back(Bit(CL_Maker_Init, kFlags974, 7, kOnOff));
  t.push_back(Bit(CL_Maker_TA, kFlags974, 6, kOnOff));
  t.push_back(Bit(CL_Maker_TestMode, kTestMode, 0, kOnOff));
  t.push_back(Scaled(CL_Maker_TOT_Timer, kTotTimer, true, 1, 0, 999, false, 4, " sec"));
  t.push_back(Scaled(CL_Maker_TX_Mute_Timer, kTxMuteTimer, false, 1, 0, 255, false, 4, " msec"));
  t.push_back(Scaled(CL_Maker_RX_Mute_Timer, kRxMuteTimer, false, 1, 0, 255, false, 4, " msec"));
  t.push_back(
      Scaled(CL_Maker_Transient_Timer, kTransientTimer, false, 1, 0, 255, false, 4, " msec"));
  t.push_back(Scaled(CL_Maker_Scan_Speed, kScanSpeed, false, 1, 60, 200, true, 4, " msec"));
  t.push_back(Scaled(CL_Maker_DwTw_Timer, kDwTwTimer, true, 100, 80, 150, true, 1, " sec", 10));
  t.push_back(Scaled(CL_Maker_Auto_Scan_Timer, kAutoScanTimer, false, 1, 1, 125, true, 4, " sec"));
  t.push_back(Scaled(CL_Maker_PS_OFF_Timer, kPsOffTimer, true, 100, 1, 255, true, 1, " sec", 10));
  t.push_back(Scaled(CL_Maker_PS_ON_Timer1, kPsOnTimer1, true, 100, 1, 255, true, 1, " sec", 10));
  t.push_back(Scaled(CL_Maker_PS_ON_Timer2, kPsOnTimer2, true, 100, 1, 255, true, 1, " sec", 10));
  {
    Rule r;
    r.cell = CL_Maker_DrainbeatF;
    r.kind = Kind::Drainbeat;
    r.address = kDrainbeatDivisor;
    r.mask = 0xFFFF;
    r.minimum = 40;
    r.maximum = 300;
    r.suffix = " Hz";
    t.push_back(r);
  }
  t.push_back(Byte(CL_Maker_TXPLLOpt1, kTxPllOpt1, "GI_Sheet_Sel_PLLOpt"));
  t.push_back(Byte(CL_Maker_TXPLLOpt2, kTxPllOpt2, "GI_Sheet_Sel_PLLOpt"));
  t.push_back(Byte(CL_Maker_RXPLLOpt1, kRxPllOpt1, "GI_Sheet_Sel_PLLOpt"));
  {
    Rule r;
    r.cell = CL_Maker_ForcedTerminationTime;
    r.kind = Kind::ForcedTermination;
    r.address = kForcedTerminationTime;
    r.mask = 0xFF;
    r.minimum = 0;
    r.maximum = 1275;
    r.suffix = " min";
    t.push_back(r);
  }
  t.push_back(Scaled(CL_Maker_DelayTime, kDelayTime, false, 1, 0, 255, false, 4, " sec"));
  {
    Rule r;
    r.cell = CL_Maker_SetVolt;
    r.kind = Kind::Integer;
    r.address = kSetVolt;
    r.mask = 0xFF;
    r.minimum = 0;
    r.maximum = 255;
    t.push_back(r);
  }
  t.push_back(Bit(CL_Maker_ForcedTerminationSet, kForcedTerminationSet, 0, kOnOff));

  std::stable_sort(t.begin(), t.end(),
                   [](const Rule& a, const Rule& b) { return a.cell < b.cell; });
  return t;
}

}  // namespace

const std::vector<Rule>& Rules() {
  static const std::vector<Rule> rules = Build();
  return rules;
}

const Rule* FindRule(std::uint32_t cell) {
  const auto& rules = Rules();
  auto it = std::lower_bound(rules.begin(), rules.end(), cell,
                             [](const Rule& r, std::uint32_t c) { return r.cell < c; });
  return (it != rules.end() && it->cell == cell) ? &*it : nullptr;
}

}  // namespace settings
