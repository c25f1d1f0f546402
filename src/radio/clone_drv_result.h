// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one exchange with the radio produced. The driver creates a fresh
// record when an exchange starts and hands it to the completion at the end;
// the record never outlives that call, so a receiver moves out what it keeps.

#include <cstdint>

#include "base/buff.h"
#include "model/eeprom.h"

// The exchange the driver and the clone manager are running.
enum class CloneOperation : int { kNone = 0, kInformation = 1, kRead = 2, kWrite = 3 };

// The status numbers index the clone error messages and appear in the
// command-line tool's exit statuses, so they never change. The driver sets
// the first group; the clone manager adds the second.
enum class CloneStatus : int {
  kOk = 0,
  kPortFailed = 2,       // opening or configuring the port failed
  kEchoFailed = 4,       // the cable's echo was missing or wrong
  kNoAnswer = 5,         // nothing (more) came in time
  kBadFrame = 6,         // malformed frame, checksum, command or values
  kBadFrameCount = 7,    // the end frame counts a different number of frames
  kMissingData = 8,      // a read ended with requested addresses missing
  kOutOfRange = 9,       // data outside the image or the requested ranges
  kWriteRefused = 10,    // the radio refused the write or answered otherwise
  kInfoMismatch = 11,    // manager: reply not of this model / no handler
  kReserved12 = 12,      // never set; it keeps its own message all the same
  kModelMismatch = 13,   // manager: model mismatch before a write
  kPayloadRefused = 14,  // manager: information payload not accepted
  kNoSignature = 15,     // manager: image without the maker signature
  kImageRefused = 16,    // manager: model check refused the image
  kShortWrite = 17,      // the port wrote fewer bytes than asked
  kVerifyFailed = 18,    // document: the radio read back other bytes than were written
};

struct dst_CDrv_Result {
  CloneOperation operation = CloneOperation::kNone;
  // Starts at kPortFailed, so an exchange that ends before the port was
  // ever opened cannot look like a success.
  CloneStatus status = CloneStatus::kPortFailed;
  // The request values at the start; after an information reply, the two
  // 16-bit numbers the radio sent.
  int value1 = 0;
  int value2 = 0;
  // Information reply: the bytes after the fixed header.
  cmcBuff payload;
  // Read: the image received, zero where nothing came. Write: the image sent.
  cmcEeprom image;
  // Read: one bit per address received, bit n = bit (n % 8) of byte n / 8.
  cmcBuff coverage;
};
