// SPDX-License-Identifier: GPL-3.0-or-later
// The document operations the program and seaclone-cli share: open with
// its checks, atomic save, model change, and what a clone read leaves.
#include "document_test_support.h"
#include "support/codes.h"

#include <fstream>
#include <iterator>

#include "platform/fatal.h"
#include "platform/temporary_folder.h"

namespace {

using doctest::DocumentWorld;

class DocumentTest : public DocumentWorld {
 protected:
  std::string Path(const char* name) { return data + name; }
};

TEST_F(DocumentTest, StartsAsAnUntitledCopyOfTheInitialImage) {
  auto doc = MakeDocument(4);
  EXPECT_EQ(doc->ModelType(), 4);
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_TRUE(doc->Working().Equals(doc->Initial()));
}

TEST_F(DocumentTest, FailedOpenLeavesTheDocumentAsItWas) {
  auto doc = MakeDocument();
  doc->Working().SetByte(0x10, 0x42);
  const cmcEeprom before = doc->Working();

  cmcEeprom unknown = doctest::RadioImage(13);
  ASSERT_EQ(doctest::WriteFile(Path("unknown.dat"), unknown), 0);
  ASSERT_TRUE(std::ofstream(Path("short.dat"), std::ios::binary)
              << "58160001\r\n#MapRev=1\r\n0000020102\r\n");

  const std::pair<std::string, int> cases[] = {
      {Path("none.dat"), 1}, {Path("short.dat"), 7}, {Path("unknown.dat"), 8}};
  for (const auto& [path, code] : cases) {
    messages.Clear();
    EXPECT_EQ(Num(doc->Open(path)), code) << path;
    EXPECT_EQ(messages.Count(), 1) << path;
    EXPECT_TRUE(doc->Working().Equals(before)) << path;
    EXPECT_TRUE(doc->IsUntitled()) << path;
    EXPECT_EQ(doc->ModelType(), 0) << path;
  }
}

TEST_F(DocumentTest, OpenTakesTheImageAndItsModel) {
  // Every model type the program supports, the highest ones included.
  for (int model : {6, 8, 12}) {
    SCOPED_TRACE(model);
    cmcEeprom image = doctest::RadioImage(model);
    image.SetByte(0x20, 0x44);
    ASSERT_EQ(doctest::WriteFile(Path("model.dat"), image), 0);
    auto doc = MakeDocument();
    EXPECT_EQ(Num(doc->Open(Path("model.dat"))), 0);
    EXPECT_EQ(messages.Count(), 0);
    EXPECT_EQ(doc->ModelType(), model);
    EXPECT_EQ(doc->FilePath(), Path("model.dat"));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->Working().GetByte(0x20) & memmap::kChEditable, 0x44 & memmap::kChEditable);
  }
}

TEST_F(DocumentTest, SaveWritesWhatOpenReadsBack) {
  auto doc = MakeDocument();
  doc->Working().WriteBlock(memmap::kComment, "MY BOAT\x01       ", 16);
  doc->Working().SetByte(0x30, 0x80);
  doc->UpdateModified();
  ASSERT_TRUE(doc->IsModified());
  ASSERT_EQ(Num(doc->SaveTo(Path("saved.dat"))), 0);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->FilePath(), Path("saved.dat"));

  std::ifstream f(Path("saved.dat"), std::ios::binary);
  ASSERT_TRUE(f);
  const std::string saved{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  EXPECT_EQ(saved.rfind("58160001\r\n#Comment=MY BOAT\r\n#MapRev=1\r\n", 0), 0u);

  auto other = MakeDocument();
  ASSERT_EQ(Num(other->Open(Path("saved.dat"))), 0);
  for (int a = 0; a <= memmap::kFileLast; ++a) {
    ASSERT_EQ(other->Working().GetByte(a), doc->Working().GetByte(a)) << std::hex << a;
  }
}

TEST_F(DocumentTest, FailedSaveKeepsTheNameAndTheOldFile) {
  auto doc = MakeDocument();
  ASSERT_EQ(Num(doc->SaveTo(Path("first.dat"))), 0);
  EXPECT_NE(Num(doc->SaveTo(Path("no/such/folder/x.dat"))), 0);
  EXPECT_EQ(messages.Count(), 1);
  EXPECT_EQ(doc->FilePath(), Path("first.dat"));
}

