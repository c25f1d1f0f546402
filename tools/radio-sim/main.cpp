// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-radio-sim: the radio and its echoing cable on a pseudo-terminal,
// for tests, demonstrations and benchmarks.

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "sim_cable.h"
#include "sim_image.h"
#include "sim_line.h"
#include "sim_log.h"
#include "sim_options.h"
#include "sim_radio.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) { gStop = 1; }

int Fail(const std::string& text) {
  std::fprintf(stderr, "seaclone-radio-sim: %s\n", text.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);

  std::vector<std::string> args(argv + 1, argv + argc);
  sim::Options options;
  bool wantHelp = false;
  const std::string parseError = sim::ParseOptions(args, options, wantHelp);
  if (!parseError.empty()) return Fail(parseError + "\n(try --help)");
  if (wantHelp) {
    std::fputs(sim::HelpText().c_str(), stdout);
    return 0;
  }

  sim::EventLog log;
  if (!log.Open(options.logPath, options.verbose))
    return Fail("cannot open the log " + options.logPath);

  sim::Bytes image;
  std::string source;
  if (!options.imagePath.empty()) {
    std::size_t missing = 0;
    const std::string error = sim::ReadCloneFile(options.imagePath, image, missing);
    if (!error.empty()) return Fail(options.imagePath + ": " + error);
    source = options.imagePath;
    if (missing)
      std::fprintf(stderr,
                   "seaclone-radio-sim: %s leaves %zu bytes of 000-CEF out; they read as 0\n",
                   options.imagePath.c_str(), missing);
  } else {
    const std::string dir = QCoreApplication::applicationDirPath().toStdString();
    const std::string error = sim::LoadModelImage(options.model.value_or(0), dir, image, source);
    if (!error.empty()) return Fail(error);
  }

  sim::PtyLine line;
  if (const std::string error = line.Open(); !error.empty()) return Fail(error);
  if (!options.linkPath.empty())
    if (const std::string error = line.MakeLink(options.linkPath); !error.empty())
      return Fail(error);
  line.SetPacing(options.baudPace);
  if (options.fault == sim::Fault::HangUpBytes)
    line.HangUpAfterBytes(static_cast<std::uint64_t>(options.At()));

  sim::Radio radio(options, std::move(image), log, line);
  sim::Cable cable(options, line, radio, log);

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  // The first line of standard output is the contract with whoever started
  // us: the device to open. Nothing else goes to standard output.
  std::printf("%s\n", line.SlavePath().c_str());
  std::fflush(stdout);
  log.Line("serving " + source + " on " + line.SlavePath());

  sim::PtyLine::Handlers handlers{
      [&](const std::uint8_t* bytes, std::size_t n) { cable.FromProgram(bytes, n); },
      [&] {
        log.Line("line closed by the program");
        radio.LineClosed();
      }};
  switch (line.Run(handlers, gStop, options.once)) {
    case sim::PtyLine::End::Stopped: log.Line("stopped"); return 0;
    case sim::PtyLine::End::HungUp: log.Line("hung up"); return 0;
    case sim::PtyLine::End::PeerGone: log.Line("the program has gone"); return 0;
    case sim::PtyLine::End::Failed: return Fail("the line failed");
  }
  return 0;
}
