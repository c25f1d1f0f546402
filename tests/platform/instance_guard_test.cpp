// The single-instance guard on lock files in a private folder.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

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

TEST(InstanceGuardRuntimeFolder, IsTheUsersRuntimeFolder) {
  // The test main points XDG_RUNTIME_DIR at a temporary folder.
  const std::string folder = InstanceGuard::RuntimeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(QDir(QString::fromStdString(folder)).absolutePath(),
            QDir(qEnvironmentVariable("XDG_RUNTIME_DIR")).absolutePath());
  EXPECT_TRUE(QDir(QString::fromStdString(folder)).exists());
}

}  // namespace
