// SPDX-License-Identifier: GPL-3.0-or-later
// The clone manager and the clone commands against a scripted radio on
// virtual time: each status the manager adds, the one message per failure,
// and what each command leaves behind.
#include "document_test_support.h"
#include "support/codes.h"

#include "radio/clone_man_ranges.h"
#include "radio/document_warning.h"

namespace {

using doctest::DocumentWorld;

class ScriptedMan : public DocumentWorld {};

TEST_F(ScriptedMan, InformationRecordsTheRadio) {
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneInformation), 0);
  EXPECT_EQ(messages.Count(), 0);
  EXPECT_EQ(doc->RadioInfo().value2, 1);
  EXPECT_EQ(doc->RadioInfo().Comment(), "RADIO COMMENT   ");
  EXPECT_EQ(line.Commands(), "E0");
  EXPECT_FALSE(line.isOpen);
}

TEST_F(ScriptedMan, ReadWithWrongValue2EndsWithStatus11AndNoReadRequest) {
  radio.value2 = 0;
  auto doc = MakeDocument();
  const cmcEeprom before = doc->Working();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 11);
  EXPECT_EQ(line.Commands(), "E0");
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text.substr(0, 5), "H11\n\n");
  EXPECT_TRUE(doc->Working().Equals(before));
}

TEST_F(ScriptedMan, PayloadWithByte2Not1IsStatus14) {
  radio.payload[2] = 0;
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 14);
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text, "H14\n\nC0\nC4\nC5");
  EXPECT_EQ(line.Commands(), "E0");
}

TEST_F(ScriptedMan, ReadWithoutSignatureIsStatus15AndKeepsTheImage) {
  radio.image.SetByte(memmap::kSignature, 'z');
  auto doc = MakeDocument();
  const cmcEeprom before = doc->Working();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 15);
  EXPECT_EQ(line.Commands(), "E0 E2");
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text.substr(0, 5), "H15\n\n");
  EXPECT_TRUE(doc->Working().Equals(before));
  EXPECT_FALSE(doc->IsModified());
}

TEST_F(ScriptedMan, ReadForbiddenByTheRadioShowsStatus6) {
  radio.payload[19] = 0x01;
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 6);
  EXPECT_EQ(line.Commands(), "E0");
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text.substr(0, 4), "H6\n\n");
}

TEST_F(ScriptedMan, SuccessfulReadReplacesTheImageUntitledAndModified) {
  radio.image = doctest::RadioImage(5);
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 0);
  EXPECT_EQ(messages.Count(), 0);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(doc->IsUntitled());
  EXPECT_EQ(doc->ModelType(), 5);  // the model follows the image
  EXPECT_EQ(doc->Working().GetByte(0x10), radio.image.GetByte(0x10));
}

TEST_F(ScriptedMan, SilentRadioIsOneStatus5Message) {
  radio.silentOnRead = true;
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneRead), 5);
  EXPECT_EQ(messages.Count(), 1);
  EXPECT_FALSE(line.isOpen);
}

TEST_F(ScriptedMan, ModelMismatchBeforeAWriteIsStatus13AndSendsNothing) {
  radio.payload[21] = 9;  // an SUV radio, a model 0 document
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneWrite), 13);
  EXPECT_EQ(line.Commands(), "E0");
  ASSERT_EQ(messages.Count(), 2);  // the confirmation, then the one error
  EXPECT_EQ(messages.Messages()[0].text, "confirm write");
  EXPECT_EQ(messages.Last().text, "model error\nsecond line");
  EXPECT_EQ(messages.Last().style, platform::kMbOk | platform::kMbIconStop);
}

TEST_F(ScriptedMan, WriteIsRefusedWhileACheckCellIsInError) {
  auto doc = MakeDocument();
  EXPECT_EQ(doc->WarningCheck().errors, 0);
  doc->Working().SetWord(memmap::kWxBits, 0x03FF);  // every weather channel inhibited
  EXPECT_EQ(doc->WarningCheck().errors, 1);
  EXPECT_EQ(doc->CloneWrite([](CloneStatus) { ADD_FAILURE() << "no completion expected"; }),
            cmcDocument::kDataError);
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text, "data error");
  EXPECT_EQ(messages.Last().style, platform::kMbOk | platform::kMbIconStop);
  EXPECT_EQ(line.opens, 0);
}

TEST_F(ScriptedMan, CheckCellsInErrorMarkTheirPages) {
  auto doc = MakeDocument();
  EXPECT_TRUE(WarningMarks(*doc).empty());
  doc->Working().SetWord(memmap::kWxBits, 0x03FF);
  EXPECT_EQ(WarningMarks(*doc), (std::vector<clsWarningMark>{{"GI_Sheet_WxCh", true}}));
}

TEST_F(ScriptedMan, CancelledConfirmationStartsNothing) {
  auto doc = MakeDocument();
  messages.Answer(platform::kIdCancel);
  EXPECT_EQ(doc->CloneWrite([](CloneStatus) { ADD_FAILURE() << "no completion expected"; }),
            cmcDocument::kCancelled);
  EXPECT_EQ(line.opens, 0);
}

TEST_F(ScriptedMan, WriteSendsTheBasicListAndReportsSuccess) {
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneWrite), 0);
  EXPECT_EQ(line.Commands(), "E0 E3 E4*160 E5");
  ASSERT_EQ(messages.Count(), 2);
  EXPECT_EQ(messages.Last().text, "write ok");
  EXPECT_EQ(messages.Last().style, platform::kMbOk | platform::kMbIconInformation);
  for (int a = 0; a <= 0x9FF; ++a) {
    ASSERT_EQ(radio.written.GetByte(a), doc->Working().GetByte(a)) << std::hex << a;
  }
}

