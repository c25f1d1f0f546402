// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the built seaclone-cli for a test and collects what it said.

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include "support/codes.h"

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef __linux__
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "text/gtex.h"

namespace clitest {

struct CliRun {
  int exitCode = -1;
  bool crashed = false;
  std::string out;
  std::string err;
};

// A file's bytes, or none when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QString CliProgram() { return QStringLiteral(SEACLONE_BIN_DIR "/seaclone-cli"); }

// Files in place of the standard streams; "" keeps the pipe.
struct CliStreams {
  QString in;
  QString out;
};

// Runs any program the way RunCli runs seaclone-cli (a wrapper such as wine
// with the program as its first argument, for instance).
inline CliRun RunProgram(const QString& program, const QStringList& args, const CliStreams& streams,
                         int timeoutMs = 120000) {
  QProcess p;
  p.setProgram(program);
  p.setArguments(args);
  if (!streams.in.isEmpty()) p.setStandardInputFile(streams.in);
  if (!streams.out.isEmpty()) p.setStandardOutputFile(streams.out);
  p.start();
  CliRun run;
  if (!p.waitForStarted(timeoutMs)) return run;
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
    run.crashed = true;
  }
  run.crashed = run.crashed || p.exitStatus() != QProcess::NormalExit;
  run.exitCode = p.exitCode();
  run.out = p.readAllStandardOutput().toStdString();
  run.err = p.readAllStandardError().toStdString();
  return run;
}

inline CliRun RunCli(const QStringList& args, const CliStreams& streams, int timeoutMs = 120000) {
  return RunProgram(CliProgram(), args, streams, timeoutMs);
}

#ifdef __linux__
// Runs seaclone-cli with arguments passed byte for byte, as a shell passes
// them; QProcess would send them through QString, which cannot carry a
// name that is not UTF-8. Standard output and error go through files in
// scratch, a folder of the caller's.
inline CliRun RunCliBytes(const std::vector<std::string>& args, const std::string& scratch) {
  const std::string program = CliProgram().toStdString();
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const std::string outPath = scratch + "/cli.out";
  const std::string errPath = scratch + "/cli.err";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  CliRun run;
  pid_t pid = 0;
  const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return run;
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.crashed = !WIFEXITED(status);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto slurp = [](const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
      for (int c; (c = std::getc(f)) != EOF;) text.push_back(static_cast<char>(c));
      std::fclose(f);
    }
    std::remove(path.c_str());
    return text;
  };
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}
#endif
// Makes a character device at path that works as /dev/null does (only
// root may): a test that gives a device node as a file to write uses this
// one, never the system's, so that a program that wrongly replaces its
// target damages nothing outside the test. False when it cannot be made.
inline bool MakeNullDevice(const std::string& path) {
  return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

inline CliRun RunCli(const QStringList& args, int timeoutMs = 120000) {
  return RunCli(args, CliStreams{}, timeoutMs);
}

// One fault of the simulator and the exit status it must end with.
struct FaultCase {
  const char* fault;
  const char* at;  // --fault-at, or nullptr
  bool write;
  int exit;
};

inline void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << (c.write ? "write " : "read ") << c.fault << " -> " << c.exit;
}

// "read_bad_checksum": a test name of the case.
inline std::string FaultCaseName(const ::testing::TestParamInfo<FaultCase>& info) {
  std::string name = std::string(info.param.write ? "write_" : "read_") + info.param.fault;
  for (char& ch : name) {
    if (ch == '-') ch = '_';
  }
  return name;
}

// The caption every message of the program carries.
inline std::string AppTitle() {
  static cmcGTex table;
  table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
  return table.Text("GI_Sys_AppTitle");
}

// Messages shown: lines of standard error that begin with the caption.
inline int MessageCount(const std::string& err) {
  const std::string head = AppTitle() + ": ";
  int count = 0;
  std::size_t pos = 0;
  while ((pos = err.find(head, pos)) != std::string::npos) {
    if (pos == 0 || err[pos - 1] == '\n' || err[pos - 1] == '\r') ++count;
    pos += head.size();
  }
  return count;
}

// The image of a clone data file, read without the program's checks.
inline cmcEeprom ReadImage(const std::string& path) {
  cmcEeprom image(memmap::kImageSize);
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  file.SetShowMessages(false);
  EXPECT_EQ(Num(file.Read(path, &cmcCloneFile::StandardRanges())), 0) << path;
  return image;
}

// Saves image as a complete clone data file of map revision 1.
inline void WriteImage(cmcEeprom& image, const std::string& path) {
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  file.SetShowMessages(false);
  EXPECT_EQ(Num(file.Write(path, cmcCloneFile::StandardRanges())), 0) << path;
}

// Writes the initial image of model 0 under a comment of our own to path, so
// that what a radio serves or a write sends can be told apart afterwards.
inline void WriteModelImage(const QString& path, const char* comment) {
  cmcEeprom image = ReadImage(SEACLONE_BIN_DIR "/TB58_00_USA.DAT");
  std::string text(comment);
  text.resize(16, ' ');
  image.WriteBlock(memmap::kComment, text.data(), 16);
  WriteImage(image, path.toStdString());
}

}  // namespace clitest
