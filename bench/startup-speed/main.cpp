// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-bench-startup-speed: how soon the program shows its first page,
// and how fast the main window switches between its two largest pages.
//
//   seaclone-bench-startup-speed [--runs N] [--xvfb]
//
// Cold start: each run starts a new process of the program next to this one
// (settings in a fresh XDG_CONFIG_HOME, its own lock folder) with
// SEACLONE_REPORT_FIRST_PAINT set, and takes the time from just before the
// start to the monotonic time the program reports after its first sheet
// paint; the process is then stopped. Offscreen always, and under X when
// DISPLAY is set (or, with --xvfb, on an Xvfb this bench starts and stops).
// Page switch: in this process, the real main window opens the
// international channel list and the common settings page in turn; each
// switch is timed from the open request until the new sheet has painted.
// Medians, and fractions of the targets: 300 ms cold start, one 16.7 ms
// frame per switch. Exit status 0 when every target is met.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/ind_main.h"
#include "shell/main_form.h"
#include "shell/paint_watch.h"
#include "shell/startup.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;
constexpr double kStartMs = 300.0;
const char* const kPages[] = {"GI_Sheet_IntCh", "GI_Sheet_Common_Common"};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

long long MonotonicNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool Report(const char* what, const std::vector<double>& ms, double target) {
  const double median = Median(ms);
  std::printf("  %-28s median %8.2f ms (min %.2f, max %.2f, %zu runs)  = %.3f of %.1f ms\n", what,
              median, ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end()),
              ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()), ms.size(), median / target,
              target);
  return !ms.empty() && median <= target;
}

// One cold start on the given Qt platform; nothing when the program gave no
// report within ten seconds.
std::optional<double> ColdStart(const QString& program, const QString& platform,
                                const QString& display) {
  QTemporaryDir config;
  QTemporaryDir locks;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", config.path());
  env.insert("SEACLONE_LOCK_DIR", locks.path());
  env.insert("SEACLONE_REPORT_FIRST_PAINT", "1");
  env.insert("SEACLONE_NONINTERACTIVE", "1");
  env.insert("QT_QPA_PLATFORM", platform);
  if (!display.isEmpty()) env.insert("DISPLAY", display);
  QProcess child;
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::SeparateChannels);
  const long long started = MonotonicNs();
  child.start(program, {});
  std::optional<double> ms;
  QByteArray out;
  QElapsedTimer limit;
  limit.start();
  while (!ms && limit.elapsed() < 10000 && child.state() != QProcess::NotRunning) {
    child.waitForReadyRead(100);
    out += child.readAllStandardOutput();
    const qsizetype at = out.indexOf("seaclone-first-paint ");
    const qsizetype end = at < 0 ? -1 : out.indexOf('\n', at);
    if (end > at) {
      const long long painted = out.mid(at + 21, end - at - 21).trimmed().toLongLong();
      ms = static_cast<double>(painted - started) / 1e6;
    }
  }
  child.kill();
  child.waitForFinished(5000);
  return ms;
}

std::vector<double> ColdStarts(const QString& program, const QString& platform,
                               const QString& display, int runs) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    if (const auto one = ColdStart(program, platform, display))
      ms.push_back(*one);
    else
      std::fprintf(stderr, "  run %d on %s: no first paint reported\n", i, qPrintable(platform));
  }
  return ms;
}

// Times page switches in a main window of this process.
std::vector<double> PageSwitches(int runs) {
  QTemporaryDir config;
  QTemporaryDir locks;
  ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  ::setenv("SEACLONE_LOCK_DIR", locks.path().toLocal8Bit().constData(), 1);
  shell::Globals globals(QApplication::arguments());
  shell::PaintWatch watch(nullptr);
  TForm1 form(&globals.Main());
  form.resize(1000, 700);
  form.show();
  auto waitForPaint = [&watch] {
    QElapsedTimer limit;
    limit.start();
    while (!watch.TakePainted() && limit.elapsed() < 5000) QApplication::processEvents();
  };
  waitForPaint();
  std::vector<double> ms;
  for (int i = 0; i < runs + 2; ++i) {
    QElapsedTimer timer;
    timer.start();
    globals.Main().Navigation().OpenSheet(kPages[i % 2]);
    waitForPaint();
    // The first two switches fill the widths and caches both pages share.
    if (i >= 2) ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  form.close();
  return ms;
}

// An Xvfb of this run on the first free display from :71; stopped by its
// own process id when the bench ends.
struct OwnXvfb {
  QProcess process;
  QString display;
  bool Start() {
    for (int n = 71; n < 100; ++n) {
      if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
          QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
        continue;
      display = QStringLiteral(":%1").arg(n);
      process.start("Xvfb", {display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
      if (!process.waitForStarted(3000)) return false;
      for (int i = 0; i < 50 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)); ++i)
        QThread::msleep(100);
      return process.state() == QProcess::Running;
    }
    return false;
  }
  ~OwnXvfb() {
    if (process.state() != QProcess::NotRunning) {
      process.terminate();
      process.waitForFinished(3000);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  bool xvfb = false;
  bool switchOnly = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
      runs = std::max(std::atoi(argv[++i]), 1);
    else if (!std::strcmp(argv[i], "--xvfb"))
      xvfb = true;
    else if (!std::strcmp(argv[i], "--switch-only"))
      switchOnly = true;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::setenv("SEACLONE_NONINTERACTIVE", "1", 1);
  const QString display = QString::fromLocal8Bit(qgetenv("DISPLAY"));
  shell::Application app(argc, argv);

  // Under X the page switch is timed by a copy of this bench on that display.
  if (switchOnly) {
    const bool met = Report(qPrintable("X display " + display), PageSwitches(runs * 4), kFrameMs);
    return met ? 0 : 1;
  }

  const QString self = QCoreApplication::applicationFilePath();
  const QString program = QCoreApplication::applicationDirPath() + "/seaclone";
  OwnXvfb own;
  QString x = display;
  if (x.isEmpty() && xvfb) {
    if (own.Start())
      x = own.display;
    else
      std::fprintf(stderr, "Xvfb could not be started; offscreen only\n");
  }

  bool met = true;
  std::printf("Cold start of %s to its first painted page:\n", qPrintable(program));
  met = Report("offscreen", ColdStarts(program, "offscreen", {}, runs), kStartMs) && met;
  if (!x.isEmpty())
    met =
        Report(qPrintable("X display " + x), ColdStarts(program, "xcb", x, runs), kStartMs) && met;

  std::printf("Switching between %s and %s, request to painted sheet:\n", kPages[0], kPages[1]);
  met = Report("offscreen", PageSwitches(runs * 4), kFrameMs) && met;
  if (!x.isEmpty()) {
    QProcess copy;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", x);
    copy.setProcessEnvironment(env);
    copy.setProcessChannelMode(QProcess::ForwardedChannels);
    std::fflush(stdout);
    copy.start(self, {"--switch-only", "--runs", QString::number(runs)});
    met = copy.waitForFinished(120000) && copy.exitCode() == 0 && met;
  }
  return met ? 0 : 1;
}
