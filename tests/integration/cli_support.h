#pragma once
// Runs the built seaclone-cli for a test and collects what it said.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

#include <gtest/gtest.h>

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

inline QString CliProgram() { return QStringLiteral(SEACLONE_BIN_DIR "/seaclone-cli"); }

// Files in place of the standard streams; "" keeps the pipe.
struct CliStreams {
  QString in;
  QString out;
};

inline CliRun RunCli(const QStringList& args, const CliStreams& streams, int timeoutMs = 120000) {
  QProcess p;
  p.setProgram(CliProgram());
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

inline CliRun RunCli(const QStringList& args, int timeoutMs = 120000) { return RunCli(args, CliStreams{}, timeoutMs); }

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

// Writes the initial image of model 0 under a comment of our own to path, so
// that what a radio serves or a write sends can be told apart afterwards.
inline void WriteModelImage(const QString& path, const char* comment) {
  cmcEeprom image(memmap::kImageSize);
  cmcCloneFile file;
  file.Attach(&image);
  file.SetModelCode(memmap::kModelCode);
  file.SetExtraCode(memmap::kExtraCode);
  file.SetMapRevisionCheck(&cmcCloneFile::AcceptRevisionOne, nullptr);
  file.SetShowMessages(false);
  EXPECT_EQ(file.Read(SEACLONE_BIN_DIR "/TB58_00_USA.DAT", &cmcCloneFile::StandardRanges()), 0);
  std::string text(comment);
  text.resize(16, ' ');
  image.WriteBlock(memmap::kComment, text.data(), 16);
  file.SetMapRevision(1);
  EXPECT_EQ(file.Write(path.toStdString(), cmcCloneFile::StandardRanges()), 0);
}

}  // namespace clitest
