// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include "support/codes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/file_sync.h"
#include "platform/message_box.h"
#include "support/disk_squeeze.h"
#include "support/scripted_questions.h"
#include "text/gtex.h"

using namespace memmap;

namespace {

struct Shown {
  std::string text;
  std::string caption;
  unsigned style;
};

class Recorder : public platform::MessageResponder {
 public:
  int Show(const std::string& text, const std::string& caption, unsigned style) override {
    shown.push_back({text, caption, style});
    return platform::kIdOk;
  }
  std::vector<Shown> shown;
};

// A pattern that gives every byte of the file range a value of its own.
void FillPattern(cmcEeprom& image, unsigned seed) {
  for (int a = 0; a < image.Size(); ++a)
    image.SetByte(a, static_cast<std::uint8_t>((a * 31 + seed * 17 + (a >> 8)) & 0xFF));
}

std::string DataLine(const cmcEeprom& image, int a, int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X%02X", a, n);
  std::string line = buf;
  for (int i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", image.GetByte(a + i));
    line += buf;
  }
  return line;
}

class CloneFileTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(table.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
    previousTable = gGTex;
    gGTex = &table;
    previousResponder = platform::SetMessageResponder(&recorder);
    source.SetSize(kImageSize);
    FillPattern(source, 1);
  }
  void TearDown() override {
    platform::SetMessageResponder(previousResponder);
    gGTex = previousTable;
  }

  std::string Path(const std::string& name) const {
    return dir.filePath(QString::fromStdString(name)).toStdString();
  }

  std::string Save(const std::string& name, const std::string& content) const {
    const std::string path = Path(name);
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content.data(), static_cast<qint64>(content.size()));
    return path;
  }

  static std::string Load(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
  }

  // The data lines of a complete file for `source`.
  std::vector<std::string> GoodLines() const {
    std::vector<std::string> lines;
    for (int a = kFileFirst; a <= kFileLast; a += 16) lines.push_back(DataLine(source, a, 16));
    return lines;
  }
  static std::string Join(const std::string& head, const std::vector<std::string>& lines,
                          const char* end = "\r\n") {
    std::string text = head;
    for (const std::string& l : lines) text += l + end;
    return text;
  }
  static std::string Head(const char* header = "58160001", const char* mapRev = "#MapRev=1") {
    return std::string(header) + "\r\n#Comment=Harbour\r\n" + mapRev + "\r\n";
  }

  void Configure(cmcCloneFile& file, cmcEeprom* image) const {
    file.Attach(image);
    file.SetModelCode(kModelCode);
    file.SetExtraCode(kExtraCode);
    file.SetMapRevision(kMapRevision);
    file.SetMapRevisionCheck(&cmcCloneFile::AcceptRevisionOne, nullptr);
  }

  std::string ExpectedMessage(const char* key) {
    return table.Block("GI_Mess_FileErr_Headline") + "\n\n" + table.Block(key);
  }

  QTemporaryDir dir;
  cmcGTex table;
  cmcGTex* previousTable = nullptr;
  Recorder recorder;
  platform::MessageResponder* previousResponder = nullptr;
  testsupport::ScriptedQuestions questions{recorder};
  cmcEeprom source;
};

TEST_F(CloneFileTest, WriteGivesTheDocumentedLayoutAndReadsBackIdentically) {
  source.WriteBlock(kComment, "Harbour\tboat \x01  ", 16);
  cmcCloneFile writer;
  Configure(writer, &source);
  writer.SetComment(cmcCloneFile::CommentFromImage(source));
  const std::string path = Path("out.dat");
  ASSERT_EQ(Num(writer.Write(path, cmcCloneFile::StandardRanges())), 0);
  EXPECT_TRUE(recorder.shown.empty());

  const QString text = QString::fromStdString(Load(path));
  ASSERT_TRUE(text.endsWith("\r\n"));
  QStringList lines = text.split("\r\n");
  lines.removeLast();
  ASSERT_EQ(lines.size(), 3 + 207);
  EXPECT_EQ(lines[0], "58160001");
  EXPECT_EQ(lines[1], "#Comment=Harbour boat");
  EXPECT_EQ(lines[2], "#MapRev=1");
  for (int i = 3; i < lines.size(); ++i) ASSERT_EQ(lines[i].size(), 38) << i;
  EXPECT_TRUE(lines[3].startsWith("000010"));
  EXPECT_TRUE(lines.last().startsWith("0CE010"));

  for (unsigned seed : {1u, 2u, 3u}) {
    FillPattern(source, seed);
    ASSERT_EQ(Num(writer.Write(path, cmcCloneFile::StandardRanges())), 0);
    cmcEeprom back(kImageSize);
    cmcCloneFile reader;
    Configure(reader, &back);
    ASSERT_EQ(Num(reader.Read(path, &cmcCloneFile::StandardRanges())), 0);
    EXPECT_EQ(reader.MapRevision(), 1);
    for (int a = 0; a < kImageSize; ++a)
      ASSERT_EQ(back.GetByte(a), a <= kFileLast ? source.GetByte(a) : 0) << std::hex << a;
  }
}

