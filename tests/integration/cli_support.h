#pragma once
// Runs the built seaclone-cli for a test and collects what it said.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

#include "text/gtex.h"

namespace clitest {

struct CliRun {
  int exitCode = -1;
  bool crashed = false;
  std::string out;
  std::string err;
};

inline QString CliProgram() { return QStringLiteral(SEACLONE_BIN_DIR "/seaclone-cli"); }

inline CliRun RunCli(const QStringList& args, int timeoutMs = 120000) {
  QProcess p;
  p.setProgram(CliProgram());
  p.setArguments(args);
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

}  // namespace clitest
