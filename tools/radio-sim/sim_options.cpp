// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim_options.h"

#include <QCommandLineParser>
#include <QStringList>

namespace sim {

const std::vector<FaultInfo>& Faults() {
  static const std::vector<FaultInfo> table = {
      {Fault::Silent, "silent", -1, "the radio never answers; the cable still echoes"},
      {Fault::NoEcho, "no-echo", -1, "nothing comes back at all, as with the cable unplugged"},
      {Fault::WrongEcho, "wrong-echo", 0,
       "the cable returns byte N of all the program sent (from 0, whole session) with its low bit "
       "flipped"},
      {Fault::BadChecksum, "bad-checksum", 0, "read: data frame N carries a checksum one too high"},
      {Fault::LowerCase, "lower-case", 0,
       "read: data frame N (or the first after it that has a hex letter) is sent in lower-case "
       "hex"},
      {Fault::WrongCount, "wrong-count", -1,
       "read: the end frame announces one frame fewer than were sent"},
      {Fault::MissingFrame, "missing-frame", 0,
       "read: data frame N is left out, and the end frame counts only the frames sent"},
      {Fault::BeyondImage, "beyond-image", -1,
       "read: after data frame N (default: the last) a frame reaches past the last image address"},
      {Fault::WriteRefused, "write-refused", -1,
       "write: the radio answers the end frame with result 01"},
      {Fault::StoreWrong, "store-wrong", -1,
       "write: accepted, but the byte at image address N (default: the first written) is stored "
       "with its low bit flipped"},
      {Fault::ReadForbidden, "read-forbidden", -1,
       "information: status flag bit 0 (reading forbidden) is set"},
      {Fault::Value2Zero, "value2-zero", -1, "information: value 2 of the reply is 0 instead of 1"},
      {Fault::NoSignature, "no-signature", -1,
       "the image served carries no maker signature at 9D8"},
      {Fault::OtherModel, "other-model", -1,
       "information: reports model type N (default: 8, or 0 when the image's own is 8 to 11)"},
      {Fault::OverTemp, "over-temp", -1,
       "information: status flag bit 1 (over-temperature) is set; bit 2 instead with N = 2"},
      {Fault::OverVoltage, "over-voltage", -1,
       "information: status flag bit 4 (over-voltage) is set"},
      {Fault::DcVoltage, "dc-voltage", -1, "information: status flag bit 3 (DC voltage) is set"},
      {Fault::HangUp, "hang-up", 8,
       "the line is closed after N data frames of a read (sent) or of a write (received)"},
      {Fault::HangUpBytes, "hang-up-bytes", 64,
       "the line is closed after N bytes (echo and replies) have gone to the program"},
      {Fault::Stray, "stray", 0,
       "stray bytes 00 55 AA FD 0D 0A go before the radio's frame N of each exchange (0: E1, first "
       "E4, E6)"},
  };
  return table;
}

const FaultInfo* FindFault(const std::string& name) {
  for (const FaultInfo& info : Faults())
    if (name == info.name) return &info;
  return nullptr;
}

long Options::At() const {
  if (faultAt) return *faultAt;
  for (const FaultInfo& info : Faults())
    if (info.fault == fault) return info.defaultAt;
  return -1;
}

namespace {

struct OptionLine {
  const char* name;
  const char* value;  // nullptr for a switch
  const char* help;
};

const OptionLine kOptions[] = {
    {"image", "FILE", "serve the image of this clone data file"},
    {"model", "N", "serve the initial image of model type N (0 to 12; default 0)"},
    {"save", "FILE", "after each accepted write, save the radio's image to this clone data file"},
    {"link", "PATH", "make PATH a symbolic link to the pseudo-terminal"},
    {"baud-pace", nullptr, "release bytes at the pace of 9600 baud 8N1 (about 1.04 ms a byte)"},
    {"once", nullptr, "exit once the program has closed the line and not reopened it within 2 s"},
    {"log", "FILE", "append one line per exchange event to FILE"},
    {"verbose", nullptr, "also write those lines to standard error"},
    {"frame-size", "N", "data bytes per read data frame (1 to 255; default 16)"},
    {"revision", "HH", "information: revision byte, hex (default 10, shown as 1.0)"},
    {"battery", "HH", "information: battery byte, hex (default 00)"},
    {"dealer-version", "HHHH",
     "information: dealer block version, BCD such as 0102 (default: the image's, B7C-B7D)"},
    {"extra-version", "HHHH", "information: extra block version, BCD such as 0001 (default 0000)"},
    {"extra-id", "HHHH", "information: extra block identifier, hex bytes 22-23 (default 0100)"},
    {"fault", "NAME", "play one fault (list below)"},
    {"fault-at", "N", "position for the faults that take one"},
};

bool ParseNumber(const QString& text, int base, long min, long max, long& out) {
  bool ok = false;
  const long value = text.toLong(&ok, base);
  if (!ok || value < min || value > max) return false;
  out = value;
  return true;
}

// Four hex digits for two raw payload bytes. The information reply carries
// its payload unframed, so FE or FD there would cut the frame short.
bool ParseWord(const QString& text, std::uint16_t& out) {
  bool ok = false;
  const unsigned value = text.toUInt(&ok, 16);
  if (text.size() != 4 || !ok) return false;
  for (unsigned b : {value >> 8, value & 0xFFu})
    if (b == 0xFE || b == 0xFD) return false;
  out = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

std::string HelpText() {
  std::string text =
      "Usage: seaclone-radio-sim [options]\n"
      "Plays the radio and its echoing cable on a pseudo-terminal; prints the\n"
      "terminal's path on the first line of standard output.\n\nOptions:\n";
  auto pad = [](std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s + " ";
  };
  for (const OptionLine& line : kOptions) {
    std::string left = std::string("  --") + line.name;
    if (line.value) left += std::string(" ") + line.value;
    text += pad(left, 24) + line.help + "\n";
  }
  text += pad("  --help", 24) + "show this text\n\nFaults (--fault NAME; N is --fault-at):\n";
  for (const FaultInfo& info : Faults()) {
    std::string help = info.help;
    if (info.defaultAt >= 0) help += " (N defaults to " + std::to_string(info.defaultAt) + ")";
    text += pad(std::string("  ") + info.name, 18) + help + "\n";
  }
  return text;
}

std::string ParseOptions(const std::vector<std::string>& args, Options& options, bool& wantHelp) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const OptionLine& line : kOptions) {
    if (line.value)
      parser.addOption(QCommandLineOption(line.name, line.help, line.value));
    else
      parser.addOption(QCommandLineOption(line.name, line.help));
  }
  parser.addOption(QCommandLineOption(QStringList{"help", "h"}, "show this text"));