TEST_F(CloneFileTest, DataLinesAlignToTheRecordLength) {
  cmcCloneFile writer;
  Configure(writer, &source);
  const std::string path = Path("ranges.dat");
  // A range that starts and ends inside a record, then one that is outside
  // the image: writing stops there without an error.
  const clsAddrRangeList ranges = {{0x05, 0x28}, {0x100, 0x100}, {0xF00, 0xF10}, {0x200, 0x210}};
  ASSERT_EQ(Num(writer.Write(path, ranges)), 0);
  const std::string expected = "58160001\r\n#Comment=\r\n#MapRev=1\r\n" +
                               DataLine(source, 0x05, 11) + "\r\n" + DataLine(source, 0x10, 16) +
                               "\r\n" + DataLine(source, 0x20, 9) + "\r\n" +
                               DataLine(source, 0x100, 1) + "\r\n";
  EXPECT_EQ(Load(path), expected);
}

TEST_F(CloneFileTest, EveryMalformedFileGetsItsCodeAndChangesNothing) {
  const std::vector<std::string> good = GoodLines();
  auto without = [&](std::size_t drop) {
    std::vector<std::string> l = good;
    l.erase(l.begin() + static_cast<long>(drop));
    return l;
  };
  auto with = [&](std::size_t at, const std::string& line) {
    std::vector<std::string> l = good;
    l.insert(l.begin() + static_cast<long>(at), line);
    return l;
  };
  std::string noFinalEnd = Join(Head(), good);
  noFinalEnd.resize(noFinalEnd.size() - 2);

  // Out of order and overlapping: an early line for 0x000 is overwritten by
  // the complete set that follows, in reverse order.
  std::vector<std::string> reversed(good.rbegin(), good.rend());
  // A whole line whose count was damaged to one byte less.
  std::string countLow = DataLine(source, 0x100, 16);
  countLow.replace(4, 2, "0F");
  reversed.insert(reversed.begin(), "000004DEADBEEF");

  struct Case {
    const char* what;
    std::string content;
    int code;
    const char* key;
  };
  const Case cases[] = {
      {"complete file", Join(Head(), good), 0, nullptr},
      {"line feeds only, lower-case hex", Join("58160001\n#MapRev=1\n", good, "\n"), 0, nullptr},
      {"lines out of order and overlapping", Join(Head(), reversed), 0, nullptr},
      {"MapRev later in a comment line", Join(Head("58160001", "#23456781 MapRev="), good), 0,
       nullptr},
      {"non-decimal header digit", Join(Head("5816000A"), good), 6, "GI_Mess_FileErr_Format"},
      {"9-character header", Join(Head("581600010"), good), 6, "GI_Mess_FileErr_Format"},
      {"7-character header", Join(Head("5816001"), good), 6, "GI_Mess_FileErr_Format"},
      {"empty file", "", 6, "GI_Mess_FileErr_Format"},
      {"other model code", Join(Head("58170001"), good), 3, "GI_Mess_FileErr_Model"},
      {"other extra code", Join(Head("58160002"), good), 4, "GI_Mess_FileErr_Extra"},
      {"map revision 2", Join(Head("58160001", "#MapRev=2"), good), 5, "GI_Mess_FileErr_MapRev"},
      {"no map revision line", Join("58160001\r\n#Comment=x\r\n", good), 5,
       "GI_Mess_FileErr_MapRev"},
      {"MapRev after the ninth character", Join(Head("58160001", "#Comment=MapRev=1"), good), 5,
       "GI_Mess_FileErr_MapRev"},
      {"blank data line", Join(Head(), with(10, "")), 6, "GI_Mess_FileErr_Format"},
      {"15-byte line", Join(Head(), with(0, DataLine(source, 0, 16).substr(0, 36))), 6,
       "GI_Mess_FileErr_Format"},
      {"count says more than the line holds", Join(Head(), with(0, "000002AA")), 6,
       "GI_Mess_FileErr_Format"},
      {"count says less than the line holds", Join(Head(), with(0, countLow)), 6,
       "GI_Mess_FileErr_Format"},
      {"one byte more than the count", Join(Head(), with(3, "000001AABB")), 6,
       "GI_Mess_FileErr_Format"},
      {"non-hexadecimal character", Join(Head(), with(3, "000001G0")), 6, "GI_Mess_FileErr_Format"},
      {"line too long", Join(Head(), with(3, "0000FF" + std::string(512, '0'))), 6,
       "GI_Mess_FileErr_Format"},
      {"last line without a line end", noFinalEnd, 6, "GI_Mess_FileErr_Format"},
      {"address outside the image", Join(Head(), with(5, "0ED30201FF")), 8, "GI_Mess_FileErr_Data"},
      {"address outside the required range", Join(Head(), with(207, DataLine(source, 0xCF0, 16))),
       8, "GI_Mess_FileErr_Data"},
      {"data stops at 0CDF", Join(Head(), without(206)), 7, "GI_Mess_FileErr_Coverage"},
      {"a line missing in the middle", Join(Head(), without(100)), 7, "GI_Mess_FileErr_Coverage"},
  };

  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder.shown.clear();
    const std::string path = Save("case" + std::to_string(n++) + ".dat", c.content);
    cmcEeprom image(kImageSize);
    image.Fill(0xC3);
    const cmcEeprom before = image;
    cmcCloneFile reader;
    Configure(reader, &image);
    EXPECT_EQ(Num(reader.Read(path, &cmcCloneFile::StandardRanges())), c.code);
    if (c.code == 0) {
      EXPECT_TRUE(recorder.shown.empty());
      for (int a = 0; a <= kFileLast; ++a)
        ASSERT_EQ(image.GetByte(a), source.GetByte(a)) << std::hex << a;
      EXPECT_EQ(image.GetByte(kFileEnd), 0xC3);
    } else {
      EXPECT_TRUE(image.Equals(before));
      ASSERT_EQ(recorder.shown.size(), 1u);
      EXPECT_EQ(recorder.shown[0].text, ExpectedMessage(c.key));
      EXPECT_EQ(recorder.shown[0].caption, table.Text("GI_Sys_AppTitle"));
      EXPECT_EQ(recorder.shown[0].style, platform::kMbOk | platform::kMbIconExclamation);
    }
  }
}

