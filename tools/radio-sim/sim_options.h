// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Command-line options of the simulator and the table of faults it can play.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

enum class Fault {
  None,
  Silent,
  NoEcho,
  WrongEcho,
  BadChecksum,
  LowerCase,
  WrongCount,
  MissingFrame,
  BeyondImage,
  WriteRefused,
  StoreWrong,
  ReadForbidden,
  Value2Zero,
  NoSignature,
  OtherModel,
  OverTemp,
  OverVoltage,
  DcVoltage,
  HangUp,
  HangUpBytes,
  Stray,
};

struct FaultInfo {
  Fault fault;
  const char* name;
  // Default of --fault-at, or -1 when the fault takes no position or its
  // default is described in the help line.
  long defaultAt;
  const char* help;
};

// Every fault, in the order --help lists them.
const std::vector<FaultInfo>& Faults();
const FaultInfo* FindFault(const std::string& name);

struct Options {
  std::string imagePath;                       // --image
  std::optional<int> model;                    // --model
  bool baudPace = false;                       // --baud-pace
  std::string savePath;                        // --save
  std::string linkPath;                        // --link
  std::string logPath;                         // --log
  bool once = false;                           // --once
  bool verbose = false;                        // --verbose
  Fault fault = Fault::None;                   // --fault
  std::optional<long> faultAt;                 // --fault-at
  int frameSize = 16;                          // --frame-size
  std::optional<std::uint16_t> dealerVersion;  // --dealer-version (BCD)
  std::optional<std::uint16_t> extraVersion;   // --extra-version (BCD)
  std::uint16_t extraId = 0x0100;              // --extra-id
  std::uint8_t revision = 0x10;                // --revision
  std::uint8_t battery = 0x00;                 // --battery

  // The position a fault applies at: --fault-at, else the fault's default.
  long At() const;
};

// Parses the arguments (without the program name). Returns "" on success,
// else the message to print. Sets wantHelp for --help.
std::string ParseOptions(const std::vector<std::string>& args, Options& options, bool& wantHelp);

// The full --help text.
std::string HelpText();

}  // namespace sim
