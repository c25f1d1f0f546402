// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_options.h"

#include <charconv>
#include <set>

#include "model/memory_map.h"
#include "radio/backup_list.h"

namespace cli {
namespace {

enum class Opt {
  Verify,
  Port,
  Device,
  Output,
  Maker,
  Quiet,
  Page,
  Model,
  Usable,
  Format,
  Pdf,
  FontSize,
  Csv,
  Image,
  Ids,
  Log,
  Yes,
  DryRun,
  Since,
  Json
};

struct OptionSpec {
  Opt opt;
  const char* name;
  const char* shortName;  // or nullptr
  const char* needs;      // what the value must be; nullptr for a switch
  bool allowsStream;      // the value may be "-"
  bool (*appliesTo)(Command);
};

bool TalksToRadio(Command c) {
  return c == Command::Info || c == Command::Read || c == Command::Write || c == Command::Fleet;
}
// diff reads its B from the radio when it is given no second file.
bool MayTalkToRadio(Command c) { return TalksToRadio(c) || c == Command::Diff; }
bool TakesOutput(Command c) { return c == Command::Read || c == Command::Import; }
bool TakesCsv(Command c) { return c == Command::Export || c == Command::Import; }
bool IsWrite(Command c) { return c == Command::Write; }
bool IsImport(Command c) { return c == Command::Import; }
bool IsFleet(Command c) { return c == Command::Fleet; }
bool IsPages(Command c) { return c == Command::Pages; }
bool IsPrint(Command c) { return c == Command::Print; }
bool IsFind(Command c) { return c == Command::Find; }
bool LaysOutPages(Command c) {
  return c == Command::Pages || c == Command::Print || c == Command::Diff || c == Command::Export;
}
bool ShowsMakerPages(Command c) { return c == Command::Write || LaysOutPages(c); }
bool IsBackups(Command c) { return c == Command::Backups; }
bool PrintsJson(Command c) { return IsBackups(c) || IsFind(c); }
bool TakesModel(Command c) { return LaysOutPages(c) || IsBackups(c); }

constexpr OptionSpec kOptions[] = {
    {Opt::Port, "--port", nullptr, "a number from 1 to 256", false, MayTalkToRadio},
    {Opt::Device, "--device", nullptr, "a device path", false, MayTalkToRadio},
    {Opt::Output, "--output", "-o", "a file name", true, TakesOutput},
    {Opt::Maker, "--maker", nullptr, nullptr, false, ShowsMakerPages},
    {Opt::Verify, "--verify", nullptr, nullptr, false, IsWrite},
    {Opt::Quiet, "--quiet", nullptr, nullptr, false, MayTalkToRadio},
    {Opt::Page, "--page", nullptr, "a page key such as GI_Sheet_IntCh", false, LaysOutPages},
    {Opt::Model, "--model", nullptr, "a model type from 0 to 12", false, TakesModel},
    {Opt::Usable, "--usable", nullptr, nullptr, false, LaysOutPages},
    {Opt::Format, "--format", nullptr, "text or csv", false, IsPages},
    {Opt::Pdf, "--pdf", nullptr, "a file name", false, IsPrint},
    {Opt::FontSize, "--font-size", nullptr, "a point size from 8 to 12", false, IsPrint},
    {Opt::Csv, "--csv", nullptr, "a file name", false, TakesCsv},
    {Opt::Image, "--image", nullptr, "a file name", false, IsFleet},
    {Opt::Ids, "--ids", nullptr, "a file name", false, IsFleet},
    {Opt::Log, "--log", nullptr, "a file name", false, IsFleet},
    {Opt::Yes, "--yes", nullptr, nullptr, false, IsFleet},
    {Opt::DryRun, "--dry-run", nullptr, nullptr, false, IsImport},
    {Opt::Since, "--since", nullptr, "a date such as 2024-05-01 or 2024-05-01T14:30", false,
     IsBackups},
    {Opt::Json, "--json", nullptr, nullptr, false, PrintsJson},
};

// A whole decimal number from low to high.
bool ParseNumber(const std::string& text, int low, int high, int& number) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, number);
  return ec == std::errc() && ptr == end && number >= low && number <= high;
}