TEST_F(CloneFileTest, MissingFileAndUnattachedReader) {
  cmcEeprom image(kImageSize);
  cmcCloneFile reader;
  Configure(reader, &image);
  EXPECT_EQ(Num(reader.Read(Path("nope.dat"), nullptr)), 1);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].text, ExpectedMessage("GI_Mess_FileErr_FileOpen"));
  // A folder is not a file, on either side.
  EXPECT_EQ(Num(reader.Read(dir.path().toStdString(), nullptr)), 1);
  EXPECT_EQ(Num(reader.Write(dir.path().toStdString(), cmcCloneFile::StandardRanges())), 1);
  EXPECT_TRUE(QFileInfo(dir.path()).isDir());
  // A device that never ends a line is refused instead of read forever.
  if (QFileInfo::exists("/dev/zero")) {
    EXPECT_EQ(Num(reader.Read("/dev/zero", nullptr)), 6);
  }
  // A pipe nobody writes to is refused at once instead of waited on.
  const std::string pipe = Path("pipe.dat");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(Num(reader.Read(pipe, nullptr)), 1);
  const std::string endlessComment =
      Save("comment.dat", Head() + "#" + std::string(100'000, 'x') + "\r\n");
  EXPECT_EQ(Num(reader.Read(endlessComment, nullptr)), 6);

  cmcCloneFile detached;
  EXPECT_EQ(Num(detached.Read(Path("nope.dat"), nullptr)), 1);
  EXPECT_EQ(Num(detached.Write(Path("nope.dat"), cmcCloneFile::StandardRanges())), 1);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(Path("nope.dat"))));
}

