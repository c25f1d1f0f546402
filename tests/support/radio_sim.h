// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starts the built radio simulator (seaclone-radio-sim) for a test, tells
// the test which pseudo-terminal to open, and stops it again.
//
//   testsupport::RadioSim sim;
//   ASSERT_TRUE(sim.Start({"--image", path, "--fault", "bad-checksum"})) << sim.Error();
//   ... open sim.Device() as the serial port ...
//   sim.Stop();
//
// The simulator's standard error goes straight to the test's, so its
// messages show in the test log and can never fill a pipe.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

#ifndef SEACLONE_BIN_DIR
#error "radio_sim.h needs SEACLONE_BIN_DIR (set for every test program)"
#endif

namespace testsupport {

class RadioSim {
 public:
  RadioSim() = default;
  RadioSim(const RadioSim&) = delete;
  RadioSim& operator=(const RadioSim&) = delete;
  ~RadioSim() { Stop(); }

  static QString Program() { return QStringLiteral(SEACLONE_BIN_DIR "/seaclone-radio-sim"); }

  // Starts the simulator with the given options and waits for the device
  // path on its first line of output. False, with Error() set, when it does
  // not start or ends before naming a device.
  bool Start(const QStringList& options = {}, int timeoutMs = 30000) {
    Stop();
    error_.clear();
    device_.clear();
    process_.setProgram(Program());
    process_.setArguments(options);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(timeoutMs)) {
      error_ =
          "cannot start " + Program().toStdString() + ": " + process_.errorString().toStdString();
      return false;
    }
    QByteArray out;
    while (!out.contains('\n')) {
      if (!process_.waitForReadyRead(timeoutMs)) {
        error_ = "the simulator named no device";
        if (process_.state() == QProcess::NotRunning)
          error_ += " (exit code " + std::to_string(process_.exitCode()) + ")";
        Stop();
        return false;
      }
      out += process_.readAllStandardOutput();
    }
    device_ = out.left(out.indexOf('\n')).trimmed().toStdString();
    return true;
  }

  // The pseudo-terminal to open as the serial port.
  const std::string& Device() const { return device_; }
  const std::string& Error() const { return error_; }
  bool Running() const { return process_.state() != QProcess::NotRunning; }

  // Waits for the simulator to end by itself (after --once, or a hang-up
  // fault). Returns its exit code, or -1 when it is still running or crashed.
  int WaitForExit(int timeoutMs = 30000) {
    if (Running() && !process_.waitForFinished(timeoutMs)) return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

  // Stops the simulator (SIGTERM, then SIGKILL if it lingers). Returns its
  // exit code, or -1 when it had to be killed or crashed.
  int Stop() {
    if (process_.state() == QProcess::NotRunning) return process_.exitCode();
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
      process_.kill();
      process_.waitForFinished(5000);
      return -1;
    }
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }

  QProcess& Process() { return process_; }

 private:
  QProcess process_;
  std::string device_;
  std::string error_;
};

}  // namespace testsupport
