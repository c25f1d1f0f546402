// SPDX-License-Identifier: GPL-3.0-or-later
// The real program, started as the user would start it: one copy at a
// time, the settings written at a normal close and read at the next start,
// a crashed copy not locking the user out, a broken overlay ending it with
// status 3. Each run has its own config and runtime folders.
#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

#include "platform/instance_guard.h"

namespace {

const QString kProgram = QStringLiteral(SEACLONE_BIN_DIR "/seaclone");
const QString kLockName = QStringLiteral("Zelm Pelna APP Exclusive Mutex.lock");

// Polls until the condition holds; the limit only keeps a broken program
// from hanging the suite.
bool WaitFor(const std::function<bool()>& condition, int limitMs = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > limitMs) return false;
    QThread::msleep(20);
  }
  return true;
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    QDir().mkpath(Runtime());
    QFile::setPermissions(Runtime(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  void TearDown() override {
    for (auto& p : running_) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(10000);
      }
    }
  }

  QString Runtime() const { return home_.filePath(QStringLiteral("runtime")); }
  QString Settings() const { return home_.filePath(QStringLiteral("config/Recent/K4T.conf")); }
  QString LockFile() const { return Runtime() + QLatin1Char('/') + kLockName; }

  QString ReadSettings() const {
    QFile f(Settings());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  void WriteSettings(const QString& text) const {
    QDir().mkpath(home_.filePath(QStringLiteral("config/Recent")));
    QFile f(Settings());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
  }

  // Starts the program; closeAfterMs > 0 closes its main window normally.
  // adjust changes the environment further.
  QProcess& Start(int closeAfterMs, const QString& program = kProgram, const QStringList& args = {},
                  const std::function<void(QProcessEnvironment&)>& adjust = {},
                  const QString& folder = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home_.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home_.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Runtime());
    env.insert(QString::fromLatin1(platform::InstanceGuard::kFolderVariable), Runtime());
    env.insert(QStringLiteral("SEACLONE_NONINTERACTIVE"), QStringLiteral("1"));
    if (closeAfterMs > 0)
      env.insert(QStringLiteral("SEACLONE_TEST_CLOSE_MS"), QString::number(closeAfterMs));
    if (adjust) adjust(env);
    running_.push_back(std::make_unique<QProcess>());
    QProcess& p = *running_.back();
    p.setProcessEnvironment(env);
    if (!folder.isEmpty()) p.setWorkingDirectory(folder);
    p.start(program, args);
    EXPECT_TRUE(p.waitForStarted(10000)) << program.toStdString();
    return p;
  }

  static void ExpectExit(QProcess& p, int code) {
    ASSERT_TRUE(p.waitForFinished(30000)) << "still running";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), code) << p.readAllStandardError().toStdString();
  }

  QTemporaryDir home_;
  std::vector<std::unique_ptr<QProcess>> running_;
};

TEST_F(Program, NormalCloseWritesEveryGroupOfTheSettings) {
  QProcess& p = Start(300);
  ExpectExit(p, 0);
  const QString text = ReadSettings();
  for (const char* group : {"[Global]", "[Recent%20File%20List]", "[View%20Option]",
                            "[Window%20Position]", "[Setup]", "BBT=753951"})
    EXPECT_TRUE(text.contains(QLatin1String(group))) << group << "\n" << text.toStdString();
}

TEST_F(Program, OpensWhereItWasLeftAndKeepsTheSettings) {
  WriteSettings(QStringLiteral(
      "[Global]\nBBT=753951\nComPort=9\nComSpeedHigh=0\nCurrent%20Directory=/home/skipper\n"
      "[Recent%20File%20List]\nRecent0=/home/skipper/Dinghy.dat\n"
      "[View%20Option]\nFontSize%20Percentage=120\nToolbar%20Visible=0\nFontSize%20Printer=9\n"
      "[Window%20Position]\nLeft=50\nTop=60\nWidth=500\nHeight=300\nSplitterV=150\n"
      "[Setup]\nModelType=3\nChListType=1\n"));
  QProcess& p = Start(300);
  ExpectExit(p, 0);
  const QString text = ReadSettings();
  for (const char* value :
       {"ComPort=9", "Recent0=/home/skipper/Dinghy.dat", "FontSize%20Percentage=120", "Left=50",
        "Top=60", "Width=500", "Height=300", "SplitterV=150", "ModelType=3"})
    EXPECT_TRUE(text.contains(QLatin1String(value))) << value << "\n" << text.toStdString();
}