TEST_F(CloneFileTest, CoverageIsLeftToTheCallerWithoutARangeList) {
  std::vector<std::string> partial = GoodLines();
  partial.resize(10);
  partial.push_back(DataLine(source, 0xCF0, 16));
  const std::string path = Save("partial.dat", Join(Head(), partial));
  cmcEeprom image(kImageSize);
  cmcCloneFile reader;
  Configure(reader, &image);
  ASSERT_EQ(Num(reader.Read(path, nullptr)), 0);
  EXPECT_EQ(Num(reader.CheckCoverage(cmcCloneFile::StandardRanges())), 8);
  EXPECT_EQ(Num(reader.CheckCoverage({{0x000, 0x09F}, {0xCF0, 0xCFF}})), 0);
  EXPECT_EQ(Num(reader.CheckCoverage({{0x000, 0x09F}, {0xCF0, 0xD0F}})), 7);
  // The list ends at its first reversed pair.
  EXPECT_EQ(Num(reader.CheckCoverage({{0x000, 0x09F}, {1, 0}, {0xCF0, 0xCFF}})), 8);
  EXPECT_EQ(Num(reader.CheckCoverage({})), 7);
  EXPECT_EQ(Num(reader.CheckCoverage({{0xF00, 0xF10}})), 7);

  // An image too small for the standard range: an empty file is not complete.
  cmcEeprom small(16);
  const std::string empty = Save("empty.dat", Head());
  cmcCloneFile smallReader;
  Configure(smallReader, &small);
  EXPECT_EQ(Num(smallReader.Read(empty, &cmcCloneFile::StandardRanges())), 7);
  recorder.shown.clear();
  EXPECT_TRUE(recorder.shown.empty());
}

// Fails the n-th write, or the commit, on top of the real atomic sink.
class FailingSink : public cmcCloneSink {
 public:
  FailingSink(int failWrite, bool failCommit)
      : real_(MakeSaveFileSink()), failWrite_(failWrite), failCommit_(failCommit) {}
  bool Open(const std::string& path) override { return real_->Open(path); }
  bool Write(std::string_view bytes) override {
    if (++writes_ == failWrite_) {
      // Half the text reaches the disk before the disk is full.
      real_->Write(bytes.substr(0, bytes.size() / 2));
      return false;
    }
    return real_->Write(bytes);
  }
  bool Commit() override {
    if (failCommit_) {
      real_->Discard();
      return false;
    }
    return real_->Commit();
  }
  void Discard() override { real_->Discard(); }

 private:
  std::unique_ptr<cmcCloneSink> real_;
  int failWrite_;
  bool failCommit_;
  int writes_ = 0;
};

using platform::FileStep;

// Records the steps of every save while it is in place, and fails the n-th
// step of one kind.
class StepWatch : public platform::FileStepWatch {
 public:
  explicit StepWatch(std::optional<FileStep> failing = std::nullopt, int nth = 1)
      : failing_(failing), nth_(nth), previous_(platform::SetFileStepWatch(this)) {}
  ~StepWatch() override { platform::SetFileStepWatch(previous_); }
  bool Allow(FileStep step) override {
    steps.push_back(step);
    return !(step == failing_ && ++seen_ == nth_);
  }
  std::vector<FileStep> steps;

 private:
  std::optional<FileStep> failing_;
  int nth_;
  int seen_ = 0;
  platform::FileStepWatch* previous_;
};