const OptionSpec* FindOption(const std::string& arg, Command command) {
  for (const OptionSpec& spec : kOptions) {
    if ((arg == spec.name || (spec.shortName && arg == spec.shortName)) && spec.appliesTo(command))
      return &spec;
  }
  return nullptr;
}

// What is wrong with the value of spec, or "".
std::string CheckValue(const OptionSpec& spec, const std::vector<std::string>& args,
                       std::size_t i) {
  std::string needs = std::string(spec.name) + " needs " + spec.needs;
  if (i >= args.size() || args[i].empty()) return needs;
  const std::string& value = args[i];
  if (value[0] == '-' && !(spec.allowsStream && value == kStdStream)) {
    return needs + ", not '" + value + "'";
  }
  return {};
}

// fleet's --port: one cable, or several as "3,4,5,6", each once.
std::string ApplyPorts(const std::string& value, Options& options) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = value.find(',', start);
    const std::string item = value.substr(start, comma - start);
    int port = 0;
    if (!ParseNumber(item, 1, 256, port))
      return "--port needs numbers from 1 to 256 separated by commas, not '" + value + "'";
    for (int p : options.ports)
      if (p == port) return "--port names port " + item + " more than once";
    options.ports.push_back(port);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  options.port = options.ports.front();
  return {};
}

std::string Apply(const OptionSpec& spec, const std::string& value, Options& options) {
  switch (spec.opt) {
    case Opt::Port:
      if (options.command == Command::Fleet) return ApplyPorts(value, options);
      if (!ParseNumber(value, 1, 256, options.port))
        return std::string(spec.name) + " needs " + spec.needs;
      break;
    case Opt::Model:
      if (!ParseNumber(value, 0, memmap::kModelTypes - 1, options.model)) {
        return std::string(spec.name) + " needs " + spec.needs + ", not '" + value + "'";
      }
      break;
    case Opt::FontSize:
      if (!ParseNumber(value, 8, 12, options.fontSize)) {
        return std::string(spec.name) + " needs " + spec.needs + ", not '" + value + "'";
      }
      break;
    case Opt::Pdf: options.pdf = value; break;
    case Opt::Csv: options.csv = value; break;
    case Opt::Image: options.image = value; break;
    case Opt::Ids: options.ids = value; break;
    case Opt::Log: options.log = value; break;
    case Opt::Yes: options.yes = true; break;
    case Opt::DryRun: options.dryRun = true; break;
    case Opt::Since:
      if (!backup::ParseSince(value, options.since)) {
        return std::string(spec.name) + " needs " + spec.needs + ", not '" + value + "'";
      }
      break;
    case Opt::Json: options.json = true; break;
    case Opt::Format:
      if (value != "text" && value != "csv") {
        return std::string(spec.name) + " needs " + spec.needs + ", not '" + value + "'";
      }
      options.format = value == "csv" ? PageFormat::Csv : PageFormat::Text;
      break;
    case Opt::Device:
      if (options.command == Command::Fleet) {
        for (const std::string& d : options.devices)
          if (d == value) return "--device " + value + " is given more than once";
        options.devices.push_back(value);
        if (options.device.empty()) options.device = value;
        break;
      }
      options.device = value;
      break;
    case Opt::Output: options.output = value; break;
    case Opt::Maker: options.maker = true; break;
    case Opt::Verify: options.verify = true; break;
    case Opt::Quiet: options.quiet = true; break;
    case Opt::Page: options.page = value; break;
    case Opt::Usable: options.usable = true; break;
  }
  return {};
}

}  // namespace

