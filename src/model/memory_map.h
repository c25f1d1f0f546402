#pragma once
// Where things live in the radio's 3796-byte EEPROM image. Every part of the
// program that touches the image by address takes its numbers from here, so
// a layout question has exactly one answer. Offsets are image addresses;
// 16-bit values in the image are little-endian.

#include <cstdint>

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
constexpr int kClassicEnd = 234;      // 0..233: classic number index/2, odd = A
constexpr int kFourDigit1000 = 234;   // 234..261: 1001..1028
constexpr int kFourDigit1060 = 262;   // 262..290: 1060..1088
constexpr int kFourDigit2000 = 291;   // 291..318: 2001..2028
constexpr int kFourDigit2060 = 319;   // 319..347: 2060..2088
constexpr int kFreeIndexBase = 348;   // 348..417: free channel 0..69

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
constexpr int kFirstWx = 0x948;

// Common settings and flag bytes (bit assignments belong to the settings cells).
constexpr int kCommonFirst = 0x949;
constexpr int kCommonLast = 0x95F;
constexpr int kFlags972 = 0x972;
constexpr int kFlags973 = 0x973;
constexpr int kFlags974 = 0x974;
constexpr int kFlags975 = 0x975;

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
constexpr int kDealerActive = 0xA40;
constexpr int kDealerBlock = 0xB80;
constexpr int kDealerSize = 320;
constexpr int kDealerActiveMarker = 0xB7E;  // bit 7 set
constexpr int kDealerActiveChecksum = 0xB7F;
constexpr int kDealerVersion = 0xCBC;  // two BCD bytes, high first

constexpr int kCopySource = 0xCD0;  // 13 bytes, copied to kCopyTarget
constexpr int kCopyLength = 13;
constexpr int kCopyTarget = 0xEC6;

// Extra block beyond the file range; a clone write lays a template over it.
constexpr int kExtraBlock = 0xCF0;
constexpr int kExtraBlockSize = 192;

// The P channel of each plan slot, spelled out for the radio.
constexpr int kPClassic = 0xEB0;     // 4 bytes, classic index or 0xFF
constexpr int kPFourDigit = 0xEB4;   // 4 words, channel number or 0xFFFF
constexpr int kPFree = 0xEBC;        // 4 bytes, free channel number or 0xFF
constexpr int kFirstWxCopy = 0xEC0;  // copy of kFirstWx
constexpr int kCopy94D = 0xEC1;      // copy of 0x94D

// Model types and the groups that rules test.
constexpr int kModelTypes = 13;
constexpr bool InGroupA(int m) { return m == 0 || m == 5 || m == 6 || m == 7 || m == 8; }
constexpr bool InGroupS(int m) { return m >= 8 && m <= 11; }
constexpr bool InGroupE(int m) { return m >= 1 && m <= 4; }

}  // namespace memmap