TEST_F(CloneFileTest, AFailedWriteKeepsTheOldFile) {
  // The file has a header write and 207 data lines.
  struct Case {
    const char* what;
    FileStep step;
    int nth;
  };
  const Case cases[] = {
      {"header", FileStep::kWrite, 1},
      {"a data line", FileStep::kWrite, 50},
      {"the last line", FileStep::kWrite, 208},
      {"flush", FileStep::kFlush, 1},
      {"sync", FileStep::kSync, 1},
      {"close", FileStep::kClose, 1},
      {"rename", FileStep::kRename, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder.shown.clear();
    const std::string path = Save("keep.dat", "the user's old file\r\n");
    cmcCloneFile writer;
    Configure(writer, &source);
    StepWatch watch(c.step, c.nth);
    EXPECT_EQ(Num(writer.Write(path, cmcCloneFile::StandardRanges())), 2);
    EXPECT_EQ(Load(path), "the user's old file\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.dat"});
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, ExpectedMessage("GI_Mess_FileErr_FileAccess"));
  }
  // A sink of the caller's that fails at the end is reported the same way.
  FailingSink failing(0, true);
  cmcCloneFile writer;
  Configure(writer, &source);
  writer.SetSink(&failing);
  EXPECT_EQ(Num(writer.Write(Path("keep.dat"), cmcCloneFile::StandardRanges())), 2);
  EXPECT_EQ(Load(Path("keep.dat")), "the user's old file\r\n");
}

TEST_F(CloneFileTest, ASavedFileIsOnTheDiskBeforeItTakesTheOldOnesPlace) {
  const std::string path = Save("keep.dat", "the user's old file\r\n");
  cmcCloneFile writer;
  Configure(writer, &source);
  StepWatch watch;
  ASSERT_EQ(Num(writer.Write(path, cmcCloneFile::StandardRanges())), 0);
  EXPECT_EQ(Load(path).substr(0, 10), "58160001\r\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.dat"});
  // After the last write: everything out of the C library, then out of the
  // system's cache, closed, and only then renamed over the old file.
  const auto lastWrite = std::find(watch.steps.rbegin(), watch.steps.rend(), FileStep::kWrite);
  ASSERT_NE(lastWrite, watch.steps.rend());
  EXPECT_EQ(std::vector<FileStep>(lastWrite.base(), watch.steps.end()),
            (std::vector<FileStep>{FileStep::kFlush, FileStep::kSync, FileStep::kClose,
                                   FileStep::kRename}));
}

TEST_F(CloneFileTest, ASaveThatRunsOutOfRoomKeepsTheOldFile) {
  const std::string old = "the user's old file\r\n";
  for (const testsupport::Squeeze& squeeze : testsupport::kSqueezes) {
    SCOPED_TRACE(squeeze.what);
    recorder.shown.clear();
    const QString folder = dir.filePath(squeeze.what);
    ASSERT_TRUE(QDir().mkpath(folder));
    const testsupport::Undo undo = squeeze.apply(folder);
    if (!undo) {
      ADD_FAILURE() << "cannot set up " << squeeze.what << " here";
      continue;
    }
    const std::string path = (folder + "/keep.dat").toStdString();
    {
      QFile f(QString::fromStdString(path));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(old.data(), static_cast<qint64>(old.size()));
    }
    cmcCloneFile writer;
    Configure(writer, &source);
    const int code = Num(writer.Write(path, cmcCloneFile::StandardRanges()));
    const std::string after = Load(path);
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    undo();
    EXPECT_EQ(code, 2);
    EXPECT_EQ(after, old);
    EXPECT_EQ(entries, QStringList{"keep.dat"});
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, ExpectedMessage("GI_Mess_FileErr_FileAccess"));
  }
}

