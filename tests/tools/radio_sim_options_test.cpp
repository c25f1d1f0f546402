// SPDX-License-Identifier: GPL-3.0-or-later
// The simulator's command line and its life cycle: help, refused options,
// the device link, --once, --model and the event log.

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <unistd.h>

#include <chrono>

#include "radio_sim_fixture.h"

namespace simtest {
namespace {

struct SimRun {
  int exitCode = -1;
  QByteArray out;
};

SimRun RunSim(const QStringList& args) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start(testsupport::RadioSim::Program(), args);
  SimRun r;
  if (!p.waitForFinished(30000)) {
    p.kill();
    p.waitForFinished();
    return r;
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = p.readAllStandardOutput();
  return r;
}

TEST(RadioSimOptions, HelpListsEveryOptionAndFaultOnALineOfItsOwn) {
  const SimRun r = RunSim({"--help"});
  ASSERT_EQ(r.exitCode, 0);
  for (const char* option :
       {"--image FILE", "--model N", "--save FILE", "--link PATH", "--baud-pace", "--once",
        "--log FILE", "--frame-size N", "--dealer-version HHHH", "--extra-version HHHH",
        "--fault NAME", "--fault-at N"})
    EXPECT_TRUE(r.out.contains(QByteArray("\n  ") + option)) << option;
  for (const char* fault :
       {"silent",         "no-echo",       "wrong-echo",   "bad-checksum",  "lower-case",
        "wrong-count",    "missing-frame", "beyond-image", "write-refused", "store-wrong",
        "read-forbidden", "value2-zero",   "no-signature", "other-model",   "over-temp",
        "over-voltage",   "dc-voltage",    "hang-up",      "hang-up-bytes", "stray"})
    EXPECT_TRUE(r.out.contains(QByteArray("\n  ") + fault + " ")) << fault;
}

TEST(RadioSimOptions, RefusesWhatItCannotServeBeforeNamingADevice) {
  const QStringList cases[] = {
      {"--fault", "no-such-fault"},
      {"--fault", "silent", "--fault", "stray"},
      {"--model", "13"},
      {"--model", "1", "--image", "radio.dat"},
      {"--image", "/nonexistent/radio.dat"},
      {"--frame-size", "0"},
      {"--frame-size", "256"},
      {"--dealer-version", "FD01"},  // would cut the reply frame
      {"--extra-version", "12"},
      {"--fault-at", "-1"},
      {"stray-argument"},
  };
  for (const QStringList& args : cases) {
    const SimRun r = RunSim(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
  }
}

TEST(RadioSimOptions, RefusesAMalformedCloneDataFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("bad.dat");
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("58160001\r\n#MapRev=1\r\n00001000112233\r\n");  // says 16 bytes, holds 3
  f.close();
  EXPECT_EQ(RunSim({"--image", path}).exitCode, 2);
}

using RadioSimLife = RadioSimTest;

TEST_F(RadioSimLife, LinkPointsAtTheDeviceWhileItRuns) {
  const QString link = dir_.filePath("radio-tty");
  Start({"--link", link});
  EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), sim_.Device());
  Client viaLink(link.toStdString());
  ASSERT_TRUE(viaLink.IsOpen());
  viaLink.Send(kInfoRequest);
  EXPECT_EQ(RadioFrames(viaLink.ReadUntilRadioFrame(0xE1)).size(), 1u);

  EXPECT_EQ(sim_.Stop(), 0);
  EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST_F(RadioSimLife, OnceOutlivesAReopenAndEndsWhenTheProgramIsGone) {
  Start({"--once"});
  EXPECT_EQ(RadioFrames(Exchange(kInfoRequest, 0xE1)).size(), 1u);
  // The program closes the port between the exchanges of one command.
  client_->Close();
  client_ = std::make_unique<Client>(sim_.Device());
  ASSERT_TRUE(client_->IsOpen());
  EXPECT_EQ(RadioFrames(Exchange(kReadRequest, 0xE5)).size(), 208u);
  client_->Close();
  EXPECT_EQ(sim_.WaitForExit(), 0);
}

// Waits (at most 20 s) until the log holds a line with this text.
bool LogShows(const QString& path, const QByteArray& text) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < limit) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly) && f.readAll().contains(text)) return true;
    ::usleep(10000);
  }
  return false;
}

