// SPDX-License-Identifier: GPL-3.0-or-later
// The steps of a safe save on this system, and the watch that tests use to
// make one of them fail.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_sync.h"
#include "platform/temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::FileStep;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class FileSync : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.IsValid()); }
  fs::path In(const char* name) const { return fs::path(dir.Path()) / name; }
  platform::TemporaryFolder dir{"seaclone-sync"};
};

TEST_F(FileSync, EveryStepOfASaveWorksOnThisSystem) {
  const fs::path target = In("keep.dat");
  const fs::path fresh = In("keep.dat.1.tmp");
  Put(target, "old");
  Put(fresh, "taken");
  // A name that is taken is never opened for a new file.
  errno = 0;
  EXPECT_EQ(platform::CreateNewFile(fresh), nullptr);
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(Contents(fresh), "taken");
  fs::remove(fresh);

  std::FILE* file = platform::CreateNewFile(fresh);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(platform::WriteToFile(file, "new"));
  EXPECT_TRUE(platform::FlushFile(file));
  EXPECT_TRUE(platform::SyncToDisk(file));
  EXPECT_TRUE(platform::CloseFile(file));
  std::error_code error;
  EXPECT_TRUE(platform::MoveIntoPlace(fresh, target, error)) << error.message();
  EXPECT_EQ(Contents(target), "new");
  EXPECT_FALSE(fs::exists(fresh));

  // A file that went away in between: the target stays, and the error says why.
  EXPECT_FALSE(platform::MoveIntoPlace(fresh, target, error));
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_EQ(Contents(target), "new");
}

TEST_F(FileSync, AFileSystemThatCannotSyncIsNoFailure) {
  // A pipe stands for the devices and file systems without a cache to push.
  const fs::path pipe = In("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::FILE* file = std::fopen(pipe.c_str(), "r+");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(platform::SyncToDisk(file));
  EXPECT_TRUE(platform::CloseFile(file));
}

class FailOne : public platform::FileStepWatch {
 public:
  explicit FailOne(FileStep step) : step_(step), previous_(platform::SetFileStepWatch(this)) {}
  ~FailOne() override { platform::SetFileStepWatch(previous_); }
  bool Allow(FileStep step) override { return step != step_; }

 private:
  FileStep step_;
  platform::FileStepWatch* previous_;
};

TEST_F(FileSync, AWatchedStepFailsAsTheSystemWould) {
  const fs::path path = In("watched.dat");
  struct Case {
    const char* what;
    FileStep step;
    const char* kept;  // what reached the file
  };
  // A refused write keeps part of its bytes, as a disk that fills up does;
  // a refused close still closes, so nothing is left open.
  const Case cases[] = {
      {"write", FileStep::kWrite, "ab"},
      {"flush", FileStep::kFlush, "abcd"},
      {"sync", FileStep::kSync, "abcd"},
      {"close", FileStep::kClose, "abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(path);
    std::FILE* file = platform::CreateNewFile(path);
    ASSERT_NE(file, nullptr);
    bool ok = true;
    {
      FailOne watch(c.step);
      ok = platform::WriteToFile(file, "abcd") && ok;
      ok = platform::FlushFile(file) && ok;
      ok = platform::SyncToDisk(file) && ok;
      ok = platform::CloseFile(file) && ok;
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(Contents(path), c.kept);
  }

  Put(path, "old");
  Put(In("new.tmp"), "new");
  FailOne watch(FileStep::kRename);
  std::error_code error;
  EXPECT_FALSE(platform::MoveIntoPlace(In("new.tmp"), path, error));
  EXPECT_TRUE(error);
  EXPECT_EQ(Contents(path), "old");
  EXPECT_EQ(Contents(In("new.tmp")), "new");
}

}  // namespace
