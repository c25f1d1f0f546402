#include "cli/cli_options.h"

#include <charconv>

namespace cli {
namespace {

bool ParsePort(const std::string& text, int& port) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, port);
  return ec == std::errc() && ptr == end && port >= 1 && port <= 256;
}

}  // namespace

std::string ParseOptions(const std::vector<std::string>& args, Options& options) {
  if (args.empty()) return "no command given";
  const std::string& name = args[0];
  if (name == "--help" || name == "-h" || name == "help") {
    options.command = Command::Help;
    return {};
  }
  if (name == "info") options.command = Command::Info;
  else if (name == "read") options.command = Command::Read;
  else if (name == "write") options.command = Command::Write;
  else if (name == "check") options.command = Command::Check;
  else return "unknown command '" + name + "'";

  const bool wantsLine = options.command != Command::Check;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--help" || a == "-h") {
      options.command = Command::Help;
      return {};
    } else if (wantsLine && a == "--port") {
      if (!hasValue || !ParsePort(args[++i], options.port)) return "--port needs a number from 1 to 256";
    } else if (wantsLine && a == "--device") {
      if (!hasValue || args[i + 1].empty()) return "--device needs a device path";
      options.device = args[++i];
    } else if (options.command == Command::Read && (a == "--output" || a == "-o")) {
      if (!hasValue || args[i + 1].empty()) return "--output needs a file name";
      options.output = args[++i];
    } else if (options.command == Command::Write && a == "--maker") {
      options.maker = true;
    } else if (wantsLine && a == "--quiet") {
      options.quiet = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return "unknown option '" + a + "'";
    } else if ((options.command == Command::Write || options.command == Command::Check) &&
               options.file.empty()) {
      options.file = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  if (wantsLine) {
    if (options.port == 0 && options.device.empty()) return "give the radio's line: --port N or --device PATH";
    if (options.port != 0 && !options.device.empty()) return "give either --port or --device, not both";
  }
  if (options.command == Command::Read && options.output.empty()) return "read needs --output FILE";
  if ((options.command == Command::Write || options.command == Command::Check) && options.file.empty()) {
    return "a clone data file is needed";
  }
  return {};
}

std::string HelpText() {
  return R"(Usage: seaclone-cli COMMAND [OPTIONS]

Clones a handheld marine VHF radio over its programming cable, from scripts
and the command line. Shares the core of the Seaclone program.

Commands:
  info  --port N | --device PATH
        Asks the radio who it is and prints its model, revision, comment,
        battery and status warnings, one "caption: value" line each.
  read  --port N | --device PATH --output FILE
        Reads the radio's memory and saves it as a clone data file. A failed
        read creates or touches no file.
  write --port N | --device PATH [--maker] FILE
        Opens FILE (with the same checks as the program's Open), checks the
        data for errors, asks the radio who it is and writes FILE to it.
        --maker writes in maker (dealer) mode: the dealer settings and the
        dealer block are always sent.
  check FILE
        Checks a clone data file as the program's Open does, and nothing more.

Options:
  --port N        COM port number 1..256 (mapped to a device as the program
                  maps it, including the "Ports" settings group)
  --device PATH   serial device to use instead of a port number
  --output FILE   where read saves the image (-o for short)
  --maker         maker mode for write
  --quiet         no progress bar
  --help          this text

Messages go to standard error. The radio line always runs at 9600 baud,
8 data bits, no parity, one stop bit.

Exit status:
  0       success
  1..9    the clone data file error code (1 cannot open, 2 cannot write,
          3 model code, 4 extra code, 5 map revision, 6 format, 7 coverage,
          8 data outside the ranges or a model the file may not carry)
  22..37  20 + the status of a failed exchange with the radio
          (22 port, 24 echo, 25 no answer, 26 bad reply or read forbidden,
          27 frame count, 28 missing data, 29 data out of range, 30 write
          refused, 31 not this radio, 33 model mismatch before a write,
          34 information refused, 35 no maker signature, 37 short port write)
  40      write refused: the data contain errors
  64      wrong usage
)";
}

}  // namespace cli