TEST_F(RadioSimLife, ClosingTheLineMidWriteAbandonsThatWrite) {
  const QString log = dir_.filePath("sim.log");
  Start({"--save", savePath_, "--log", log});
  const Bytes begun = Concat(kWriteRequest, ProgramDataFrame(0x000, Bytes(16, 0x11)));
  client_->Send(begun);
  client_->ReadCount(begun.size());
  client_->Close();
  ASSERT_TRUE(LogShows(log, "write abandoned frames=1"));
  client_ = std::make_unique<Client>(sim_.Device());
  ASSERT_TRUE(client_->IsOpen());
  // Without the write request, data and end frames do not make a write.
  const Bytes orphan = Concat(ProgramDataFrame(0x010, Bytes(16, 0x22)), ProgramEndFrame(2));
  client_->Send(orphan);
  // Anything still in the line from before the close is stale; what counts
  // is that the next exchange works and the image never changed.
  const std::vector<Frame> frames = RadioFrames(Exchange(kReadRequest, 0xE5));
  EXPECT_EQ(frames, Concat(ReadFrames(image_), {RadioEndFrame(207)}));
  EXPECT_FALSE(QFile::exists(savePath_));
}

TEST_F(RadioSimLife, LogRecordsEachExchange) {
  const QString log = dir_.filePath("sim.log");
  Start({"--log", log, "--fault", "write-refused"});
  Exchange(kInfoRequest, 0xE1);
  Exchange(kReadRequest, 0xE5);
  Exchange(Concat(Concat(kWriteRequest, ProgramDataFrame(0, Bytes(16, 0))), ProgramEndFrame(1)),
           0xE6);
  sim_.Stop();
  QFile f(log);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QList<QByteArray> lines = f.readAll().split('\n');
  QList<QByteArray> exchanges;
  for (const QByteArray& line : lines)
    if (line.contains("request") || line.startsWith("info reply") || line.startsWith("read end") ||
        line.startsWith("write "))
      exchanges << line;
  EXPECT_EQ(exchanges,
            (QList<QByteArray>{"info request", "info reply", "read request", "read end frames=207",
                               "write request", "write refused: fault: write refused"}));
}

TEST(RadioSimModel, ModelServesASignedImageOfThatModel) {
  testsupport::RadioSim sim;
  ASSERT_TRUE(sim.Start({"--model", "5"})) << sim.Error();
  Client client(sim.Device());
  ASSERT_TRUE(client.IsOpen());
  client.Send(kInfoRequest);
  const std::vector<Frame> info = SplitFrames(client.ReadUntilRadioFrame(0xE1), 10);
  ASSERT_EQ(info.size(), 1u);
  ASSERT_EQ(info[0].body.size(), 32u);
  EXPECT_EQ(static_cast<std::uint8_t>(info[0].body[4 + 21]), 5);

  client.Send(kReadRequest);
  Bytes image(kImageSize, 0);
  for (const Frame& f : SplitFrames(client.ReadUntilRadioFrame(0xE5), 10)) {
    const Decoded d = DecodeData(f.body);
    if (d.ok) std::copy(d.data.begin(), d.data.end(), image.begin() + d.address);
  }
  EXPECT_EQ(std::string(image.begin() + 0x9D8, image.begin() + 0x9E0), "Zelm Inc");
  EXPECT_EQ(image[0x9D1], 5);
}

TEST_F(RadioSimLife, PacedLineDeliversTheSameBytes) {
  Start({"--baud-pace"});
  EXPECT_EQ(
      Exchange(kInfoRequest, 0xE1),
      Concat(kInfoRequest,
             Concat(Concat(Hex("FE FE EF EE E1 58 16 00 01"), DefaultPayload(image_)), Hex("FD"))));
}

}  // namespace
}  // namespace simtest
