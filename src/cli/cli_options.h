#pragma once
// The command line of seaclone-cli: one command and its options.

#include <string>
#include <vector>

namespace cli {

// Exit statuses; a failed radio exchange exits with kExitExchange + status.
enum : int {
  kExitOk = 0,
  // 1..9: the clone data file's error code
  kExitExchange = 20,
  kExitDataError = 40,
  kExitUsage = 64,
};

enum class Command { None, Help, Info, Read, Write, Check };

struct Options {
  Command command = Command::None;
  int port = 0;              // --port N
  std::string device;        // --device PATH
  std::string output;        // --output FILE (read)
  std::string file;          // the FILE of write and check
  bool maker = false;        // --maker (write)
  bool quiet = false;        // --quiet: no progress bar
};

// Parses the arguments (without the program name). Returns "" on success,
// else what is wrong with them.
std::string ParseOptions(const std::vector<std::string>& args, Options& options);

std::string HelpText();

}  // namespace cli