TEST_F(Program, SecondCopyLeavesAtOnceWithoutWritingAndTheFirstRunsOn) {
  QProcess& first = Start(0);
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(LockFile()); }));

  QElapsedTimer clock;
  clock.start();
  QProcess& second = Start(300);
  ExpectExit(second, 0);
  std::printf("second copy left after %lld ms\n", static_cast<long long>(clock.elapsed()));
  EXPECT_TRUE(second.readAllStandardError().isEmpty());
  // The first has not closed yet (it may have stored the column widths of
  // its page); the second wrote no settings.
  EXPECT_FALSE(ReadSettings().contains(QLatin1String("BBT=")));
  EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(Program, ASecondStartWithAFileHandsItToTheRunningCopy) {
  // A relative name is the second start's own: it goes over as an absolute
  // path, whatever folder the first copy runs in.
  const QString folder = home_.filePath(QStringLiteral("boats"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString file = folder + QStringLiteral("/Dinghy.dat");
  ASSERT_TRUE(QFile::copy(QStringLiteral(SEACLONE_BIN_DIR "/TB58_01_EUR.DAT"), file));
  const QString socket = Runtime() + QStringLiteral("/seaclone-open.socket");

  QProcess& first = Start(8000);
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(socket); }));

  running_.push_back(std::make_unique<QProcess>());
  QProcess& second = *running_.back();
  second.setProcessEnvironment(first.processEnvironment());
  second.setWorkingDirectory(folder);
  second.start(kProgram, {QStringLiteral("Dinghy.dat")});
  ExpectExit(second, 0);
  EXPECT_TRUE(second.readAllStandardError().isEmpty());
  EXPECT_TRUE(second.readAllStandardOutput().isEmpty());

  ExpectExit(first, 0);
  // The first copy opened it: it heads the recent files it wrote at close.
  EXPECT_TRUE(ReadSettings().contains(QStringLiteral("Recent0=") + file))
      << ReadSettings().toStdString();
}

TEST_F(Program, AFileNamedRelativeToTheStartFolderIsRememberedByItsFullPath) {
  const QString folder = home_.filePath(QStringLiteral("boats"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString file = folder + QStringLiteral("/Dinghy.dat");
  ASSERT_TRUE(QFile::copy(QStringLiteral(SEACLONE_BIN_DIR "/TB58_01_EUR.DAT"), file));

  ExpectExit(Start(3000, kProgram, {QStringLiteral("Dinghy.dat")}, {}, folder), 0);
  EXPECT_TRUE(ReadSettings().contains(QStringLiteral("Recent0=") + file))
      << ReadSettings().toStdString();
}

TEST_F(Program, ASecondStartWithAFileAndNoRunningListenerStillLeavesSilently) {
  // A copy that holds the lock but does not listen (one of an older
  // version, say): the file cannot be handed over, and nothing is said.
  platform::InstanceGuard holder(kLockName.chopped(5).toStdString(), Runtime().toStdString());
  ASSERT_TRUE(holder.IsFirst());
  QElapsedTimer clock;
  clock.start();
  QProcess& second = Start(0, kProgram, {home_.filePath(QStringLiteral("missing.dat"))});
  ExpectExit(second, 0);
  EXPECT_TRUE(second.readAllStandardError().isEmpty());
  EXPECT_LT(clock.elapsed(), 15000);
}

TEST_F(Program, ASecondCopyWithAnotherOrNoRuntimeDirStillLeaves) {
  // The user's real lock folder this time; a copy that the user runs now
  // would hold it.
  const std::string userFolder = platform::InstanceGuard::UserFolder();
  ASSERT_FALSE(userFolder.empty());
  const QString lock = QString::fromStdString(userFolder) + QLatin1Char('/') + kLockName;
  {
    platform::InstanceGuard probe("Zelm Pelna APP Exclusive Mutex", userFolder);
    if (!probe.IsFirst()) GTEST_SKIP() << "a copy of seaclone is running for this user";
  }
  QProcess& first = Start(0, kProgram, {}, [](QProcessEnvironment& env) {
    env.remove(QString::fromLatin1(platform::InstanceGuard::kFolderVariable));
  });
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(lock) && first.state() == QProcess::Running; }));
  QThread::msleep(200);
  ASSERT_EQ(first.state(), QProcess::Running);

  QTemporaryDir elsewhere;
  for (const bool unset : {false, true}) {
    QProcess& second = Start(300, kProgram, {}, [&](QProcessEnvironment& env) {
      env.remove(QString::fromLatin1(platform::InstanceGuard::kFolderVariable));
      if (unset)
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
      else
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), elsewhere.path());
    });
    ExpectExit(second, 0);
    // The first copy may have stored its page's column widths; the second wrote no settings.
    EXPECT_FALSE(ReadSettings().contains(QLatin1String("BBT="))) << (unset ? "unset" : "elsewhere");
    EXPECT_EQ(first.state(), QProcess::Running);
  }
}