TEST_F(ScriptedMan, MakerWriteSendsTheDealerAreaAndBlock) {
  auto doc = MakeDocument();
  doc->SetMaker(true);
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneWrite), 0);
  ASSERT_FALSE(radio.writtenFrames.empty());
  EXPECT_EQ(radio.writtenFrames.front(), (std::pair<int, int>{0x000, 16}));
  EXPECT_EQ(radio.writtenFrames.back(), (std::pair<int, int>{0xB70, 16}));
  EXPECT_EQ(radio.writtenFrames.size(), (0xB80u) / 16);
}

TEST_F(ScriptedMan, OlderRadioDealerBlockGetsTheDealerRange) {
  radio.payload[26] = 0x01;
  radio.payload[27] = 0x19;
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneWrite), 0);
  EXPECT_EQ(line.Commands(), "E0 E3 E4*180 E5");  // 160 + 20 frames of 0xA40..0xB7F
}

TEST_F(ScriptedMan, RefusedWriteIsAFailureNeverASuccess) {
  radio.writeResult = 1;
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneWrite), 10);
  ASSERT_EQ(messages.Count(), 2);
  EXPECT_EQ(messages.Last().text, "H10\n\nC0\nC2\nC3");
}

TEST_F(ScriptedMan, WriteOfAnUnmodifiedDocumentStaysUnmodified) {
  auto doc = MakeDocument();
  // A byte the normalisation restores from the initial image.
  doc->Working().SetByte(0xEC0, 0x77);
  doc->TakeSnapshot();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneWrite), 0);
  EXPECT_NE(doc->Working().GetByte(0xEC0), 0x77);  // the normalisation did change it
  doc->UpdateModified();
  EXPECT_FALSE(doc->IsModified());
}

TEST_F(ScriptedMan, PortThatCannotOpenIsStatus2) {
  line.openFails = true;
  auto doc = MakeDocument();
  EXPECT_EQ(Run(*doc, &cmcDocument::CloneInformation), 2);
  ASSERT_EQ(messages.Count(), 1);
  // Reached by device path, the message names the path.
  EXPECT_EQ(messages.Last().text, "D2 /dev/scripted\n\nC0\nC1\nC2\nC3");
}

TEST_F(ScriptedMan, StartingWhileBusyChangesNothing) {
  auto doc = MakeDocument();
  int calls = 0;
  ASSERT_EQ(doc->CloneRead([&](CloneStatus) { ++calls; }), cmcDocument::kStarted);
  EXPECT_EQ(doc->CloneInformation([&](CloneStatus) { ++calls; }), cmcDocument::kBusy);
  EXPECT_EQ(doc->CloneWrite([&](CloneStatus) { ++calls; }), cmcDocument::kBusy);
  time.AdvanceUntil([&] { return calls > 0; }, 120000);
  EXPECT_EQ(calls, 1);
  time.AdvanceBy(5000);
  EXPECT_EQ(calls, 1);
}

// The manager's own plumbing, with handlers of the test's choosing.
class ManagerPlumbing : public DocumentWorld {
 protected:
  struct Sink : cmcProgressSink {
    void OpenProgress(int total) override { events.push_back("open " + std::to_string(total)); }
    void ShowProgress(int data, int total) override {
      last = data;
      totalSeen = total;
    }
    void CloseProgress() override { events.push_back("close " + std::to_string(last)); }
    void SetMainWindowEnabled(bool on) override { events.push_back(on ? "enable" : "disable"); }
    std::vector<std::string> events;
    int last = 0, totalSeen = 0;
  };
  static void Refuse16(dst_CDrv_Result* r) {
    if (r->status == CloneStatus::kOk) r->status = CloneStatus::kImageRefused;
  }
  static indCloneMan::Completion Record(int& status) {
    return [&status](dst_CDrv_Result* r) { status = Num(r->status); };
  }
};

TEST_F(ManagerPlumbing, ImageRefusedByTheModelCheckIsStatus16WithProgress) {
  indCloneMan man(Devices());
  Sink sink;
  man.SetPortDevice("/dev/scripted");
  man.SetProgressSink(&sink);
  man.SetImageSize(memmap::kImageSize);
  man.SetReadHandler(&ManagerPlumbing::Refuse16);
  int status = -1;
  ASSERT_TRUE(man.StartRead(cloneman::ReadRanges(), Record(status)));
  EXPECT_EQ(man.TotalBytes(), 3312);
  time.AdvanceUntil([&] { return status >= 0; }, 120000);
  EXPECT_EQ(status, 16);
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text, "H16\n\n");
  EXPECT_EQ(sink.events,
            (std::vector<std::string>{"disable", "open 3312", "close 3312", "enable"}));
}

TEST_F(ManagerPlumbing, MissingHandlersGiveStatus11And8) {
  indCloneMan man(Devices());
  man.SetPortDevice("/dev/scripted");
  man.SetImageSize(memmap::kImageSize);
  int status = -1;
  ASSERT_TRUE(man.StartInformation(Record(status)));
  time.AdvanceUntil([&] { return status >= 0; }, 120000);
  EXPECT_EQ(status, 11);
  status = -1;
  ASSERT_TRUE(man.StartRead(cloneman::ReadRanges(), Record(status)));
  time.AdvanceUntil([&] { return status >= 0; }, 120000);
  EXPECT_EQ(status, 8);
  EXPECT_EQ(messages.Count(), 2);
}

}  // namespace
