// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the radio: which serial port holds the programming cable with a
// radio on it. The clone information exchange (it reads and writes nothing
// of the radio's memory) goes out on every port that may be the cable, all
// at once, each port with a clone manager, driver and serial port of its
// own and that exchange's own time-outs, so a search takes about as long
// as one exchange with a silent radio however many ports there are.
//
//   cmcRadioFinder finder;
//   finder.Start(radiofind::SystemPorts().tried,
//                [](const clsFindAnswer& a) { ... one port has answered ... },
//                [] { ... every port has answered ... });
//
// Only ports that look like a serial adapter are asked: USB serial and ACM
// devices, the `Ports` map's entries (the user's own choice), and the
// platform's own serial ports (ttyS) that the system reports with
// hardware behind them; on Windows, every port the system lists.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/task.h"
#include "model/user_questions.h"
#include "platform/serial_device.h"
#include "platform/serial_ports.h"
#include "radio/clone_drv_result.h"
#include "radio/clone_man_info.h"
#include "radio/comm.h"
#include "radio/port_map.h"

class cmcGTex;

// One port the search may ask.
struct clsFindPort {
  enum Kind : int {
    kMapped = 0,    // an entry of the `Ports` settings group
    kUsb = 1,       // a USB serial adapter (ttyUSB)
    kAcm = 2,       // a USB modem-class device (ttyACM)
    kPlatform = 3,  // a serial port of the computer itself (ttyS)
    kNative = 4,    // a port the system numbers itself (Windows)
  };
  int number = 0;           // its COM number
  std::string device;       // its device path ("COM3" on Windows)
  std::string description;  // what the system calls it; "" when nothing
  Kind kind = kMapped;
  bool operator==(const clsFindPort&) const = default;
};

// What one port answered.
struct clsFindAnswer {
  enum Outcome : int {
    kRadio = 0,         // a radio of this kind answered; info says who it is
    kSilent = 1,        // the cable echoed, but no radio answered
    kNoEcho = 2,        // nothing came back at all: no programming cable here
    kOtherAnswer = 3,   // something answered that is no radio of this kind
    kBusy = 4,          // another program holds the port
    kNoPermission = 5,  // the user may not open it (Linux: the dialout group)
    kAbsent = 6,        // the device is not there (any more)
    kUnusable = 7,      // it opened but cannot be used as a serial line
  };
  clsFindPort port;
  Outcome outcome = kSilent;
  CloneStatus status = CloneStatus::kPortFailed;
  clsPortFailure failure;  // when the port could not be opened
  cmcRadioInfo info;       // kRadio
};

namespace radiofind {

// The ports a search asks, and those it leaves out, each ordered by number.
struct PortSet {
  std::vector<clsFindPort> tried;
  std::vector<clsFindPort> leftOut;  // a platform port without hardware, a mapped device not there
};

// Whether a device is the system's console, which is never asked.
using ConsoleTest = std::function<bool(const std::string& device)>;

// The choice from the numbered ports and the system's list of serial
// devices (which names them, and tells a platform port with hardware from
// the many without). systemNumbersPorts: the system's list is the whole
// answer (Windows). Two numbers for one device (a `Ports` entry and the
// node it points to) are asked once, under the entry's number. A console
// of the system is left out, whatever else it is.
PortSet ChoosePorts(const std::vector<clsPortMapping>& mappings,
                    const std::vector<platform::SerialPortEntry>& system, bool systemNumbersPorts,
                    const ConsoleTest& console = {});
// The same for this machine, now.
PortSet SystemPorts();

// How a finished information exchange is told to the user.
clsFindAnswer::Outcome OutcomeOf(CloneStatus status, const clsPortFailure& failure);

// The radio's comment as its display shows it, without the blanks that
// fill it out to 16 characters.
std::string RadioComment(const cmcRadioInfo& info);
// Whether a clone exchange that ended so may have missed the radio only
// because it asked the wrong port: nothing answered there, or the port is
// not there at all. A radio that answered wrongly, or a port in use, is
// no reason to look elsewhere.
bool WorthSearching(CloneStatus status, const clsPortFailure& failure);
// "COM7 (/dev/ttyUSB0, FTDI FT232R USB UART)", as the search names a port.
std::string PortLabel(const clsFindPort& port, cmcGTex& table);
// Several ports' labels, separated by commas.
std::string PortLabels(const std::vector<clsFindPort>& ports, cmcGTex& table);
// What the port answered, in a few words (the radio's model, revision and
// comment for a radio).
std::string OutcomeText(const clsFindAnswer& answer, cmcGTex& table);

}  // namespace radiofind

class cmcRadioFinder {
 public:
  using AnswerFn = std::function<void(const clsFindAnswer& answer)>;
  using DoneFn = std::function<void()>;

  // Every port's serial device comes from devices (empty: the platform's).
  explicit cmcRadioFinder(platform::SerialDeviceFactory devices = {});
  // Cancels a running search.
  ~cmcRadioFinder();
  cmcRadioFinder(const cmcRadioFinder&) = delete;
  cmcRadioFinder& operator=(const cmcRadioFinder&) = delete;

  // Asks every port at once. answer is called once per port as it answers,
  // done once after the last; both run on the timer loop, outside any
  // exchange's own step, so they may Cancel or Start again (but must not
  // destroy the finder). False, doing nothing, while a search runs. With no
  // port at all the search is over at once: done comes on the next tick.
  bool Start(const std::vector<clsFindPort>& ports, AnswerFn answer, DoneFn done);
  // Stops at once: every exchange is abandoned and every port closed; no
  // further answer comes and done is not called.
  void Cancel();
  bool IsRunning() const { return running_; }

  // The answers so far (all of them once done), in the order they came.
  const std::vector<clsFindAnswer>& Answers() const { return answers_; }
  // The answers that found a radio, in that order.
  std::vector<clsFindAnswer> Radios() const;

 private:
  struct Exchange;
  void Answered(Exchange& exchange, const dst_CDrv_Result& result);
  void Deliver();

  // The managers' messages: a search reports by answers, never by a box.
  class Silent : public UserQuestions {
   public:
    int Ask(const std::string& key, unsigned style) override;
    void Report(Kind kind, const std::string& text) override;
  };

  platform::SerialDeviceFactory devices_;
  Silent silent_;
  std::vector<std::unique_ptr<Exchange>> exchanges_;
  std::vector<clsFindAnswer> pending_;
  std::vector<clsFindAnswer> answers_;
  AnswerFn answer_;
  DoneFn done_;
  int waiting_ = 0;  // exchanges whose answer has not been delivered
  bool running_ = false;
  int generation_ = 0;  // a Cancel or a new Start from a callback ends the delivery
  cmcTaskPtr deliver_;
};