  QStringList list{"seaclone-radio-sim"};
  for (const std::string& a : args) list << QString::fromStdString(a);
  if (!parser.parse(list)) return parser.errorText().toStdString();
  if (!parser.positionalArguments().isEmpty())
    return "unexpected argument: " + parser.positionalArguments().first().toStdString();
  wantHelp = parser.isSet("help");
  if (wantHelp) return "";

  for (const OptionLine& line : kOptions)
    if (line.value && parser.values(line.name).size() > 1)
      return std::string("--") + line.name + " given more than once (one fault at a time)";

  long number = 0;
  options.imagePath = parser.value("image").toStdString();
  options.savePath = parser.value("save").toStdString();
  options.linkPath = parser.value("link").toStdString();
  options.logPath = parser.value("log").toStdString();
  options.baudPace = parser.isSet("baud-pace");
  options.once = parser.isSet("once");
  options.verbose = parser.isSet("verbose");
  if (parser.isSet("model")) {
    if (!ParseNumber(parser.value("model"), 10, 0, 12, number)) return "--model takes 0 to 12";
    options.model = static_cast<int>(number);
  }
  if (!options.imagePath.empty() && options.model) return "--image and --model exclude each other";
  if (parser.isSet("frame-size")) {
    if (!ParseNumber(parser.value("frame-size"), 10, 1, 255, number))
      return "--frame-size takes 1 to 255";
    options.frameSize = static_cast<int>(number);
  }
  if (parser.isSet("revision")) {
    if (!ParseNumber(parser.value("revision"), 16, 0, 0xFF, number))
      return "--revision takes two hex digits";
    options.revision = static_cast<std::uint8_t>(number);
  }
  if (parser.isSet("battery")) {
    if (!ParseNumber(parser.value("battery"), 16, 0, 0xFF, number))
      return "--battery takes two hex digits";
    options.battery = static_cast<std::uint8_t>(number);
  }
  std::uint16_t word = 0;
  const char* wordRule = " takes four hex digits, neither byte FE nor FD";
  if (parser.isSet("extra-id")) {
    if (!ParseWord(parser.value("extra-id"), word)) return std::string("--extra-id") + wordRule;
    options.extraId = word;
  }
  if (parser.isSet("dealer-version")) {
    if (!ParseWord(parser.value("dealer-version"), word))
      return std::string("--dealer-version") + wordRule;
    options.dealerVersion = word;
  }
  if (parser.isSet("extra-version")) {
    if (!ParseWord(parser.value("extra-version"), word))
      return std::string("--extra-version") + wordRule;
    options.extraVersion = word;
  }
  if (parser.isSet("fault")) {
    const FaultInfo* info = FindFault(parser.value("fault").toStdString());
    if (!info) return "unknown fault: " + parser.value("fault").toStdString() + " (see --help)";
    options.fault = info->fault;
  }
  if (parser.isSet("fault-at")) {
    if (!ParseNumber(parser.value("fault-at"), 10, 0, 0x7FFFFFFF, number))
      return "--fault-at takes a number from 0";
    options.faultAt = number;
  }
  return "";
}

}  // namespace sim
