// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli as a program: its usage errors and the file check, run as a
// separate process exactly as a script would.
#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>
#include "support/codes.h"

#include <filesystem>
#include <functional>
#include <optional>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "cli/cli_options.h"
#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "support/cli_support.h"

namespace {

using clitest::RunCli;

TEST(CliUsage, WrongUsageExits64WithAHint) {
  const QStringList cases[] = {
      {},
      {"frobnicate"},
      {"info"},
      {"info", "--port", "0"},
      {"info", "--port", "257"},
      {"info", "--port", "x"},
      {"info", "--port", "3", "--device", "/dev/null"},
      {"read", "--port", "3"},
      {"read", "--port", "3", "--output"},
      {"write", "--port", "3"},
      {"write", "--device", "/dev/null", "a.dat", "b.dat"},
      {"check"},
      {"check", "--port", "3", "a.dat"},
      {"info", "--port", "3", "--bogus"},
      {"pages"},
      {"pages", "--usable"},
      {"pages", "--model", "13", "a.dat"},
      {"pages", "--format", "html", "a.dat"},
      {"pages", "--port", "3", "a.dat"},
      {"check", "--usable", "a.dat"},
      {"diff", "a.dat"},
      {"diff", "a.dat", "b.dat", "--port", "3"},
      {"diff", "a.dat", "b.dat", "c.dat"},
      {"export", "a.dat"},
      {"export", "--csv", "out.csv"},
      {"import", "a.dat", "--csv", "in.csv"},
      {"import", "a.dat", "--output", "new.dat"},
      {"import", "a.dat", "--csv", "in.csv", "--output", "-"},
      {"import", "--page", "GI_Sheet_FreeCh", "a.dat", "--csv", "in.csv", "--output", "n.dat"},
      // find asks every port itself and takes no file.
      {"find", "--port", "3"},
      {"find", "a.dat"},
      {"info", "--port", "3", "--json"},
  };
  for (const QStringList& args : cases) {
    const auto run = RunCli(args);
    EXPECT_EQ(run.exitCode, 64) << args.join(' ').toStdString();
    EXPECT_NE(run.err.find("--help"), std::string::npos) << args.join(' ').toStdString();
    EXPECT_TRUE(run.out.empty());
  }
}

struct ParseCase {
  std::vector<std::string> args;
  const char* error;  // a part of the complaint; nullptr: accepted
  std::string output = {};
  std::string file = {};
};

// Parses args, which should be refused with a complaint containing error,
// or accepted when error is nullptr; the options when they were accepted as
// expected. joined: the arguments, for the messages.
std::optional<cli::Options> Parse(const std::vector<std::string>& args, const char* error,
                                  std::string& joined) {
  for (const std::string& a : args) joined += a + " ";
  cli::Options options;
  const std::string complaint = cli::ParseOptions(args, options);
  if (error) {
    EXPECT_NE(complaint.find(error), std::string::npos) << joined << "-> '" << complaint << "'";
    return std::nullopt;
  }
  EXPECT_EQ(complaint, "") << joined;
  if (!complaint.empty()) return std::nullopt;
  return options;
}

TEST(CliOptions, ValuesRepeatsAndTheStandardStreams) {
  const ParseCase cases[] = {
      // An option is never taken as the value of the one before it.
      {{"read", "--device", "d", "-o", "--quiet"}, "--output needs a file name, not '--quiet'"},
      {{"read", "--device", "d", "--output", "-x.dat"}, "--output needs a file name"},
      {{"info", "--device", "--quiet"}, "--device needs a device path"},
      {{"info", "--port", "-3"}, "--port needs a number"},
      {{"info", "--device", "-"}, "--device needs a device path"},
      {{"read", "--device", "d", "--output", ""}, "--output needs a file name"},
      // Every option once.
      {{"info", "--port", "3", "--port", "4"}, "--port is given more than once"},
      {{"info", "--device", "a", "--device", "b"}, "--device is given more than once"},
      {{"read", "--device", "d", "-o", "a", "--output", "b"}, "--output is given more than once"},
      {{"write", "--device", "d", "--maker", "f", "--maker"}, "--maker is given more than once"},
      {{"info", "--device", "d", "--quiet", "--quiet"}, "--quiet is given more than once"},
      // "-" is standard output for read and standard input for check and write.
      {{"read", "--device", "d", "-o", "-"}, nullptr, "-"},
      {{"read", "--output", "-", "--quiet", "--port", "2"}, nullptr, "-"},
      {{"check", "-"}, nullptr, "", "-"},
      {{"write", "--port", "3", "-"}, nullptr, "", "-"},
      {{"check", "-", "-"}, "unexpected argument '-'"},
      {{"read", "--device", "d", "-o", "./-x.dat"}, nullptr, "./-x.dat"},
  };
  for (const ParseCase& c : cases) {
    std::string joined;
    const std::optional<cli::Options> parsed = Parse(c.args, c.error, joined);
    if (!parsed) continue;
    const cli::Options& options = *parsed;
    EXPECT_EQ(options.output, c.output) << joined;
    EXPECT_EQ(options.file, c.file) << joined;
  }
}

// fleet alone takes several cables: a list of ports, or --device once per
// cable; a cable named twice would get two exchanges on one line.
TEST(CliOptions, FleetTakesSeveralCables) {
  struct Case {
    std::vector<std::string> cables;
    const char* error;  // nullptr: accepted
    std::vector<int> ports = {};
    std::vector<std::string> devices = {};
  };
  const Case cases[] = {
      {{"--port", "3,4,5,6"}, nullptr, {3, 4, 5, 6}, {}},
      {{"--port", "7"}, nullptr, {7}, {}},
      {{"--device", "/a", "--device", "/b"}, nullptr, {}, {"/a", "/b"}},
      {{"--port", "3,,4"}, "--port needs numbers from 1 to 256 separated by commas, not '3,,4'"},
      {{"--port", "3,257"}, "--port needs numbers from 1 to 256"},
      {{"--port", "3,"}, "--port needs numbers"},
      {{"--port", "3,4,3"}, "--port names port 3 more than once"},
      {{"--port", "3", "--port", "4"}, "--port is given more than once"},
      {{"--device", "/a", "--device", "/a"}, "--device /a is given more than once"},
      {{"--port", "3,4", "--device", "/a"}, "give either --port or --device, not both"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"fleet", "--image", "f.dat", "--ids", "ids.csv"};
    args.insert(args.end(), c.cables.begin(), c.cables.end());
    std::string joined;
    const std::optional<cli::Options> parsed = Parse(args, c.error, joined);
    if (!parsed) continue;
    EXPECT_EQ(parsed->ports, c.ports) << joined;
    EXPECT_EQ(parsed->devices, c.devices) << joined;
  }
  // Elsewhere a list is no port number.
  std::string joined;
  Parse({"info", "--port", "3,4"}, "--port needs a number", joined);
}

TEST(CliOptions, PagesTakesAPageAModelTheUsableViewAndAFormat) {
  struct Case {
    std::vector<std::string> args;
    const char* error;  // a part of the complaint; nullptr: accepted
    cli::Options expected = {};
  };
  const auto pages = [](std::string page, int model, bool usable, cli::PageFormat format,
                        bool maker, std::string file) {
    cli::Options o;
    o.command = cli::Command::Pages;
    o.page = std::move(page);
    o.model = model;
    o.usable = usable;
    o.format = format;
    o.maker = maker;
    o.file = std::move(file);
    return o;
  };
  using cli::PageFormat;
  const Case cases[] = {
      {{"pages", "f.dat"}, nullptr, pages("", -1, false, PageFormat::Text, false, "f.dat")},
      {{"pages", "-"}, nullptr, pages("", -1, false, PageFormat::Text, false, "-")},
      {{"pages", "--page", "GI_Sheet_IntCh", "--model", "12", "--usable", "--format", "csv",
        "--maker", "f.dat"},
       nullptr,
       pages("GI_Sheet_IntCh", 12, true, PageFormat::Csv, true, "f.dat")},
      {{"pages", "f.dat", "--model", "0", "--format", "text"},
       nullptr,
       pages("", 0, false, PageFormat::Text, false, "f.dat")},
      {{"pages", "--model", "13", "f.dat"}, "--model needs a model type from 0 to 12, not '13'"},
      {{"pages", "--model", "-1", "f.dat"}, "--model needs a model type from 0 to 12, not '-1'"},
      {{"pages", "--model", "3x", "f.dat"}, "--model needs a model type from 0 to 12"},
      {{"pages", "--format", "CSV", "f.dat"}, "--format needs text or csv, not 'CSV'"},
      {{"pages", "--format"}, "--format needs text or csv"},
      {{"pages", "--page", "--usable", "f.dat"}, "--page needs a page key"},
      {{"pages", "--page", "a", "--page", "b", "f.dat"}, "--page is given more than once"},
      {{"pages", "--usable", "--usable", "f.dat"}, "--usable is given more than once"},
      {{"pages", "--usable"}, "a clone data file is needed"},
      {{"pages", "a.dat", "b.dat"}, "unexpected argument 'b.dat'"},
      {{"pages", "--quiet", "f.dat"}, "unknown option '--quiet'"},
      {{"check", "--model", "3", "f.dat"}, "unknown option '--model'"},
      {{"write", "--port", "3", "--format", "csv", "f.dat"}, "unknown option '--format'"},
  };
  for (const Case& c : cases) {
    std::string joined;
    const std::optional<cli::Options> parsed = Parse(c.args, c.error, joined);
    if (!parsed) continue;
    const cli::Options& options = *parsed;
    EXPECT_EQ(options.command, c.expected.command) << joined;
    EXPECT_EQ(options.page, c.expected.page) << joined;
    EXPECT_EQ(options.model, c.expected.model) << joined;
    EXPECT_EQ(options.usable, c.expected.usable) << joined;
    EXPECT_EQ(options.format, c.expected.format) << joined;
    EXPECT_EQ(options.maker, c.expected.maker) << joined;
    EXPECT_EQ(options.file, c.expected.file) << joined;
  }
}

TEST(CliUsage, HelpDocumentsCommandsAndExitStatuses) {
  for (const QStringList& args : {QStringList{"--help"}, QStringList{"read", "--help"}}) {
    const auto run = RunCli(args);
    EXPECT_EQ(run.exitCode, 0);
    for (const char* word :
         {"info", "read", "write", "check", "pages", "--port", "--device", "--output", "--maker",
          "--page", "--model", "--usable", "--format", "Exit status", "64", "40"}) {
      EXPECT_NE(run.out.find(word), std::string::npos) << word;
    }
  }
}

class CliCheck : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
  void WriteText(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  // A complete file whose model byte is model.
  std::string Complete(const char* name, int model) {
    cmcEeprom image(memmap::kImageSize);
    image.SetByte(memmap::kModelByte, static_cast<std::uint8_t>(model));
    clitest::WriteImage(image, Path(name));
    return Path(name);
  }
  QTemporaryDir dir;
};

TEST_F(CliCheck, ExitStatusIsTheFileErrorCode) {
  const std::string good = Complete("good.dat", 3);
  const std::string suv = Complete("suv.dat", 8);
  const std::string last = Complete("last.dat", 12);
  const std::string unknown = Complete("unknown.dat", 13);
  WriteText(Path("header.dat"), "5816000A\r\n#Comment=\r\n#MapRev=1\r\n");
  WriteText(Path("short.dat"), "58160001\r\n#Comment=\r\n#MapRev=1\r\n0000020102\r\n");
  WriteText(Path("maprev.dat"), "58160001\r\n#Comment=\r\n#MapRev=2\r\n0000020102\r\n");
  WriteText(Path("model.dat"), "58170001\r\n");
  const std::pair<std::string, int> cases[] = {
      {good, 0},
      {Path("missing.dat"), 1},
      {Path("model.dat"), 3},
      {Path("maprev.dat"), 5},
      {Path("header.dat"), 6},
      {Path("short.dat"), 7},
      {suv, 0},
      {last, 0},
      {unknown, 8},  // no model type of this program
  };
  for (const auto& [path, code] : cases) {
    const auto run = RunCli({"check", QString::fromStdString(path)});
    EXPECT_EQ(run.exitCode, code) << path;
    EXPECT_EQ(clitest::MessageCount(run.err), code == 0 ? 0 : 1) << path << "\n" << run.err;
  }
}

TEST_F(CliCheck, NamesThatAreNotUtf8AreUsedAsGiven) {
  // "good\xe4.dat" in Latin-1; decoded as UTF-8 on the way it would name
  // "good\xef\xbf\xbd.dat", which does not exist.
  const std::string good = Complete("good.dat", 3);
  const std::string latin1 = dir.path().toStdString() + "/good\xe4.dat";
  ASSERT_EQ(std::rename(good.c_str(), latin1.c_str()), 0);
  QTemporaryDir scratch;
  const auto run = clitest::RunCliBytes({"check", latin1}, scratch.path().toStdString());
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(clitest::MessageCount(run.err), 0) << run.err;
}

TEST_F(CliCheck, ReadOntoSomethingNotAFileIsRefusedBeforeTheRadioIsAsked) {
  // No radio answers on this device: a read that got as far as the port
  // would end with the port's status, 22.
  const QString device = dir.filePath("no-such-tty");
  struct Case {
    const char* what;
    std::function<bool(const std::string&)> make;
  };
  const Case cases[] = {
      {"folder", [](const std::string& p) { return QDir().mkdir(QString::fromStdString(p)); }},
      {"pipe", [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; }},
      {"device",
       [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = Path(c.what);
    if (!c.make(path)) {
      std::printf("cannot make a %s here; not tried\n", c.what);
      continue;
    }
    const auto type = std::filesystem::status(path).type();
    const auto run = RunCli({"read", "--device", device, "--output", QString::fromStdString(path)});
    EXPECT_EQ(run.exitCode, 1) << c.what << "\n" << run.err;
    EXPECT_EQ(clitest::MessageCount(run.err), 1) << c.what << "\n" << run.err;
    EXPECT_EQ(std::filesystem::status(path).type(), type);
  }
  EXPECT_EQ(
      RunCli({"read", "--device", device, "--output", QString::fromStdString(Path("new.dat"))})
          .exitCode,
      22);
}

}  // namespace