std::string ParseOptions(const std::vector<std::string>& args, Options& options) {
  if (args.empty()) return "no command given";
  const std::string& name = args[0];
  if (name == "--help" || name == "-h" || name == "help") {
    options.command = Command::Help;
    return {};
  }
  if (name == "info")
    options.command = Command::Info;
  else if (name == "read")
    options.command = Command::Read;
  else if (name == "write")
    options.command = Command::Write;
  else if (name == "check")
    options.command = Command::Check;
  else if (name == "pages")
    options.command = Command::Pages;
  else if (name == "print")
    options.command = Command::Print;
  else if (name == "diff")
    options.command = Command::Diff;
  else if (name == "export")
    options.command = Command::Export;
  else if (name == "import")
    options.command = Command::Import;
  else if (name == "backups")
    options.command = Command::Backups;
  else if (name == "fleet")
    options.command = Command::Fleet;
  else if (name == "find")
    options.command = Command::Find;
  else
    return "unknown command '" + name + "'";

  const bool takesFile = options.command == Command::Write || options.command == Command::Check ||
                         LaysOutPages(options.command) || options.command == Command::Import;
  std::set<Opt> seen;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      options.command = Command::Help;
      return {};
    }
    if (const OptionSpec* spec = FindOption(a, options.command)) {
      const bool repeats = spec->opt == Opt::Device && options.command == Command::Fleet;
      if (!seen.insert(spec->opt).second && !repeats)
        return std::string(spec->name) + " is given more than once";
      std::string value;
      if (spec->needs) {
        if (std::string error = CheckValue(*spec, args, i + 1); !error.empty()) return error;
        value = args[++i];
      }
      if (std::string error = Apply(*spec, value, options); !error.empty()) return error;
    } else if (!a.empty() && a[0] == '-' && a != kStdStream) {
      return "unknown option '" + a + "'";
    } else if (takesFile && options.file.empty() && !a.empty()) {
      options.file = a;
    } else if (options.command == Command::Diff && options.other.empty() && !a.empty()) {
      options.other = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  const bool fromRadio = options.command == Command::Diff && options.other.empty();
  if (options.command == Command::Diff && !fromRadio &&
      (options.port != 0 || !options.device.empty()))
    return "diff compares two files or a file and the radio, not both";
  if (TalksToRadio(options.command) || fromRadio) {
    if (options.port == 0 && options.device.empty())
      return "give the radio's line: --port N or --device PATH";
    if (options.port != 0 && !options.device.empty())
      return "give either --port or --device, not both";
  }
  if (options.command == Command::Read && options.output.empty()) return "read needs --output FILE";
  if (options.command == Command::Print && options.pdf.empty()) return "print needs --pdf FILE";
  if (IsFleet(options.command) && options.image.empty()) return "fleet needs --image FILE";
  if (IsFleet(options.command) && options.ids.empty()) return "fleet needs --ids IDS.csv";
  if (TakesCsv(options.command) && options.csv.empty())
    return std::string(options.command == Command::Export ? "export" : "import") +
           " needs --csv FILE";
  if (options.command == Command::Import && options.output.empty() && !options.dryRun)
    return "import needs --output NEW (or --dry-run)";
  if (options.command == Command::Import && options.output == kStdStream)
    return "import needs --output NEW, a file name";
  if (takesFile && options.file.empty()) return "a clone data file is needed";
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
        read creates or touches no file. Every read also keeps a backup of
        the image as the radio sent it (see backups). --output - writes the file to
        standard output.
  write --port N | --device PATH [--maker] [--verify] FILE
        Opens FILE (with the same checks as the program's Open), checks the
        data for errors, asks the radio who it is and writes FILE to it.
        --maker writes in maker (dealer) mode: the dealer settings and the
        dealer block are always sent. --verify then reads the radio back
        and fails (exit 38) unless every byte written came back as sent,
        naming the first differing address. FILE - reads standard input.
  fleet --image FILE --ids IDS.csv --port N[,M...] | --device PATH...
        [--log LOG.csv] [--yes] [--quiet]
        Programs FILE into radio after radio, each with its own ATIS
        identity from IDS.csv (a CSV whose first line names its columns:
        "id", and "comment" for a clone comment of each radio's own). Every
        identity and comment is typed into FILE's cells as in the program's
        window; one that is refused, or an identity given twice, is named by
        its line and nothing is written (exit 40). For each radio it asks on
        standard error for the radio and waits for Enter (--yes goes on
        without asking), reads its information, reads what it held (kept as
        a backup, see backups), writes FILE with the identity and reads it
        back as write --verify does. Each radio adds a line to LOG.csv (by
        default IDS.csv.log.csv): time, identity, revision, result (ok, or
        failed and the exit status). A failed radio is logged and the run goes on; a
        new run skips the identities logged "ok". A log that cannot be read
        completely stops the run before any radio, naming the line.
        Several cables (--port 3,4,5,6, or --device once per cable) are
        programmed at the same time: each cable takes the next identity,
        and a cable whose radio failed goes on with the next one (with
        --yes, one whose radio failed its information request takes no
        more). Without --yes it asks for a round of radios, one per cable,
        and waits for Enter before each round. A terminal shows one progress bar per
        cable; elsewhere each step is one line, named by its cable.
        Exit 0 when every radio succeeded, else the status of the last
        radio that failed; 64 when standard input ends before the last
        radio.
  find  [--json]
        Finds the radio: asks every serial port that may hold the
        programming cable (USB serial and ACM adapters, the ports of the
        "Ports" settings group, and the computer's own serial ports that
        have hardware behind them) who is there, all at once, with the
        clone information exchange, which reads and writes nothing of the
        radio's memory. Prints one line per port asked: the port, its
        device and name, then the radio's model, revision and comment, or
        why there is none ("no radio", "in use by another program", "no
        permission: join the dialout group", ...). When exactly one radio
        answered, the first line is "--port N" for that radio, for a
        script to pass on, and the exit status is 0; 50 when no radio
        answered, 51 when several did. --json prints one JSON object per
        port instead (keys port, device, name, answer, text, and for a
        radio model, modelType, revision, comment, use).
  backups [--model N] [--since DATE] [--json]
        Lists the backups of the images read from radios, newest first, one
        line each: file, date and time, model, comment, size in bytes, and
        "ok" or "unreadable: " with the reason, separated by tabs. Every file
        is opened as the program's Open does: a damaged or foreign file in
        the folder is listed as unreadable. --model N lists only the readable
        backups of model type N; --since DATE only those made from DATE on:
        YYYY-MM-DD, or with a local time YYYY-MM-DD HH:MM[:SS] (or a "T" for
        the space). --json prints one JSON array of objects instead: file,
        date (YYYY-MM-DDTHH:MM:SS, local time), model (the model type, null
        when unreadable), modelName, comment, size, readable, reason.
        They are kept in $XDG_DATA_HOME/seaclone/backups (by default
        ~/.local/share/seaclone/backups; $SEACLONE_BACKUP_DIR instead when
        set) and never removed by the program. Exit 1 when the folder
        cannot be read.
  check FILE
        Checks a clone data file as the program's Open does, and nothing more.
        FILE - reads standard input.
  pages [--page KEY] [--model N] [--usable] [--maker] [--format text|csv] FILE
        Opens FILE as check does and prints every page the program's tree
        shows for it, in tree order, as a table of the texts its cells show:
        rows and columns as on screen, a title line per page. FILE - reads
        standard input.
  print --pdf OUT.pdf [--page KEY] [--model N] [--usable] [--maker]
        [--font-size 8..12] FILE
        Opens FILE as check does and prints the same pages as pages lists
        into the PDF file OUT.pdf, as the program prints them: A4 at 600 dpi,
        each page with its title, the program's name and revision and the
        maker line. Needs no display. FILE - reads standard input. A PDF
        that cannot be written whole exits 2 and keeps the old OUT.pdf.
  diff  [--page KEY] [--model N] [--usable] [--maker] A B
  diff  [--page KEY] [--model N] [--usable] [--maker]
        --port N | --device PATH [--quiet] A
        Lists every cell whose text differs between clone data files A and
        B, or A and the radio's memory, as "page | row | column: old -> new"
        (with a UTF-8 arrow), then the differing bytes no page shows by
        address. Exit 0 when equal, 1 when they differ (bytes no page shows
        too), 74 when standard output is lost.
  export [--page KEY] [--model N] [--usable] [--maker] FILE --csv OUT.csv
        Writes the pages as pages --format csv prints them into OUT.csv
        (captions without padding; a cell beginning with = + - @ quoted as
        "'=...", which spreadsheets read as text). The memory view is left
        out unless --page names it: spreadsheets rewrite its hexadecimal
        captions as numbers.
  import FILE --csv IN.csv --output NEW | --dry-run
        Types every value of IN.csv (pages, columns and rows as export writes
        them, any subset) that differs from what its cell shows into the
        cell, through the program's editors and choosers, and saves NEW. An
        unknown page, column or row, a value a cell does not take as it
        stands, two lines setting the same bits differently, or a cell that
        does not show its value at the end, is named and nothing is written
        (exit 40). Empty fields at the end of a record (a spreadsheet's
        padding) are ignored; a shorter row ends in empty values. A number
        may have a decimal comma (156,8). A value that is the same number
        as its cell's but written otherwise ("6" for "06", as spreadsheets
        save it) is not an edit: the cell keeps its text. Prints on
        standard output what it changed, a line "changed: page | row |
        column: old -> new" and the CSV's line for each cell (with a
        warning for a value a spreadsheet may have made a time or date
        of), and what it kept, a line "kept: ..." each, then the counts.
        --dry-run prints the same and writes nothing.
        IN.csv: a regular file of at most 16 MB.

Options:
  --port N        COM port number 1..256 (mapped to a device as the program
                  maps it, including the "Ports" settings group); fleet
                  takes a list of cables, --port 3,4,5,6
  --device PATH   serial device to use instead of a port number; fleet
                  takes it once per cable
  --output FILE   where read saves the image (-o for short); import: NEW
  --csv FILE      export: the CSV to write; import: the CSV to read
  --maker         maker mode for write; for pages, the dealer pages too
  --verify        write: read the radio back and compare
  --image FILE    fleet: the clone data file every radio gets
  --ids FILE      fleet: the CSV of identities (and comments), one radio each
  --log FILE      fleet: the CSV log a run appends to and resumes from
  --yes           fleet: go on to the next radio without asking
  --dry-run       import: list what would change and write nothing
  --json          find: one JSON object per port, one a line
  --quiet         no progress bar
  --page KEY      pages, print: only the page KEY (e.g. GI_Sheet_IntCh),
                  shown or not
  --model N       pages, print: lay out for model type N (0..12) instead of
                  the file's own model byte; backups: only model type N
  --since DATE    backups: only those from DATE on (YYYY-MM-DD[ HH:MM[:SS]])
  --json          backups: one JSON array instead of tab-separated lines
  --usable        pages, print: the usable-channels view (a channel list
                  shows only the channels in use and its P and C channels)
  --format F      pages: text (aligned columns, the default) or csv (RFC 4180,
                  a "Page,KEY,title" record before each page's rows)
  --pdf FILE      print: the PDF file to write (replaced if it exists)
  --font-size N   print: the printer font size in points, 8..12 (default 10)
  --help          this text

Each option may be given once (fleet's --device once per cable). A value never begins with "-" (give a file
called "-x" as "./-x"); "-" alone means standard input or output.

Messages go to standard error. The radio line always runs at 9600 baud,
8 data bits, no parity, one stop bit.

Exit status:
  0       success
  1       diff: the files differ
  1..9    the clone data file error code (1 cannot open, 2 cannot write,
          3 model code, 4 extra code, 5 map revision, 6 format, 7 coverage,
          8 data outside the ranges or a model the file may not carry);
          also 1 a CSV, identity list, log or backup folder that cannot
          be read, or an OUT.csv/OUT.pdf that is no regular file; 2 an
          OUT.csv/OUT.pdf that could not be written (an existing one is kept)
  22..38  20 + the status of a failed exchange with the radio
          (22 port, 24 echo, 25 no answer, 26 bad reply or read forbidden,
          27 frame count, 28 missing data, 29 data out of range, 30 write
          refused, 31 not this radio, 33 model mismatch before a write,
          34 information refused, 35 no maker signature, 37 short port write,
          38 verify after write found a difference)
  40      write refused: the data contain errors (the pages are named);
          import refused: a page, column, row or value of the CSV;
          fleet refused: an identity or comment of the list, or a line of
          the log (the line named)
  50      find: no radio answered
  51      find: more than one radio answered
  64      wrong usage (also a --page KEY that names no page); fleet:
          standard input ended before the last radio
  74      standard output, or fleet's log, could not be written
)";
}

}  // namespace cli
