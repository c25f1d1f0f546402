// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where things live in the radio's 3796-byte EEPROM image. Every part of the
// program that touches the image by address takes its numbers from here, so
// a layout question has exactly one answer. Offsets are image addresses;
// 16-bit values in the image are little-endian.

#include <cstdint>

class cmcEeprom;

namespace memmap {

constexpr int kImageSize = 3796;

// The one range that clone data files and clone reads cover; the bytes from
// kFileEnd on never leave the program in a file.
constexpr int kFileFirst = 0x000;
constexpr int kFileLast = 0xCEF;
constexpr int kFileBytes = kFileLast - kFileFirst + 1;  // 3312
constexpr int kFileEnd = kFileLast + 1;

// Clone data file header values of this radio.
constexpr std::uint16_t kModelCode = 0x5816;
constexpr std::uint16_t kExtraCode = 1;
constexpr int kMapRevision = 1;

// Channel categories, as the cell model numbers them.
enum Category : unsigned {
  kCatNone = 0,
  kCatInt = 1,
  kCatUsa = 2,
  kCatCan = 3,
  kCatSuv = 4,
  kCatWx = 5,
  kCatFree = 6,
};
constexpr int kPlanCount = 4;

// Plan slot of a channel plan category (1..4), or -1 for any other category.
constexpr int PlanSlot(unsigned category) {
  switch (category) {
    case kCatUsa: return 0;
    case kCatInt: return 1;
    case kCatCan: return 2;
    case kCatSuv: return 3;
    default: return -1;
  }
}
// Whether a category is one of the four channel plans, the ones with
// channel bytes, P and C channels and the channel sheets' attribute cells.
// Signed, because the cell model carries categories as int; a negative
// one is no plan.
constexpr bool IsPlanCategory(long long category) {
  return category >= 0 && PlanSlot(static_cast<unsigned>(category)) >= 0;
}
// The category that owns plan slot 0..3.
constexpr unsigned SlotCategory(int slot) {
  constexpr unsigned kBySlot[kPlanCount] = {kCatUsa, kCatInt, kCatCan, kCatSuv};
  return kBySlot[slot];
}

// Channel bytes: one per plan and channel index, plans 448 bytes apart.
constexpr int kPlanSpacing = 448;
constexpr int kPlanEntries = 418;
constexpr int PlanByte(int slot, int index) { return slot * kPlanSpacing + index; }

// Channel byte bits.
constexpr std::uint8_t kChInhibit = 0x80;
constexpr std::uint8_t kChTag = 0x40;
constexpr std::uint8_t kChPoc = 0x20;
constexpr std::uint8_t kChTxInhibit = 0x04;
constexpr std::uint8_t kChSimplex = 0x02;
// Bits 4, 3 and 0 are not the user's: they follow the initial image.
constexpr std::uint8_t kChEditable = kChInhibit | kChTag | kChPoc | kChTxInhibit | kChSimplex;

// Channel index ranges within a plan.
constexpr int kClassicEnd = 234;     // 0..233: classic number index/2, odd = A
constexpr int kFourDigit1000 = 234;  // 234..261: 1001..1028
constexpr int kFourDigit1060 = 262;  // 262..290: 1060..1088
constexpr int kFourDigit2000 = 291;  // 291..318: 2001..2028
constexpr int kFourDigit2060 = 319;  // 319..347: 2060..2088
constexpr int kFreeIndexBase = 348;  // 348..417: free channel 0..69

// Free channel records.
constexpr int kFreeBase = 0x700;
constexpr int kFreeCount = 70;
constexpr int kFreeRecordSize = 8;
constexpr int FreeRecord(int i) { return kFreeBase + kFreeRecordSize * i; }
constexpr int kFreeNameLength = 3;
constexpr std::uint32_t kFreeRxBase = 21'700'000;  // receive codes count from here
constexpr std::uint32_t kStepCoarse = 12'500;
constexpr std::uint32_t kStepFine = 6'250;
constexpr std::uint8_t kFreeRxFine = 0x01;  // byte 7 bit 0
constexpr std::uint8_t kFreeTxFine = 0x02;  // byte 7 bit 1

// Per plan slot word tables (slot * 2).
constexpr int kSavedPWords = 0x940;  // copy of the P words, made before a save/write
constexpr int kCWords = 0x960;
constexpr int kPWords = 0x968;

// Weather channels: bit n of the word is channel n, 1 = inhibited.
constexpr int kWxBits = 0x970;
constexpr int kWxCount = 10;
constexpr std::uint16_t kWxAllInhibited = (1u << kWxCount) - 1;
constexpr int kFirstWx = 0x948;

// Common settings bytes. The bit assignments belong to the settings cells;
// the bytes no sheet shows are kept as the radio wants them by the
// normalisation.
constexpr int kCommonFirst = 0x949;
constexpr int kCommonLast = 0x95F;
constexpr int kFromInitial949 = 0x949;
constexpr int kPowerOnPlan = 0x94A;     // models 0 and 6: 1 while the USA plan is off
constexpr int kFromInitial94B = 0x94B;  // 2 bytes, renewed before a save
constexpr int kTxPowerByte = 0x94D;     // transmit power (973 bit 0), taken before a save
constexpr int kFromInitial94E = 0x94E;  // 3 bytes
constexpr int kUserMenuA = 0x952;       // which settings the radio's own menu offers
constexpr int kUserMenuB = 0x953;
constexpr int kUserSettingsA = 0x954;  // the values of those settings
constexpr int kUserSettingsB = 0x955;
constexpr int kBeep = 0x956;
constexpr int kContrast = 0x957;
constexpr int kAutoDrainbeat = 0x95B;

// Setting flag bytes: plan and function switches, plan display pairs
// (one bit of 974 and one of 975 each) and timers.
constexpr int kFlags972 = 0x972;
constexpr int kFlags973 = 0x973;
constexpr int kFlags974 = 0x974;
constexpr int kFlags975 = 0x975;

// Whether the image switches on the channel list of plan: the USA,
// international and Canadian plans and the weather channels each have a
// bit of their own. Any other category has no switch in the image (the
// SUV list goes with the model type): false.
bool PlanOn(const cmcEeprom& image, unsigned plan);
constexpr int kVolumeTime = 0x979;      // byte, milliseconds
constexpr int kPowerSave1st = 0x97A;    // word, milliseconds
constexpr int kPowerSave2nd = 0x97C;    // word, seconds
constexpr int kTransientTimer = 0x97E;  // byte, milliseconds; a dealer setting

// ATIS self identity: ten digits, two per byte, and their checksum.
constexpr int kAtisId = 0x980;
constexpr int kAtisIdBytes = 5;
constexpr int kAtisIdDigits = 10;
constexpr int kAtisChecksum = 0x985;
constexpr std::uint8_t kAtisNoId = 0xFF;
constexpr int kFromInitial986 = 0x986;  // 2 bytes
constexpr int kAtisFlags = 0x988;
constexpr int kIdMissing = 0x989;

// Identity of the image.
constexpr int kComment = 0x9C0;
constexpr int kCommentLength = 16;
constexpr int kImageFlags = 0x9D0;
constexpr int kModelByte = 0x9D1;
constexpr int kSignature = 0x9D8;
constexpr int kSignatureLength = 8;
constexpr char kSignatureText[] = "Zelm Inc";
constexpr int kFromInitialA02 = 0xA02;  // 8 bytes
constexpr int kFromInitialA10 = 0xA10;  // 2 bytes

// Dealer area: the settings shown on the dealer sheet, the active copy of
// the dealer block that the radio uses, and the dealer block itself.
constexpr int kDealerAreaFirst = 0xA00;
constexpr int kDealerAreaLast = 0xA3F;
constexpr int kTestMode = 0xA12;
constexpr int kPsOnTimer1 = 0xA20;             // word, milliseconds
constexpr int kPsOnTimer2 = 0xA22;             // word, milliseconds
constexpr int kPsOffTimer = 0xA24;             // word, milliseconds
constexpr int kTotTimer = 0xA26;               // word, seconds
constexpr int kDwTwTimer = 0xA28;              // word, milliseconds
constexpr int kScanSpeed = 0xA2A;              // byte, milliseconds
constexpr int kAutoScanTimer = 0xA2B;          // byte, seconds
constexpr int kTxMuteTimer = 0xA2C;            // byte, milliseconds
constexpr int kRxMuteTimer = 0xA2D;            // byte, milliseconds
constexpr int kDrainbeatDivisor = 0xA30;       // word, timer divisor
constexpr int kForcedTerminationTime = 0xA32;  // byte, 5 minutes
constexpr int kDelayTime = 0xA33;              // byte, seconds
constexpr int kSetVolt = 0xA34;
constexpr int kForcedTerminationSet = 0xA35;
constexpr int kTxPllOpt1 = 0xA36;
constexpr int kTxPllOpt2 = 0xA37;
constexpr int kRxPllOpt1 = 0xA38;
constexpr int kDealerActive = 0xA40;
constexpr int kDealerActiveLast = 0xB7F;
constexpr int kDealerBlock = 0xB80;
constexpr int kDealerSize = 320;
constexpr int kDealerActiveMarker = 0xB7E;  // bit 7 set
constexpr int kDealerActiveChecksum = 0xB7F;
constexpr int kDealerVersion = 0xCBC;  // two BCD bytes, high first

constexpr int kCopySource = 0xCD0;  // 13 bytes, copied to kCopyTarget
constexpr int kCopyLength = 13;
constexpr int kCopyTarget = 0xEC6;

// Extra block beyond the file range; a clone write lays a template of
// kExtraTemplateSize bytes over the start of it in the copy it sends.
constexpr int kExtraBlock = 0xCF0;
constexpr int kExtraBlockSize = 192;
constexpr int kExtraBlockLast = 0xDAF;
constexpr int kExtraTemplateSize = 188;
constexpr int kExtraBlockId = 0xDA6;       // 2 bytes, as the radio reports its own
constexpr int kExtraBlockVersion = 0xDA8;  // 2 bytes, high byte first

// What a clone write sends: everything below the dealer area, or in maker
// mode the dealer area too; then, each only when the radio needs it, the
// active dealer copy and the extra block.
constexpr int kWriteFirst = 0x000;
constexpr int kBasicWriteLast = 0x9FF;
constexpr int kMakerWriteLast = kDealerAreaLast;

// The P channel of each plan slot, spelled out for the radio.
constexpr int kPClassic = 0xEB0;     // 4 bytes, classic index or 0xFF
constexpr int kPFourDigit = 0xEB4;   // 4 words, channel number or 0xFFFF
constexpr int kPFree = 0xEBC;        // 4 bytes, free channel number or 0xFF
constexpr int kFirstWxCopy = 0xEC0;  // copy of kFirstWx
constexpr int kTxPowerCopy = 0xEC1;  // copy of kTxPowerByte

// Model types and the groups that rules test.
constexpr int kModelTypes = 13;
constexpr bool InGroupA(int m) { return m == 0 || m == 5 || m == 6 || m == 7 || m == 8; }
constexpr bool InGroupS(int m) { return m >= 8 && m <= 11; }
constexpr bool InGroupE(int m) { return m >= 1 && m <= 4; }

// The areas above must meet where the radio has them meet; a slip in one
// number would move a write range or a copy by a few bytes unnoticed.
static_assert(kFileEnd == kExtraBlock);
static_assert(kBasicWriteLast + 1 == kDealerAreaFirst);
static_assert(kDealerAreaLast + 1 == kDealerActive);
static_assert(kDealerActiveLast == kDealerActive + kDealerSize - 1);
static_assert(kDealerActiveChecksum == kDealerActiveLast);
static_assert(kDealerBlock == kDealerActive + kDealerSize);
static_assert(kExtraBlockLast == kExtraBlock + kExtraBlockSize - 1);
static_assert(kExtraBlockVersion + 2 <= kExtraBlock + kExtraTemplateSize);

}  // namespace memmap
