// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol driver's receive path: information, read and write exchanges
// against a radio that says whatever the input says, on virtual time. Every
// exchange must end (on time, with its completion called exactly once and
// the port closed), and a success must be backed by what the radio sent.
//
// Input: byte 0 picks the exchange, its ranges and a fault of the line
// (none, one echo byte changed, writes cut short, the device failing after
// a number of bytes, as when the cable is pulled); byte 1 is the largest
// read (1..256 bytes); byte 2 places the fault; the rest is the radio's
// bytes, in segments separated by FF FF FF (see fuzz_serial_line.h for when
// each arrives).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz_serial_line.h"
#include "fuzz_support.h"
#include "model/eeprom.h"
#include "platform/fatal.h"
#include "platform/serial_device.h"
#include "platform/virtual_timer_service.h"
#include "radio/clone_drv.h"
#include "radio/comm.h"

namespace {

constexpr int kImageSize = 3796;

bool AllCovered(const cmcBuff& coverage, const clsAddrRangeList& ranges) {
  for (const clsAddrRange& r : ranges) {
    if (r.IsTerminator()) break;
    for (int a = r.first; a <= r.last; ++a) {
      if (a / 8 >= coverage.Size() || !(coverage[a / 8] & (1 << (a % 8)))) return false;
    }
  }
  return true;
}

bool Contains(const std::vector<std::uint8_t>& bytes, std::string_view what) {
  return std::search(bytes.begin(), bytes.end(), what.begin(), what.end(),
                     [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }) !=
         bytes.end();
}

// What a read of these bytes must give, decoded here without the driver's
// frame code: the image with the data of every well-formed data frame, the
// later frame winning. Frames start at their last FE and end at FD.
cmcEeprom ImageFromRadio(const std::vector<std::uint8_t>& bytes) {
  cmcEeprom image(kImageSize);
  std::vector<std::uint8_t> frame;
  auto hex = [](std::uint8_t c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
  };
  for (std::uint8_t b : bytes) {
    if (b == 0xFE) {
      frame.assign(1, b);
      continue;
    }
    if (frame.empty()) continue;
    if (b != 0xFD) {
      frame.push_back(b);
      continue;
    }
    // The end frame ends the read; what follows is never looked at.
    if (frame.size() >= 4 && frame[1] == 0xEF && frame[2] == 0xEE && frame[3] == 0xE5) break;
    if (frame.size() >= 12 && frame[1] == 0xEF && frame[2] == 0xEE && frame[3] == 0xE4 &&
        frame.size() % 2 == 0) {
      std::vector<std::uint8_t> decoded;
      bool ok = true;
      for (size_t i = 4; i + 1 < frame.size() && ok; i += 2) {
        const int h = hex(frame[i]), l = hex(frame[i + 1]);
        ok = h >= 0 && l >= 0;
        decoded.push_back(static_cast<std::uint8_t>(h * 16 + l));
      }
      const int address = ok ? decoded[0] * 256 + decoded[1] : 0;
      if (ok && decoded.size() == decoded[2] + 4u && address + decoded[2] <= kImageSize) {
        for (int i = 0; i < decoded[2]; ++i) image.SetByte(address + i, decoded[3 + i]);
      }
    }
    frame.clear();
  }
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  if (size < 3) return 0;
  const int operation = data[0] % 3;
  const int rangeChoice = (data[0] / 3) % 3;
  fuzz::ScriptLine line;
  line.chunk = data[1] + 1;
  switch ((data[0] / 9) % 4) {
    case 1: line.corruptEcho = data[2] * 4; break;
    case 2: line.writeLimit = data[2] * 16; break;
    case 3: line.hangUpAfter = data[2] * 16; break;
    default: break;
  }
  line.segments.emplace_back();
  for (size_t i = 3; i < size; ++i) {
    if (i + 2 < size && data[i] == 0xFF && data[i + 1] == 0xFF && data[i + 2] == 0xFF) {
      line.segments.emplace_back();
      i += 2;
    } else {
      line.segments.back().push_back(data[i]);
    }
  }

  static const clsAddrRangeList kRanges[3] = {
      {{0x000, 0xCEF}},
      {{0x010, 0x02F}},
      {{0x000, 0x00F}, {0x9D0, 0x9D8}, {1, 0}, {0x100, 0x1FF}},
  };
  const clsAddrRangeList& ranges = kRanges[rangeChoice];

  platform::ScopedVirtualTime time;
  int calls = 0;
  int status = -1;
  bool covered = false;
  int payloadSize = -1;
  cmcEeprom received;
  {
    cmcCloneDrv drv(std::make_unique<fuzz::ScriptDevice>(line));
    drv.SetRequestValues(0x5816, 0);
    drv.SetImageSize(kImageSize);
    drv.SetPortDevice("/dev/fuzz-radio", platform::LineFormat{});
    auto done = [&](dst_CDrv_Result& r) {
      ++calls;
      status = static_cast<int>(r.status);
      covered = AllCovered(r.coverage, ranges);
      payloadSize = r.payload.Size();
      received = r.image;
      if (line.isOpen) fuzz::Finding("completion ran with the port open");
    };
    cmcEeprom source(kImageSize);
    for (int a = 0; a < kImageSize; ++a) source.SetByte(a, static_cast<std::uint8_t>(a * 7));
    bool started = false;
    try {
      switch (operation) {
        case 0: started = drv.StartInformation(done); break;
        case 1: started = drv.StartRead(ranges, done); break;
        default: started = drv.StartWrite(source, ranges, done); break;
      }
      if (!started) fuzz::Finding("a valid exchange did not start");
      // The longest exchange, a write of the whole image, takes well under
      // a virtual minute; more means the driver hangs.
      if (!time.AdvanceUntil([&] { return !drv.IsBusy(); }, 120000))
        fuzz::Finding("the exchange never ended");
      time.AdvanceBy(50);
    } catch (const platform::FatalStop&) {
      fuzz::Finding("the radio's bytes caused a fatal stop");
    }
  }

  if (std::getenv("FUZZ_VERBOSE"))
    std::fprintf(stderr, "operation %d ranges %d: status %d\n", operation, rangeChoice, status);
  if (calls != 1) fuzz::Finding("completion not called exactly once");
  if (line.isOpen || line.opens != line.closes) fuzz::Finding("port left open");
  if (status == static_cast<int>(CloneStatus::kOk)) {
    const auto& reply = line.segments[0];
    if (operation == 1 && !covered) fuzz::Finding("read succeeded with addresses missing");
    if (operation == 1 && !received.Equals(ImageFromRadio(reply)))
      fuzz::Finding("read image differs from the radio's data");
    if (operation == 0 && payloadSize < 0) fuzz::Finding("information without payload");
    if (operation == 2 &&
        (line.segments.size() < 2 || !Contains(line.segments[1], "\xFE\xEF\xEE\xE6"))) {
      fuzz::Finding("write succeeded without the radio's result");
    }
    if (operation != 2 && !Contains(reply, "\xFE\xEF\xEE"))
      fuzz::Finding("success without a radio frame");
  }
  return 0;
}