TEST_F(DocumentTest, ConfirmedModelChangeStartsFromTheNewInitialImage) {
  auto doc = MakeDocument();
  ASSERT_EQ(Num(doc->SaveTo(Path("named.dat"))), 0);
  messages.Answer(platform::kIdCancel);
  EXPECT_FALSE(doc->ChangeModel(3, true));
  EXPECT_EQ(doc->ModelType(), 0);

  EXPECT_TRUE(doc->ChangeModel(3, true));
  EXPECT_EQ(doc->ModelType(), 3);
  EXPECT_EQ(doc->Initial().GetByte(memmap::kModelByte), 3);
  EXPECT_TRUE(doc->Working().Equals(doc->Initial()));
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_FALSE(doc->ChangeModel(3, true));  // the same model: nothing happens
}

TEST_F(DocumentTest, RadioImageOfAHighModelTypeIsAccepted) {
  radio.image = doctest::RadioImage(8);
  radio.payload[21] = 8;
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 0);
  EXPECT_EQ(doc->ModelType(), 8);
}

TEST_F(DocumentTest, UnknownModelByteFromTheRadioKeepsTheCurrentModel) {
  // Only model types 0..12 have an initial image; a radio that reports
  // anything else must not stop the program.
  radio.image = doctest::RadioImage(200);
  auto doc = MakeDocument(2);
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 0);
  EXPECT_EQ(doc->ModelType(), 2);
  EXPECT_EQ(doc->Working().GetByte(memmap::kModelByte), 2);  // normalised to the model
}

// What the user confirmed goes to the radio, whatever becomes of the
// working image while the radio's information is awaited: another file
// opened meanwhile (of another model) changes neither the bytes sent nor
// the model they are judged against.
TEST_F(DocumentTest, WriteSendsTheImageConfirmedNotTheOneOpenedMeanwhile) {
  cmcEeprom other = doctest::RadioImage(1);
  other.WriteBlock(memmap::kComment, "OPENED LATER    ", 16);
  ASSERT_EQ(doctest::WriteFile(Path("other.dat"), other), 0);
  auto doc = MakeDocument(0);
  doc->Working().WriteBlock(memmap::kComment, "CONFIRMED       ", 16);
  doc->Working().SetByte(0x30, 0x44);
  doc->UpdateModified();

  messages.Answer(platform::kIdOk);
  int status = -1;
  ASSERT_EQ(doc->CloneWrite([&](CloneStatus s) { status = Num(s); }), cmcDocument::kStarted);
  ASSERT_EQ(Num(doc->Open(Path("other.dat"))), 0);
  ASSERT_EQ(doc->ModelType(), 1);
  time.AdvanceUntil([&] { return status >= 0; }, 120000);

  EXPECT_EQ(status, 0) << messages.Last().text;
  std::string comment(16, ' ');
  for (int i = 0; i < 16; ++i)
    comment[i] = static_cast<char>(radio.written.GetByte(memmap::kComment + i));
  EXPECT_EQ(comment, "CONFIRMED       ");
  EXPECT_EQ(radio.written.GetByte(memmap::kModelByte), 0);
  EXPECT_EQ(radio.written.GetByte(0x30) & memmap::kChEditable, 0x44 & memmap::kChEditable);
  // The file opened stays as it was opened.
  EXPECT_EQ(doc->Working().GetByte(memmap::kComment), 'O');
  EXPECT_FALSE(doc->IsModified());
}

}  // namespace

namespace {

TEST_F(DocumentTest, MissingInitialImageIsAnInstallationFault) {
  platform::TemporaryFolder empty("seaclone-test");
  platform::SetDataDirOverride(empty.Path() + "/");
  try {
    cmcDocument doc(0);
    ADD_FAILURE() << "a document without its initial image";
  } catch (const platform::FatalStop& stop) {
    EXPECT_NE(std::string(stop.what()).find("Cannot open '"), std::string::npos) << stop.what();
    EXPECT_NE(std::string(stop.what()).find("initial0.dat"), std::string::npos) << stop.what();
  }
  EXPECT_EQ(messages.Count(), 1);  // the file's own message came first
}

}  // namespace
