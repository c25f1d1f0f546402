// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-bench-clone-speed: times a clone read and a clone write through
// seaclone-cli against seaclone-radio-sim paced at 9600 baud, and prints
// each duration as a ratio to the wire time, the time the bytes that must
// cross the line need at 960 bytes a second. The line towards the program
// is the busy one: it carries the cable's echo of everything the program
// sends as well as the radio's own frames.
//
//   seaclone-bench-clone-speed [--runs N] [--bin DIR] [--windows-cli EXE]
//
// --windows-cli times a cross-built seaclone-cli.exe under Wine as well, on
// COM7 of the prefix in WINEPREFIX (made by scripts/wine-prefix); its
// ratios are shown beside the native ones but do not count for the status.
//
// Exit status 0 when every native ratio is at most 1.05, 1 otherwise, 2 when
// the programs cannot be run.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr double kBytesPerSecond = 960.0;
constexpr double kTarget = 1.05;

// Frame sizes on the line.
constexpr int kRequest = 10;  // FE FE EE EF Ex v1 v1 v2 v2 FD
constexpr int kInfoReply = 5 + 4 + 28 + 1;
constexpr int kDataFrame16 = 5 + 4 + 2 + 32 + 2 + 1;  // 16 bytes as ASCII hex
constexpr int kEndFrame = 5 + 9 + 2 + 1;
constexpr int kWriteResult = 5 + 1 + 1;

// Information exchange: the request's echo and the reply.
constexpr int kInfoBytes = kRequest + kInfoReply;
// Read of 000..CEF: 207 frames of 16 bytes and the radio's end frame.
constexpr int kReadBytes = kInfoBytes + kRequest + 207 * kDataFrame16 + kEndFrame;
// Write of 000..9FF (the radio's dealer block is as new as ours): the echo
// of the request, 160 frames and the end frame, then the result.
constexpr int kWriteBytes = kInfoBytes + kRequest + 160 * kDataFrame16 + kEndFrame + kWriteResult;

struct Outcome {
  bool ok = false;
  double seconds = 0;
  std::string error;
};

Outcome Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QElapsedTimer clock;
  clock.start();
  p.start(program, args);
  Outcome out;
  if (!p.waitForStarted(30000) || !p.waitForFinished(120000)) {
    out.error = "cannot run " + program.toStdString();
    p.kill();
    p.waitForFinished();
    return out;
  }
  out.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  out.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  if (!out.ok) out.error = program.toStdString() + " exited with " + std::to_string(p.exitCode());
  return out;
}

// The simulator's own pace: a bare reader sends the read request and takes
// the reply as fast as it comes. On a loaded machine the simulator's byte
// clock slips, and this shows by how much, apart from the program.
double LineBaseline(const QString& device, int* bytes) {
  const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
  if (fd < 0) return -1;
  termios tio{};
  ::tcgetattr(fd, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(fd, TCSANOW, &tio);
  const unsigned char request[] = {0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x58, 0x16, 0x00, 0x00, 0xFD};
  const auto start = std::chrono::steady_clock::now();
  if (::write(fd, request, sizeof request) != static_cast<ssize_t>(sizeof request)) {
    ::close(fd);
    return -1;
  }
  std::string got;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 5000) <= 0) break;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    got.append(buf, static_cast<std::size_t>(n));
    const std::size_t end = got.rfind('\xE5');
    if (end != std::string::npos && got.back() == '\xFD' && got.size() - end >= 13) break;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ::close(fd);
  *bytes = static_cast<int>(got.size());
  return seconds;
}

struct Timing {
  double read = 1e9;
  double write = 1e9;
};

// Best read and write of runs rounds; program with head before the command
// (wine and the exe), port the options that name the line, file as the
// program names it.
bool TimeClone(const QString& program, const QStringList& head, const QStringList& port,
               const QString& file, int runs, Timing* best) {
  for (int i = 0; i < runs; ++i) {
    const Outcome read =
        Run(program, head + QStringList{"read"} + port + QStringList{"--output", file, "--quiet"});
    if (!read.ok) {
      std::fprintf(stderr, "read: %s\n", read.error.c_str());
      return false;
    }
    const Outcome write =
        Run(program, head + QStringList{"write"} + port + QStringList{"--quiet", file});
    if (!write.ok) {
      std::fprintf(stderr, "write: %s\n", write.error.c_str());
      return false;
    }
    best->read = std::min(best->read, read.seconds);
    best->write = std::min(best->write, write.seconds);
  }
  return true;
}