TEST_F(CloneFileTest, OnlyARegularFileIsReplaced) {
  // Each maker returns the node's path, or "" when it cannot be made here.
  struct Case {
    const char* what;
    std::function<std::string(const std::string& path)> make;
    std::filesystem::file_type type;
  };
  const Case cases[] = {
      {"folder",
       [](const std::string& p) { return QDir().mkdir(QString::fromStdString(p)) ? p : ""; },
       std::filesystem::file_type::directory},
      {"pipe", [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0 ? p : ""; },
       std::filesystem::file_type::fifo},
      {"device",
       [](const std::string& p) {
         // The same device as /dev/null, made here so that nothing of the
         // system is at stake.
         return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? p : "";
       },
       std::filesystem::file_type::character},
      {"socket",
       [](const std::string& p) {
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         if (p.size() >= sizeof address.sun_path) return std::string();
         std::copy(p.begin(), p.end(), address.sun_path);
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         const bool bound =
             fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
         if (fd >= 0) ::close(fd);
         return bound ? p : std::string();
       },
       std::filesystem::file_type::socket},
      {"link to a pipe",
       [](const std::string& p) {
         const std::string pipe = p + ".fifo";
         return ::mkfifo(pipe.c_str(), 0600) == 0 && ::symlink(pipe.c_str(), p.c_str()) == 0 ? p
                                                                                             : "";
       },
       std::filesystem::file_type::fifo},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder.shown.clear();
    const QString folder = dir.filePath(QString::number(n++));
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::string path = c.make((folder + "/node").toStdString());
    if (path.empty()) {
      std::printf("cannot make a %s here; not tried\n", c.what);
      continue;
    }
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::System |
                                                      QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(Num(cmcCloneFile::CheckSaveTarget(path)), 1);
    cmcCloneFile writer;
    Configure(writer, &source);
    EXPECT_EQ(Num(writer.Write(path, cmcCloneFile::StandardRanges())), 1);
    EXPECT_EQ(std::filesystem::status(path).type(), c.type);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                     QDir::NoDotAndDotDot),
              before);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, ExpectedMessage("GI_Mess_FileErr_FileOpen"));
  }
  // What may be saved onto: nothing yet, or a regular file.
  EXPECT_EQ(Num(cmcCloneFile::CheckSaveTarget(Path("new.dat"))), 0);
  EXPECT_EQ(Num(cmcCloneFile::CheckSaveTarget(Save("old.dat", "old"))), 0);
}

TEST_F(CloneFileTest, NamesThatAreNotUtf8ReachTheSystemAsTheyAre) {
  // Latin-1 "old\xe4.dat" is not UTF-8; a name decoded on the way would
  // become "old\xef\xbf\xbd.dat", and two such names would be one file.
  const std::string folder = dir.path().toStdString();
  const std::string first = folder + "/old\xe4.dat";
  const std::string second = folder + "/old\xf6.dat";
  cmcCloneFile writer;
  Configure(writer, &source);
  ASSERT_EQ(Num(writer.Write(first, cmcCloneFile::StandardRanges())), 0);
  FillPattern(source, 2);
  ASSERT_EQ(Num(writer.Write(second, cmcCloneFile::StandardRanges())), 0);

  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"old\xe4.dat", "old\xf6.dat"}));

  cmcEeprom back(kImageSize);
  cmcCloneFile reader;
  Configure(reader, &back);
  ASSERT_EQ(Num(reader.Read(second, &cmcCloneFile::StandardRanges())), 0);
  EXPECT_EQ(back.GetByte(0x123), source.GetByte(0x123));
  ASSERT_EQ(Num(reader.Read(first, &cmcCloneFile::StandardRanges())), 0);
  FillPattern(source, 1);
  EXPECT_EQ(back.GetByte(0x123), source.GetByte(0x123));
  EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(CloneFileTest, FileErrorMessagesAreWholeBlocks) {
  cmcGTex lines;
  ASSERT_TRUE(lines.Bind(SEACLONE_TEST_DATA "/clone/file_messages.ovl"));
  gGTex = &lines;
  const std::pair<int, std::string> cases[] = {
      {1, "Open first line\nOpen second line"},
      {2, "Access first line\nAccess second line\nAccess third line"},
      {3, "Model only line"},
      {8, "Data first line\nData second line"},
  };
  for (const auto& [code, body] : cases) {
    recorder.shown.clear();
    cmcCloneFile::ShowError(static_cast<CloneFileCode>(code));
    ASSERT_EQ(recorder.shown.size(), 1u) << code;
    EXPECT_EQ(recorder.shown[0].text, "Headline first line\nHeadline second line\n\n" + body)
        << code;
    EXPECT_EQ(recorder.shown[0].caption, "Seaclone Test") << code;
  }
  gGTex = &table;
}

