// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's half of the clone protocol: it answers the information
// request, sends its image on a read request, takes an image on a write,
// and plays the chosen fault.

#include <cstdint>
#include <string>

#include "sim_frames.h"
#include "sim_log.h"
#include "sim_options.h"

namespace sim {

// Where the radio's (and the cable's) bytes go.
class Output {
 public:
  virtual ~Output() = default;
  virtual void Send(const Bytes& bytes) = 0;
  // Closes the line once everything sent so far has gone out.
  virtual void HangUp() = 0;
  // True once the line is as good as closed: nothing more gets through.
  virtual bool Cut() const = 0;
};

class Radio {
 public:
  Radio(const Options& options, Bytes image, EventLog& log, Output& out);

  // One byte from the program, as it reaches the radio through the cable.
  void Receive(std::uint8_t byte);
  // The program closed the line: whatever exchange ran is over.
  void LineClosed();

  const Bytes& Image() const { return image_; }
  // The 28 bytes after the two values of the information reply.
  Bytes InformationPayload() const;

 private:
  void OnFrame(const Bytes& frame);
  void StartExchange(const char* name);
  void SendFrame(std::uint8_t command, const Bytes& body);
  void AnswerInformation();
  void SendImage();
  void TakeDataFrame(const Bytes& body);
  void FinishWrite(const Bytes& body);

  const Options& options_;
  Bytes image_;
  EventLog& log_;
  Output& out_;
  FrameAssembler assembler_;

  // Frames the radio has sent in the running exchange, for the stray fault.
  long exchangeFrames_ = 0;

  // The write in progress: the image being built, frames taken, and the
  // first reason to refuse it.
  bool writing_ = false;
  Bytes staging_;
  unsigned writeFrames_ = 0;
  std::size_t writeBytes_ = 0;
  std::size_t firstWritten_ = 0;  // image address of the first byte the write stored
  std::string writeError_;
};

}  // namespace sim