constexpr double kReadWire = kReadBytes / kBytesPerSecond;
constexpr double kWriteWire = kWriteBytes / kBytesPerSecond;

void Print(const char* what, const Timing& t, int runs) {
  std::printf("%s clone read : %5d bytes on the line, wire %.3f s, best of %d %.3f s, ratio %.3f\n",
              what, kReadBytes, kReadWire, runs, t.read, t.read / kReadWire);
  std::printf("%s clone write: %5d bytes on the line, wire %.3f s, best of %d %.3f s, ratio %.3f\n",
              what, kWriteBytes, kWriteWire, runs, t.write, t.write / kWriteWire);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString bin = QCoreApplication::applicationDirPath();
  QString windowsCli;
  int runs = 3;
  const QStringList args = app.arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--bin" && i + 1 < args.size()) {
      bin = args[++i];
    } else if (args[i] == "--runs" && i + 1 < args.size()) {
      runs = std::max(1, args[++i].toInt());
    } else if (args[i] == "--windows-cli" && i + 1 < args.size()) {
      windowsCli = args[++i];
    } else {
      std::fprintf(
          stderr, "usage: seaclone-bench-clone-speed [--runs N] [--bin DIR] [--windows-cli EXE]\n");
      return 2;
    }
  }
  const QString prefix = qEnvironmentVariable("WINEPREFIX");
  if (!windowsCli.isEmpty() && prefix.isEmpty()) {
    std::fprintf(stderr, "--windows-cli needs WINEPREFIX (see scripts/wine-prefix)\n");
    return 2;
  }
  const QString cli = QDir(bin).filePath("seaclone-cli");
  const QString simProgram = QDir(bin).filePath("seaclone-radio-sim");
  QTemporaryDir dir;

  QStringList simArgs{"--baud-pace", "--model", "0"};
  const QString comLink = prefix + "/dosdevices/com7";
  if (!windowsCli.isEmpty()) {
    QFile::remove(comLink);
    simArgs << "--link" << comLink;
  }
  QProcess sim;
  sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim.start(simProgram, simArgs);
  QByteArray line;
  while (sim.waitForReadyRead(30000)) {
    line += sim.readAllStandardOutput();
    if (line.contains('\n')) break;
  }
  if (!line.contains('\n')) {
    std::fprintf(stderr, "cannot start %s\n", simProgram.toLocal8Bit().constData());
    return 2;
  }
  const QString device = QString::fromLocal8Bit(line.left(line.indexOf('\n')).trimmed());
  const QString file = dir.filePath("bench.dat");

  int baselineBytes = 0;
  const double baseline = LineBaseline(device, &baselineBytes);

  Timing native;
  Timing wine;
  bool ok = TimeClone(cli, {}, {"--device", device}, file, runs, &native);
  if (ok && !windowsCli.isEmpty()) {
    // Wine's drive Z: is the Unix root.
    const QString winFile = "Z:" + QString(file).replace('/', '\\');
    ok = TimeClone("wine", {windowsCli}, {"--port", "7"}, winFile, runs, &wine);
  }
  sim.terminate();
  sim.waitForFinished(5000);
  if (!windowsCli.isEmpty()) QFile::remove(comLink);
  if (!ok) return 2;

  Print("native", native, runs);
  if (!windowsCli.isEmpty()) Print("Wine  ", wine, runs);
  const double readRatio = native.read / kReadWire;
  const double writeRatio = native.write / kWriteWire;
  if (baseline > 0 && baselineBytes > 0) {
    const double pace = baseline / (baselineBytes / kBytesPerSecond);
    std::printf(
        "line alone : %5d bytes of a bare read, %.3f s, ratio %.3f (the simulator's own pace)\n",
        baselineBytes, baseline, pace);
    std::printf("against the simulator's pace: read %.3f, write %.3f\n", readRatio / pace,
                writeRatio / pace);
  }
  std::printf("target: at most %.2f\n", kTarget);
  return readRatio <= kTarget && writeRatio <= kTarget ? 0 : 1;
}
