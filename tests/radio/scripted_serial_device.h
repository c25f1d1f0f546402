// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A serial device for driver tests on virtual time: a 9600-baud cable that
// echoes every byte the program sends, and a radio at the far end that a
// test scripts frame by frame. Bytes take one virtual millisecond each on
// the line in both directions, so the program sees echo and answers trickle
// in over its 10 ms ticks as it would on a real cable, and the transmit
// queue empties at the line's pace.
//
// The radio sees each frame of the program (from its last FE, without FD)
// once the frame's last byte is on the line, and answers with Reply.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/buff.h"
#include "platform/serial_device.h"

class ScriptedSerialDevice;

// What the test controls and what it can inspect afterwards. Shared with
// the device, which the driver's port owns.
struct ScriptedLine {
  using Radio = std::function<void(const cmcBuff& frame, ScriptedLine& line)>;

  // Radio behaviour.
  Radio radio;
  // Cable and device faults.
  bool openFails = false;
  int echoLimit = -1;    // echo only this many bytes, then none (-1: all)
  int corruptEcho = -1;  // index of the echoed byte that comes back changed
  int writeLimit = -1;   // device writes accept no more than this many bytes in all
  int msPerByte = 1;
  // The device keeps counting bytes as queued this long after they left,
  // as some USB adapters do.
  int reportLagMs = 0;

  // Answers from the radio, starting delayMs after the frame that caused
  // them (or after the radio's previous answer, whichever is later).
  void Reply(const cmcBuff& bytes, int delayMs = 0);
  void Reply(std::string_view bytes, int delayMs = 0) {
    Reply(cmcBuff(bytes.data(), static_cast<int>(bytes.size())), delayMs);
  }

  // Record.
  std::vector<cmcBuff> frames;     // every frame the program sent
  std::string Commands() const;    // "E3 E4*160 E5": the commands of frames
  std::uint32_t lastSentAt = 0;    // virtual time the program's last byte left
  std::uint32_t lastAnswerAt = 0;  // virtual time the radio's last byte arrived
  std::uint32_t lastInputAt = 0;   // virtual time any byte (echo or answer) arrived
  std::uint32_t lastReadAt = 0;    // arrival time of the last byte the program read
  int outputAtClose = -1;          // bytes still unsent when the port closed
  int opens = 0;
  int closes = 0;
  int maxOutputQueued = 0;  // largest transmit queue seen

  // The current tick; set by the device while it runs the radio.
  std::uint32_t now = 0;

  struct Timed {
    std::uint32_t at;
    std::uint8_t byte;
  };
  std::deque<Timed> input;   // towards the program, in time order
  std::deque<Timed> output;  // from the program, not yet on the line
  std::deque<std::uint32_t> recentlySent;
  cmcBuff partial;  // program frame being collected
  std::uint32_t replyFree = 0;
  int echoed = 0;
  int written = 0;
  bool isOpen = false;
};

class ScriptedSerialDevice : public platform::SerialDevice {
 public:
  explicit ScriptedSerialDevice(ScriptedLine& line) : line_(line) {}

  bool Open(const std::string& path) override;
  // A device closes only the line it opened itself: several documents may
  // each hold a device of one line, as a fleet cable's do one after another.
  bool IsOpen() const override { return open_ && line_.isOpen; }
  void Close() override;
  bool SetQueueSizes(int, int) override { return true; }
  bool Purge() override;
  bool SetTimeouts(const platform::SerialTimeouts&) override { return true; }
  bool SetLine(const platform::SerialLineSettings&) override { return true; }
  int Read(void* buffer, int maxBytes) override;
  int Write(const void* bytes, int count) override;
  int InputCount() override;
  int OutputQueued() override;

 private:
  // Moves every byte whose time has come onto the line: echo, radio.
  void Run();
  ScriptedLine& line_;
  bool open_ = false;
};

// Radio-side frames, built independently of the driver's frame code so
// that a shared mistake cannot hide.
namespace radioframe {
cmcBuff Data(int address, const std::vector<std::uint8_t>& bytes);
cmcBuff End(int count);
cmcBuff Info(std::uint8_t v1h, std::uint8_t v1l, std::uint8_t v2h, std::uint8_t v2l,
             const std::vector<std::uint8_t>& payload);
cmcBuff WriteResult(std::uint8_t code);
// The bytes a program data frame carries, decoded (empty if it is not one).
std::vector<std::uint8_t> DataOf(const cmcBuff& frame, int* address);
}  // namespace radioframe
