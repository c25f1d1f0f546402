// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance guard on lock files: in a private folder, and in the
// folder that belongs to the user whatever the environment says.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>

#include "platform/instance_guard.h"

using platform::InstanceGuard;

namespace {

constexpr char kName[] = "Zelm Pelna APP Exclusive Mutex";

class InstanceGuardTest : public ::testing::Test {
 protected:
  std::string Folder() const { return dir_.path().toStdString(); }
  QTemporaryDir dir_;
};

TEST_F(InstanceGuardTest, OnlyTheFirstHolderIsFirstUntilItGoes) {
  auto first = std::make_unique<InstanceGuard>(kName, Folder());
  EXPECT_TRUE(first->Created());
  EXPECT_TRUE(first->IsFirst());
  EXPECT_TRUE(QFile::exists(dir_.filePath(QStringLiteral("Zelm Pelna APP Exclusive Mutex.lock"))));

  InstanceGuard second(kName, Folder());
  EXPECT_TRUE(second.Created());
  EXPECT_FALSE(second.IsFirst());

  // Another name is another program.
  InstanceGuard other("Another Program", Folder());
  EXPECT_TRUE(other.IsFirst());

  first.reset();
  InstanceGuard third(kName, Folder());
  EXPECT_TRUE(third.IsFirst());
}

TEST_F(InstanceGuardTest, SecondCopyDoesNotTakeTheLockFromTheFirst) {
  InstanceGuard first(kName, Folder());
  { InstanceGuard second(kName, Folder()); }
  // The second copy's going must not have released the first one's lock.
  InstanceGuard third(kName, Folder());
  EXPECT_FALSE(third.IsFirst());
}

TEST_F(InstanceGuardTest, LockOfACrashedCopyIsTakenOver) {
  const std::string folder = Folder();
  // A child process takes the lock and dies without letting go of it.
  EXPECT_EXIT(
      {
        InstanceGuard crashed(kName, folder);
        std::_Exit(crashed.IsFirst() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  ASSERT_TRUE(QFile::exists(dir_.filePath(QStringLiteral("Zelm Pelna APP Exclusive Mutex.lock"))));

  InstanceGuard next(kName, folder);
  EXPECT_TRUE(next.IsFirst());
}

TEST_F(InstanceGuardTest, NamesWithSeparatorsStayInTheFolder) {
  InstanceGuard guard("Local\\Some/Mutex", Folder());
  EXPECT_TRUE(guard.IsFirst());
  EXPECT_TRUE(QFile::exists(dir_.filePath(QStringLiteral("Local_Some_Mutex.lock"))));
}

TEST_F(InstanceGuardTest, FolderThatCannotBeMadeMeansNoMarker) {
  QFile blocker(dir_.filePath(QStringLiteral("plain-file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  InstanceGuard guard(kName, dir_.filePath(QStringLiteral("plain-file/sub")).toStdString());
  EXPECT_FALSE(guard.Created());
  EXPECT_FALSE(guard.IsFirst());
}

TEST(InstanceGuardRuntimeFolder, TheTestsOwnFolderReplacesTheUsers) {
  // The test main points SEACLONE_LOCK_DIR at a temporary folder.
  const std::string folder = InstanceGuard::RuntimeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(QDir(QString::fromStdString(folder)).absolutePath(),
            QDir(qEnvironmentVariable(InstanceGuard::kFolderVariable)).absolutePath());
  EXPECT_TRUE(QDir(QString::fromStdString(folder)).exists());
}

// Sets (or, with nullptr, removes) an environment variable for one scope.
class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~EnvironmentVariable() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// Copies started by the same user from su, cron or an IDE see each other
// whatever their XDG_RUNTIME_DIR says.
TEST(InstanceGuardUserFolder, CopiesWithDifferentOrNoRuntimeDirSeeEachOther) {
  EnvironmentVariable noOverride(InstanceGuard::kFolderVariable, nullptr);
  QTemporaryDir a, b;
  // A name of its own, so that a real copy of the program is not disturbed.
  const std::string name = "Seaclone Lock Test " + std::to_string(::getpid());

  std::unique_ptr<InstanceGuard> first;
  std::string firstFolder;
  {
    EnvironmentVariable runtime("XDG_RUNTIME_DIR", a.path().toLocal8Bit().constData());
    firstFolder = InstanceGuard::RuntimeFolder();
    first = std::make_unique<InstanceGuard>(name);
  }
  ASSERT_FALSE(firstFolder.empty());
  EXPECT_FALSE(QString::fromStdString(firstFolder).startsWith(a.path()));
  ASSERT_TRUE(first->IsFirst());

  const QByteArray other = b.path().toLocal8Bit();
  for (const char* runtimeDir : {other.constData(), static_cast<const char*>(nullptr)}) {
    const std::string shown = runtimeDir ? runtimeDir : "(unset)";
    EnvironmentVariable runtime("XDG_RUNTIME_DIR", runtimeDir);
    EXPECT_EQ(InstanceGuard::RuntimeFolder(), firstFolder) << shown;
    InstanceGuard later(name);
    EXPECT_TRUE(later.Created()) << shown;
    EXPECT_FALSE(later.IsFirst()) << shown;
  }
  first.reset();
  QFile::remove(QString::fromStdString(firstFolder + "/" + name + ".lock"));
}

// Where the user's lock folder is, laid out under temporary roots: the
// runtime folder when it is the user's, else a private folder of the user's
// in the temporary root, never one that someone else could hold.
TEST(InstanceGuardUserFolder, RuntimeFolderOrAPrivateOneOfTheUsers) {
  const std::string uid = std::to_string(::getuid());
  constexpr uid_t kSomeoneElse = 65534;
  struct Case {
    const char* what;
    std::function<bool(const QString& run, const QString& temp)>
        layOut;            // false: cannot be laid out here
    const char* expected;  // "run", "temp" or "" (refused)
  };
  const auto own = [&](const QString& temp) {
    return temp + "/seaclone-" + QString::fromStdString(uid);
  };
  const Case cases[] = {
      {"runtime folder present",
       [&](const QString& run, const QString&) {
         return QDir(run).mkpath(QString::fromStdString(uid));
       },
       "run"},
      {"no runtime folder", [](const QString&, const QString&) { return true; }, "temp"},
      {"runtime folder of someone else",
       [&](const QString& run, const QString&) {
         const QByteArray path = (run + "/" + QString::fromStdString(uid)).toLocal8Bit();
         return ::getuid() == 0 && QDir(run).mkpath(QString::fromStdString(uid)) &&
                ::chown(path.constData(), kSomeoneElse, kSomeoneElse) == 0;
       },
       "temp"},
      {"private folder left open by the user",
       [&](const QString&, const QString& temp) {
         return ::mkdir(own(temp).toLocal8Bit().constData(), 0777) == 0 &&
                ::chmod(own(temp).toLocal8Bit().constData(), 0777) == 0;
       },
       "temp"},
      {"private folder of someone else",
       [&](const QString&, const QString& temp) {
         const QByteArray path = own(temp).toLocal8Bit();
         return ::getuid() == 0 && ::mkdir(path.constData(), 0700) == 0 &&
                ::chown(path.constData(), kSomeoneElse, kSomeoneElse) == 0;
       },
       ""},
      {"private folder's name taken by a link",
       [&](const QString&, const QString& temp) {
         return QDir(temp).mkpath("elsewhere") && QFile::link(temp + "/elsewhere", own(temp));
       },
       ""},
      {"private folder's name taken by a file",
       [&](const QString&, const QString& temp) {
         return QFile(own(temp)).open(QIODevice::WriteOnly);
       },
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir run, temp;
    if (!c.layOut(run.path(), temp.path())) {
      std::printf("skipped (needs root): %s\n", c.what);
      continue;
    }
    const std::string folder =
        InstanceGuard::UserFolder(run.path().toStdString(), temp.path().toStdString());
    const std::string expected =
        std::string(c.expected) == "run"    ? run.path().toStdString() + "/" + uid
        : std::string(c.expected) == "temp" ? own(temp.path()).toStdString()
                                            : std::string();
    EXPECT_EQ(folder, expected);
    if (std::string(c.expected) == "temp") {
      struct stat info {};
      ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
  }
}

}  // namespace