// Makes a folder refuse new entries, or a file refuse writes, for as long as
// it lives: by its permissions, or, for a user that permissions do not stop
// (root), by the file system's immutable flag. Everything is undone on the
// way out.
class Locked {
 public:
  enum Kind { kFolder, kFile };
  Locked(const QString& path, Kind kind) : path_(path), kind_(kind) {
    QFile::setPermissions(path_, kind_ == kFolder ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                  : QFileDevice::ReadOwner);
    if (Refuses()) return;
#ifdef __linux__
    fd_ = ::open(path_.toLocal8Bit().constData(), O_RDONLY);
    int flags = 0;
    if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
      const int locked = flags | FS_IMMUTABLE_FL;
      if (::ioctl(fd_, FS_IOC_SETFLAGS, &locked) == 0) {
        immutable_ = true;
        flagsBefore_ = flags;
      }
    }
#endif
  }
  ~Locked() {
#ifdef __linux__
    if (immutable_) ::ioctl(fd_, FS_IOC_SETFLAGS, &flagsBefore_);
    if (fd_ >= 0) ::close(fd_);
#endif
    QFile::setPermissions(
        path_, kind_ == kFolder
                   ? QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                   : QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }
  bool Refuses() const {
    if (kind_ == kFile) return !QFile(path_).open(QIODevice::Append);
    QFile probe(path_ + "/probe");
    if (!probe.open(QIODevice::WriteOnly)) return true;
    probe.remove();
    return false;
  }

 private:
  QString path_;
  Kind kind_;
  int fd_ = -1;
  bool immutable_ = false;
  int flagsBefore_ = 0;
};

TEST_F(CloneFileTest, FolderThatRefusesNewFilesIsWrittenInPlace) {
  const QString sub = dir.filePath("locked");
  ASSERT_TRUE(QDir().mkpath(sub));
  for (const char* name : {"writable.dat", "refusing.dat"}) {
    QFile f(sub + "/" + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("old");
  }
  Locked folderLock(sub, Locked::kFolder);
  Locked fileLock(sub + "/refusing.dat", Locked::kFile);
  if (!folderLock.Refuses() || !fileLock.Refuses())
    GTEST_SKIP() << "cannot lock a folder or a file for this user here";

  struct Case {
    const char* name;
    int code;
    const char* startsWith;
  };
  // A file the user may write is saved in place, as a plain save would;
  // one that refuses writes as well stays as it was.
  const Case cases[] = {{"writable.dat", 0, "58160001\r\n"}, {"refusing.dat", 1, "old"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    recorder.shown.clear();
    cmcCloneFile writer;
    Configure(writer, &source);
    const std::string path = (sub + "/" + c.name).toStdString();
    EXPECT_EQ(Num(writer.Write(path, cmcCloneFile::StandardRanges())), c.code);
    EXPECT_TRUE(QString::fromStdString(Load(path)).startsWith(c.startsWith));
    EXPECT_EQ(recorder.shown.size(), c.code == 0 ? 0u : 1u);
  }
  EXPECT_EQ(QDir(sub).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"refusing.dat", "writable.dat"}));

  // In place, every failure is still reported.
  FailingSink failing(50, false);
  cmcCloneFile writer;
  Configure(writer, &source);
  writer.SetSink(&failing);
  EXPECT_EQ(
      Num(writer.Write((sub + "/writable.dat").toStdString(), cmcCloneFile::StandardRanges())), 2);
}

TEST_F(CloneFileTest, FileSystemThatRefusesEveryoneKeepsTheTarget) {
  // /proc refuses new files even to root, so this runs wherever the tests run.
  const std::string target = "/proc/version";
  const std::string before = Load(target);
  if (before == "<missing>") GTEST_SKIP() << "no /proc here";
  cmcCloneFile writer;
  Configure(writer, &source);
  EXPECT_EQ(Num(writer.Write(target, cmcCloneFile::StandardRanges())), 1);
  EXPECT_EQ(Load(target), before);
}

TEST_F(CloneFileTest, CommentFromImage) {
  cmcEeprom image(kImageSize);
  const struct {
    const char raw[17];
    const char* text;
  } cases[] = {
      {"                ", ""},
      {"Sea Breeze      ", "Sea Breeze"},
      {"a\nb\x7F"
       "c           ",
       "a b c"},
      {"0123456789ABCDEF", "0123456789ABCDEF"},
  };
  for (const auto& c : cases) {
    image.WriteBlock(kComment, c.raw, 16);
    EXPECT_EQ(cmcCloneFile::CommentFromImage(image), c.text);
  }
}

}  // namespace
