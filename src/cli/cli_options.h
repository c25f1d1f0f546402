// SPDX-License-Identifier: GPL-3.0-or-later
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
  kExitNoRadio = 50,        // find: no radio answered on any port
  kExitSeveralRadios = 51,  // find: more than one radio answered
  kExitUsage = 64,
  kExitOutput = 74,  // standard output could not be written
};

// As a FILE, or as the --output of read: standard input or output.
inline constexpr const char* kStdStream = "-";

enum class Command {
  None,
  Help,
  Info,
  Read,
  Write,
  Check,
  Pages,
  Print,
  Diff,
  Export,
  Import,
  Backups,
  Fleet,
  Find
};

enum class PageFormat { Text, Csv };

struct Options {
  Command command = Command::None;
  int port = 0;                      // --port N (fleet: the first of --port N,M,...)
  std::string device;                // --device PATH (fleet: the first of them)
  std::vector<int> ports;            // fleet: every cable of --port N,M,...
  std::vector<std::string> devices;  // fleet: every --device PATH given
  std::string output;                // --output FILE (read, import); "-" standard output for read
  std::string file;     // the FILE of write, check, pages and print; "-" standard input
  std::string other;    // diff: the second file B; empty when B is the radio
  std::string csv;      // --csv FILE: export's CSV output, import's CSV input
  bool maker = false;   // --maker (write; pages and print: the dealer pages too)
  bool verify = false;  // --verify (write): read back and compare
  bool quiet = false;   // --quiet: no progress bar
  std::string page;     // --page KEY (pages, print): only this page
  int model = -1;       // --model N (pages, print; backups: only that model); -1: the file's own
  bool usable = false;  // --usable (pages, print): the usable-channels view
  PageFormat format = PageFormat::Text;  // --format text|csv (pages)
  std::string pdf;                       // --pdf FILE (print): where the pages go
  int fontSize = 10;    // --font-size 8..12 (print): the printer font size in points
  std::string image;    // --image FILE (fleet): the image every radio gets
  std::string ids;      // --ids FILE (fleet): the identities, one radio each
  std::string log;      // --log FILE (fleet); empty: the ids file's name + ".log.csv"
  bool yes = false;     // --yes (fleet): go on to the next radio without asking
  bool dryRun = false;  // --dry-run (import): list the changes, write nothing
  std::string since;    // --since DATE (backups), as "YYYY-MM-DD HH:MM:SS"; "" for any
  bool json = false;    // --json: one JSON array (backups), one object per port (find)
};

// Parses the arguments (without the program name). Returns "" on success,
// else what is wrong with them. An option may be given once (fleet's
// --device once per cable, its --port as a list N,M,...); an option's
// value never begins with "-" (so "-o --quiet" is refused rather than
// writing to a file called "--quiet"), except "-" itself where it means
// standard output.
std::string ParseOptions(const std::vector<std::string>& args, Options& options);

std::string HelpText();

}  // namespace cli
