// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial line: the master side of a pseudo-terminal whose slave the
// program opens as its serial port. Bytes for the program wait in a queue
// and go out either as fast as the terminal takes them or at the pace of
// 9600 baud.

#include <chrono>
#include <csignal>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sim_frames.h"
#include "sim_radio.h"

namespace sim {

class PtyLine : public Output {
 public:
  using Clock = std::chrono::steady_clock;
  // One start bit, eight data bits, one stop bit at 9600 baud.
  static constexpr std::chrono::nanoseconds kBytePeriod{10'000'000'000 / 9600};

  PtyLine() = default;
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;
  ~PtyLine() override;

  // Opens the pseudo-terminal in raw mode. Returns "" or the error.
  std::string Open();
  const std::string& SlavePath() const { return slavePath_; }
  // Makes path a symbolic link to the slave (replacing an old link there);
  // the link is removed again when the line is destroyed.
  std::string MakeLink(const std::string& path);

  void SetPacing(bool pace) { pace_ = pace; }
  // Closes the line after n bytes in all have gone to the program.
  void HangUpAfterBytes(std::uint64_t n) { hangUpAt_ = n; }

  void Send(const Bytes& bytes) override;
  void HangUp() override;
  bool Cut() const override { return hangUpAt_ && queued_ >= *hangUpAt_; }

  struct Handlers {
    std::function<void(const std::uint8_t*, std::size_t)> input;  // bytes from the program
    std::function<void()> closed;                                 // the program closed its side
  };
  enum class End { Stopped, HungUp, PeerGone, Failed };
  // Serves the line until stop becomes true, the line is hung up on
  // purpose, or (once) the program has closed it and not come back.
  End Run(const Handlers& handlers, const volatile std::sig_atomic_t& stop, bool once);

 private:
  bool ReadInput(const Handlers& handlers);
  bool WriteOutput();
  void DropOutput();
  void AwaitProgramRead();
  bool HangUpDue() const { return hangUpAt_ && written_ >= *hangUpAt_; }

  int master_ = -1;
  std::string slavePath_;
  std::string linkPath_;
  bool pace_ = false;

  Bytes queue_;
  std::size_t queueHead_ = 0;
  std::uint64_t queued_ = 0;   // bytes ever queued
  std::uint64_t written_ = 0;  // bytes ever written (or dropped)
  std::optional<std::uint64_t> hangUpAt_;
  Clock::time_point nextDue_{};
  bool full_ = false;  // the terminal refused the last write
};

}  // namespace sim
