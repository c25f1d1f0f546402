// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-bench-fleet-speed: times seaclone-cli fleet programming N radios
// on N cables at once (each radio: information, read, write, read back)
// against N simulators paced at 9600 baud, each on a pseudo-terminal of
// its own, and compares it with 1 radio on 1 cable. It also takes the
// program's processor time (user and system) from the kernel, per cable.
//
//   seaclone-bench-fleet-speed [--runs N] [--bin DIR] [--cables 4,8]
//
// Targets: 4 cables at most 1.15 times the time of 1, 8 cables at most
// 1.3 times; the program's processor time under 10 % of one core per
// cable. Exit status 0 when every target is met, 1 otherwise, 2 when the
// programs cannot be run.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Timing {
  bool ok = false;
  double seconds = 0;
  double cpu = 0;  // user and system seconds of the program
};

// Runs the program to its end with its output thrown away; wall and
// processor time from the kernel's account of the child.
Timing RunMeasured(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  Timing t;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return t;
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) return t;
  t.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  t.cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  t.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!t.ok) std::fprintf(stderr, "seaclone-cli fleet exited with %d\n", WEXITSTATUS(status));
  return t;
}

class Simulators {
 public:
  explicit Simulators(const QString& program) : program_(program) {}
  ~Simulators() {
    for (auto& p : processes_) {
      p->terminate();
      p->waitForFinished(5000);
    }
  }
  // Starts one more, paced; its device, or "" when it named none.
  std::string Add() {
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(program_, {"--baud-pace", "--model", "0"});
    QByteArray line;
    while (!line.contains('\n') && p->waitForReadyRead(30000)) line += p->readAllStandardOutput();
    processes_.push_back(std::move(p));
    if (!line.contains('\n')) return {};
    return line.left(line.indexOf('\n')).trimmed().toStdString();
  }

 private:
  QString program_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

// The best of runs fleet runs of cables radios on cables cables.
bool TimeFleet(const QString& bin, const QTemporaryDir& dir, int cables, int runs, Timing* best) {
  Simulators sims(QDir(bin).filePath("seaclone-radio-sim"));
  std::vector<std::string> devices;
  for (int c = 0; c < cables; ++c) {
    devices.push_back(sims.Add());
    if (devices.back().empty()) return false;
  }
  for (int run = 0; run < runs; ++run) {
    const QString ids = dir.filePath(QString("ids-%1-%2.csv").arg(cables).arg(run));
    {
      QFile f(ids);
      if (!f.open(QIODevice::WriteOnly)) return false;
      f.write("id\n");
      for (int c = 0; c < cables; ++c)
        f.write(QString("21100%1%2\n")
                    .arg(cables, 2, 10, QChar('0'))
                    .arg(run * 100 + c, 3, 10, QChar('0'))
                    .toLatin1());
    }
    std::vector<std::string> args{QDir(bin).filePath("seaclone-cli").toStdString(),
                                  "fleet",
                                  "--image",
                                  QDir(bin).filePath("TB58_00_USA.DAT").toStdString(),
                                  "--ids",
                                  ids.toStdString(),
                                  "--yes",
                                  "--quiet"};
    for (const std::string& d : devices) {
      args.push_back("--device");
      args.push_back(d);
    }
    const Timing t = RunMeasured(args);
    if (!t.ok) return false;
    if (!best->ok || t.seconds < best->seconds) *best = t;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString bin = QCoreApplication::applicationDirPath();
  int runs = 1;
  std::vector<int> counts{4, 8};
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--bin" && i + 1 < args.size()) {
      bin = args[++i];
    } else if (args[i] == "--runs" && i + 1 < args.size()) {
      runs = std::max(1, args[++i].toInt());
    } else if (args[i] == "--cables" && i + 1 < args.size()) {
      counts.clear();
      for (const QString& n : args[++i].split(',')) counts.push_back(std::max(2, n.toInt()));
    } else {
      std::fprintf(stderr,
                   "usage: seaclone-bench-fleet-speed [--runs N] [--bin DIR] [--cables 4,8]\n");
      return 2;
    }
  }
  QTemporaryDir dir;
  qputenv("SEACLONE_BACKUP_DIR", dir.filePath("backups").toLocal8Bit());

  Timing one;
  if (!TimeFleet(bin, dir, 1, runs, &one)) return 2;
  const auto print = [](int cables, const Timing& t, double ratio, double target) {
    const double perCable = 100.0 * t.cpu / t.seconds / cables;
    std::printf(
        "%d radio%s on %d cable%s: %.2f s, ratio %.3f (target %.2f), processor %.2f s, "
        "%.1f %% of one core per cable\n",
        cables, cables > 1 ? "s" : "", cables, cables > 1 ? "s" : "", t.seconds, ratio, target,
        t.cpu, perCable);
    return perCable;
  };
  bool met = print(1, one, 1.0, 1.0) < 10.0;
  for (int cables : counts) {
    Timing t;
    if (!TimeFleet(bin, dir, cables, runs, &t)) return 2;
    const double target = cables <= 4 ? 1.15 : 1.3;
    const double ratio = t.seconds / one.seconds;
    const double cpu = print(cables, t, ratio, target);
    met = met && ratio <= target && cpu < 10.0;
  }
  return met ? 0 : 1;
}
