// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fleet run on one cable or several at once. Every cable has clone
// exchanges of its own (a document, its clone manager, driver and port);
// the cables share nothing but the event loop and its timers, so a slow or
// failing radio holds up no other. A cable takes the next identity not yet
// done, programs its radio (information, a read kept as backup, the write
// with the identity, read back and compared), logs the result and goes on
// with the next identity; a failed radio is logged and costs the others
// nothing.
//
// The log is read again before every identity is handed out: an identity
// logged as done (by this run, or another on the same log) never goes to
// a second radio, and a log that cannot be read stops the hand-out (the
// radios under way still finish and are logged).
//
// Everything runs on the user-interface thread; the caller runs the event
// loop until the finished callback has come.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/task.h"
#include "radio/document.h"
#include "radio/fleet_run.h"

namespace fleet {

// Where a cable's radio has got to.
enum class Stage { kAsking, kReading, kWriting };

// One radio handed to one cable.
struct Assignment {
  int cable = 0;                 // index into the run's cables
  const Radio* radio = nullptr;  // the identity it gets
  int number = 0;                // 1.. of the identities pending at the start
  int count = 0;                 // identities pending at the start
};

// How a run reaches its user and the radios. Statuses are the station's
// own (an exit status, a clone status): the run only tells 0 from failure.
class CableStation {
 public:
  virtual ~CableStation() = default;
  // With the run asking (see CableRun): the radios about to be programmed,
  // one per cable that has one; false stops the run before any of them.
  virtual bool NextRound(const std::vector<Assignment>& round) = 0;
  // Where the serial devices of cable's documents come from (empty: the
  // platform's own).
  virtual platform::SerialDeviceFactory Devices(int /*cable*/) { return {}; }
  // Sets up a fresh document of cable for its next exchange: its port,
  // where its messages and its progress go.
  virtual void Prepare(int cable, cmcDocument& document) = 0;
  // Opens the image to be written into document; 0 or its status.
  virtual int OpenImage(cmcDocument& document) = 0;
  // The status of a clone command that ended with status, or (started
  // false) that did not start for result.
  virtual int Status(CloneStatus status) = 0;
  virtual int NotStarted(cmcDocument::StartResult result) = 0;
  // What the log says of a radio that failed with status.
  virtual std::string Failure(int status) = 0;
  // The radio on cable has reached stage.
  virtual void Reached(const Assignment& /*radio*/, Stage /*stage*/) {}
  // A radio is done and logged (status 0: programmed).
  virtual void Done(const Assignment& radio, const LogLine& line, int status) = 0;
  // Not asking, cable's radio failed at its information exchange (the port,
  // the cable, no radio, another model): the cable takes no more identities.
  virtual void Retired(int /*cable*/) {}
};

class CableRun {
 public:
  // pending in the order identities are handed out; cables at least 1.
  // asking: identities go out in rounds, one per cable, each round after
  // NextRound said yes and only once the round before has ended (the user
  // swaps the radios between rounds). Not asking: each cable goes on with
  // the next identity as soon as its radio is done, unless its radio failed
  // at the information exchange: nobody puts another radio on that cable,
  // and it would fail every identity of the list in turn.
  CableRun(std::vector<const Radio*> pending, std::string log, int cables, bool asking,
           CableStation& station);
  ~CableRun();
  CableRun(const CableRun&) = delete;
  CableRun& operator=(const CableRun&) = delete;

  // Starts the run on the event loop; finished is called once, after the
  // last radio was logged (or the run stopped), from a tick of the run's
  // own. Destroying the run before then abandons the radios under way.
  void Start(std::function<void(const Outcome&)> finished);
  bool Running() const { return running_; }

 private:
  struct Cable;

  static void OnAdvance(void* context, cmcTask* task);
  void Advance();
  void Step(Cable& cable);
  void HandOut();
  bool NextRadio(Assignment& radio);
  bool Begin(Cable& cable, Stage stage);
  void End(Cable& cable, int status);
  void Due(Cable& cable, CloneStatus status);

  std::vector<const Radio*> pending_;
  std::string log_;
  bool asking_;
  CableStation& station_;
  std::vector<std::unique_ptr<Cable>> cables_;
  std::size_t next_ = 0;
  bool running_ = false;
  bool stopping_ = false;
  Outcome outcome_;
  std::function<void(const Outcome&)> finished_;
  cmcTaskPtr advance_;
};

}  // namespace fleet