TEST_F(Program, ACrashedCopyDoesNotLockTheUserOut) {
  QProcess& crashed = Start(0);
  // The lock file is created first and its owner written into it a moment
  // later; a copy killed in between leaves a lock that names nobody, which
  // is not the crash this test is about.
  ASSERT_TRUE(WaitFor([&] { return QFileInfo(LockFile()).size() > 0; }));
  crashed.kill();  // no chance to clean up
  ASSERT_TRUE(crashed.waitForFinished(10000));
  ASSERT_TRUE(QFile::exists(LockFile()));

  QProcess& next = Start(300);
  ExpectExit(next, 0);
  // Only the first instance writes settings: this one was.
  EXPECT_TRUE(ReadSettings().contains(QLatin1String("BBT=753951")));
}

TEST_F(Program, MakerSwitchIsAccepted) {
  QProcess& p = Start(300, kProgram, {QStringLiteral("/KelPish")});
  ExpectExit(p, 0);
  EXPECT_TRUE(ReadSettings().contains(QLatin1String("BBT=753951")));
}

TEST_F(Program, MissingTitleInTheOverlayEndsWithStatus3) {
  // A copy of the program beside an overlay that lacks the caption key.
  QTemporaryDir install;
  const QString exe = install.filePath(QStringLiteral("seaclone"));
  ASSERT_TRUE(QFile::copy(kProgram, exe));
  QFile source(QStringLiteral(SEACLONE_BIN_DIR "/TB58.OVL"));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  QByteArray overlay = source.readAll();
  const qsizetype at = overlay.indexOf("#GI_Sys_AppTitle\n");
  ASSERT_GE(at, 0);
  const qsizetype next = overlay.indexOf("\n#", at + 1);
  overlay.remove(at, next + 1 - at);
  ASSERT_EQ(overlay.indexOf("GI_Sys_AppTitle"), -1);
  QFile broken(install.filePath(QStringLiteral("TB58.OVL")));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write(overlay);
  broken.close();
  ASSERT_TRUE(QFile::copy(QStringLiteral(SEACLONE_BIN_DIR "/TB58H.OVL"),
                          install.filePath(QStringLiteral("TB58H.OVL"))));

  QProcess& p = Start(300, exe);
  ExpectExit(p, 3);
  EXPECT_TRUE(p.readAllStandardError().contains("GI_Sys_AppTitle"));
  // A fatal stop saves nothing.
  EXPECT_FALSE(QFile::exists(Settings()));
}

}  // namespace
