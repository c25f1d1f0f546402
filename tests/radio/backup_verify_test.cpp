// SPDX-License-Identifier: GPL-3.0-or-later
// The backup every clone read leaves, and the read-back check after a
// write, at the document level on the scripted line.
#include "document_test_support.h"
#include "support/codes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <ostream>

#include "radio/read_backup.h"
#include "radio/write_verify.h"

namespace {

using doctest::DocumentWorld;

class BackupVerify : public DocumentWorld {
 protected:
  void SetUp() override {
    DocumentWorld::SetUp();
    ASSERT_TRUE(backups.isValid());
    folder = backups.path().toStdString() + "/kept";
    ::setenv("SEACLONE_BACKUP_DIR", folder.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("SEACLONE_BACKUP_DIR");
    DocumentWorld::TearDown();
  }
  QStringList Kept() const { return QDir(QString::fromStdString(folder)).entryList(QDir::Files); }

  QTemporaryDir backups;
  std::string folder;
};

TEST_F(BackupVerify, ReadKeepsTheImageAsTheRadioSentIt) {
  // A byte the normalisation after loading replaces: the backup must hold
  // the radio's own.
  radio.image.SetByte(memmap::kFromInitial949, 0x5A);
  auto doc = MakeDocument();
  ASSERT_EQ(Run(*doc, &cmcDocument::CloneRead), 0);
  EXPECT_EQ(messages.Count(), 0) << messages.Last().text;
  const QStringList kept = Kept();
  ASSERT_EQ(kept.size(), 1);
  EXPECT_TRUE(kept[0].endsWith("_model-0_TEST-COMMENT.dat")) << kept[0].toStdString();

  cmcEeprom image;
  ASSERT_EQ(Num(cmcDocument::ReadChecked(folder + "/" + kept[0].toStdString(), image)), 0);
  for (int a = memmap::kFileFirst; a <= memmap::kFileLast; ++a)
    ASSERT_EQ(image.GetByte(a), radio.image.GetByte(a)) << "address " << a;

  // A second read within the same second keeps both.
  ASSERT_EQ(Run(*doc, &cmcDocument::CloneRead), 0);
  EXPECT_EQ(Kept().size(), 2);
}

TEST_F(BackupVerify, FailedReadKeepsNoBackup) {
  radio.silentOnRead = true;
  auto doc = MakeDocument();
  EXPECT_NE(Run(*doc, &cmcDocument::CloneRead), 0);
  EXPECT_TRUE(Kept().isEmpty());
}

TEST_F(BackupVerify, BackupThatCannotBeWrittenIsSaidOnceAndTheReadStands) {
  // A file where the folder should be.
  QFile blocker(QString::fromStdString(folder));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  auto doc = MakeDocument();
  ASSERT_EQ(Run(*doc, &cmcDocument::CloneRead), 0);
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text, "backup failed in " + folder + "/");
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->Working().GetByte(5), radio.image.GetByte(5));
}

struct VerifyCase {
  const char* name;
  bool verify;
  int storeWrongAt;
  int status;
  const char* message;  // the last message
  // The radio reports a dealer block older than ours, so the write sends
  // the active dealer copy as a second range.
  bool olderDealer = false;
};

// Failures name the case, not its bytes.
void PrintTo(const VerifyCase& c, std::ostream* os) { *os << c.name; }

class VerifyAfterWrite : public BackupVerify, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(VerifyAfterWrite, ComparesWhatWasWrittenWithWhatReadsBack) {
  const VerifyCase& c = GetParam();
  radio.keepsWrites = true;
  radio.storeWrongAt = c.storeWrongAt;
  if (c.olderDealer) radio.payload[27] = 0x10;
  auto doc = MakeDocument();
  doc->SetVerifyAfterWrite(c.verify);
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneWrite), c.status);
  const std::uint8_t sent = radio.written.GetByte(c.storeWrongAt < 0 ? 0 : c.storeWrongAt);
  EXPECT_EQ(radio.readRequests, c.verify ? 1 : 0);
  std::string expected = c.message;
  if (c.status != 0) {
    char bytes[16];
    std::snprintf(bytes, sizeof bytes, "%02X read %02X", sent, sent ^ 1);
    expected += bytes;
  }
  EXPECT_EQ(messages.Last().text, expected);
  // The read-back is no clone read: it leaves no backup and the document
  // as the write left it.
  EXPECT_TRUE(Kept().isEmpty());
}

const VerifyCase kVerifyCases[] = {
    {"Agrees", true, -1, 0, "write ok"},
    {"ChannelByteDiffers", true, 0x1C5, 18, "verify failed at 1C5 (unshown plan INT entry 5): "},
    {"FreeChannelDiffers", true, 0x70B, 18, "verify failed at 70B (free 1 byte 3): "},
    {"SettingsDiffer", true, 0x9C3, 18, "verify failed at 9C3 (area4): "},
    // The ends of each range sent.
    {"FirstWrittenByteDiffers", true, 0x000, 18,
     "verify failed at 000 (unshown plan USA entry 0): "},
    {"LastWrittenByteDiffers", true, 0x9FF, 18, "verify failed at 9FF (area4): "},
    {"FirstDealerByteDiffers", true, 0xA40, 18, "verify failed at A40 (area6): ", true},
    {"LastDealerByteDiffers", true, 0xB7F, 18, "verify failed at B7F (area6): ", true},
    // Bytes this write did not send are the radio's business.
    {"UnsentByteDiffers", true, 0xB00, 0, "write ok"},
    {"OffReadsNothingBack", false, 0x1C5, 0, "write ok"},
};

INSTANTIATE_TEST_SUITE_P(Cases, VerifyAfterWrite, ::testing::ValuesIn(kVerifyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BackupNames, CarryDateModelAndAPlainComment) {
  struct Case {
    const char* comment;
    const char* name;
  } cases[] = {
      {"MY BOAT", "2024-05-01_14-03-27_USA_MY-BOAT.dat"},
      {"  ../a/b  ", "2024-05-01_14-03-27_USA_a-b.dat"},
      {"*?:<>|", "2024-05-01_14-03-27_USA.dat"},
      {"", "2024-05-01_14-03-27_USA.dat"},
      {"x_y\xE9z", "2024-05-01_14-03-27_USA_x-y-z.dat"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(backup::FileName("2024-05-01_14-03-27", "USA", c.comment), c.name) << c.comment;
  EXPECT_EQ(backup::Sanitise("United Kingdom"), "United-Kingdom");
}

}  // namespace
