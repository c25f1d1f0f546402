// SPDX-License-Identifier: GPL-3.0-or-later
// The clone error message: which check lines go with which status, and the
// port number in the head line of status 2.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/message_box.h"
#include "platform/temporary_folder.h"
#include "radio/clone_man_message.h"
#include "radio/comm.h"
#include "radio/write_verify.h"
#include "support/scripted_questions.h"
#include "text/gtex.h"

namespace {

class Recorder : public platform::MessageResponder {
 public:
  int Show(const std::string& text, const std::string& caption, unsigned style) override {
    shown.push_back({text, caption, style});
    return platform::kIdOk;
  }
  struct Shown {
    std::string text, caption;
    unsigned style;
  };
  std::vector<Shown> shown;
};

class CloneMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(table.Bind(SEACLONE_TEST_DATA "/clone/messages.ovl"));
    previous = platform::SetMessageResponder(&recorder);
  }
  void TearDown() override { platform::SetMessageResponder(previous); }
  cmcGTex table;
  Recorder recorder;
  platform::MessageResponder* previous = nullptr;
};

TEST_F(CloneMessageTest, CheckLinesFollowTheStatus) {
  const std::string all4 = "C0\nC1\nC2\nC3";
  const std::pair<int, std::string> cases[] = {
      {0, ""},
      {2, "H2 COM7\n\n" + all4},
      {4, "H4\n\n" + all4},
      {5, "H5\n\n" + all4},
      {6, "H6\n\n" + all4},
      {10, "H10\n\nC0\nC2\nC3"},
      {11, "H11\n\nC0\nC1\nC2\nC3\nC4\nC5"},
      {12, "H12\n\nC0\nC1\nC2\nC3\nC4\nC5"},
      {13, "H13\n\n"},
      {14, "H14\n\nC0\nC4\nC5"},
      {15, "H15\n\n" + all4},
      {16, "H16\n\n"},
      {17, "H17\n\n" + all4},
  };
  for (const auto& [status, text] : cases) {
    EXPECT_EQ(cloneman::CloneErrorText(static_cast<CloneStatus>(status), 7, &table), text)
        << status;
  }
}

// A write cut off after data went out says what the radio may now hold,
// before the checks of the cable; the program and the command-line tool
// each word what to do next their own way.
TEST_F(CloneMessageTest, AWriteCutOffSaysTheRadioMayHoldPartOfIt) {
  const std::string checks = "C0\nC1\nC2\nC3";
  EXPECT_EQ(cloneman::CloneErrorText(CloneStatus::kEchoFailed, 7, &table, {}, nullptr, true),
            "H4\n\nP0\nP1\n\n" + checks);
  EXPECT_EQ(cloneman::CloneErrorText(CloneStatus::kNoAnswer, 7, &table, {}, nullptr, true),
            "H5\n\nP0\nP1\n\n" + checks);
  EXPECT_EQ(cloneman::CloneErrorText(CloneStatus::kEchoFailed, 7, &table), "H4\n\n" + checks);

  cmcGTex overlay;
  ASSERT_TRUE(overlay.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
  const struct {
    const char* variant;
    const char* says;
    const char* never;
  } cases[] = {
      {"", "Clone > Write to Radio", "Run the write again"},
      {"Cli", "Run the write again", "Clone > Write to Radio"},
  };
  for (const auto& c : cases) {
    overlay.SetVariant(c.variant);
    const std::string text =
        cloneman::CloneErrorText(CloneStatus::kEchoFailed, 7, &overlay, {}, nullptr, true);
    EXPECT_NE(text.find("partly written"), std::string::npos) << c.variant << ": " << text;
    EXPECT_NE(text.find(c.says), std::string::npos) << c.variant << ": " << text;
    EXPECT_EQ(text.find(c.never), std::string::npos) << c.variant << ": " << text;
    EXPECT_EQ(text.find('#'), std::string::npos) << c.variant << ": " << text;
  }
}

// A failed verification names a channel byte by the page the tree shows
// for it, and says when no page of this model shows it at all.
TEST_F(CloneMessageTest, VerifyPlaceNamesOnlyPagesTheTreeShows) {
  cmcGTex* const previousTable = gGTex;
  gGTex = &table;
  struct Case {
    int address;
    std::uint8_t flags972;
    std::uint8_t flags973;
    int model;
    const char* place;
  };
  const Case cases[] = {
      {0x1C5, 0x00, 0x02, 0, "plan INT entry 5"},
      {0x1C5, 0x07, 0x00, 1, "unshown plan INT entry 5"},
      {0x005, 0x01, 0x00, 0, "plan USA entry 5"},
      {0x005, 0x06, 0x02, 1, "unshown plan USA entry 5"},
      {0x38A, 0x04, 0x00, 0, "plan CAN entry 10"},
      {0x38A, 0x00, 0x00, 0, "unshown plan CAN entry 10"},
      {0x545, 0x00, 0x00, 8, "plan SUV entry 5"},
      {0x545, 0x07, 0x02, 0, "unshown plan SUV entry 5"},
      {0x70B, 0x00, 0x00, 1, "free 1 byte 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.place);
    cmcEeprom image(memmap::kImageSize);
    image.SetByte(memmap::kFlags972, c.flags972);
    image.SetByte(memmap::kFlags973, c.flags973);
    EXPECT_EQ(verify::PlaceOf(c.address, image, c.model), c.place);
  }
  gGTex = previousTable;
}

TEST_F(CloneMessageTest, PortGivenAsADevicePathIsNamedByItsPath) {
  EXPECT_EQ(cloneman::CloneErrorText(static_cast<CloneStatus>(2), 0, &table, "/dev/ttyUSB0"),
            "D2 /dev/ttyUSB0\n\nC0\nC1\nC2\nC3");
  // Only the port's own failure names the device.
  EXPECT_EQ(cloneman::CloneErrorText(static_cast<CloneStatus>(5), 0, &table, "/dev/ttyUSB0"),
            "H5\n\nC0\nC1\nC2\nC3");
  EXPECT_EQ(cloneman::FormatText("a %s b %s 100%%", "X"), "a X b %s 100%");
}

TEST_F(CloneMessageTest, ShownOnceWithTitleAndStopIcon) {
  cmcGTex* const previousTable = gGTex;
  gGTex = &table;
  testsupport::ScriptedQuestions questions(recorder);
  cloneman::ShowCloneError(questions, static_cast<CloneStatus>(0), 1);
  EXPECT_TRUE(recorder.shown.empty());
  cloneman::ShowCloneError(questions, static_cast<CloneStatus>(2), 12);
  gGTex = previousTable;
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].text.substr(0, 9), "H2 COM12\n");
  EXPECT_EQ(recorder.shown[0].caption, "Seaclone Test");
  EXPECT_EQ(recorder.shown[0].style, platform::kMbOk | platform::kMbIconStop);
}

TEST_F(CloneMessageTest, KnownPortFailureIsTheHeadWhereTheOverlayWordsIt) {
  platform::TemporaryFolder dir("seaclone-test");
  ASSERT_TRUE(dir.IsValid());
  const std::string path = dir.Path() + "/T.OVL";
  std::ofstream(path, std::ios::binary)
      << "#GI_Mess_CloneErr_Head\nH0\nH1\nH2 COM%d\nH3\nH4\nH5\n#GI_Mess_CloneErr_Device\nD2 %s\n"
         "#GI_Mess_CloneErr_Check\nC0\nC1\nC2\nC3\nC4\nC5\n"
         "#GI_Mess_CloneErr_PortName\nCOM%d\nCOM%d at %s\n"
         "#GI_Mess_CloneErr_PortFault\nF0 %s\nF1 %s: %s\nF2 %s\nF3 %s\nF4 %s\nF5 %s\nF6 %s\nF7 "
         "%s\n#End_Of_Ovl\n";
  cmcGTex worded;
  ASSERT_TRUE(worded.Bind(path));
  using platform::SerialFault;
  const std::string checks = "\n\nC0\nC1\nC2\nC3";
  struct Case {
    clsPortFailure failure;
    std::string head;
  };
  const Case cases[] = {
      {{{SerialFault::kNoDevice, ENOENT}, 7, "/dev/ttyUSB9"}, "F2 COM7 at /dev/ttyUSB9"},
      {{{SerialFault::kUnmapped, 0}, 200, ""}, "F7 COM200"},
      {{{SerialFault::kBusy, EBUSY}, 0, "/dev/x"}, "F5 /dev/x"},
      // The system's own text of its code (strerror here, FormatMessage on Windows).
      {{{SerialFault::kOther, EMFILE}, 0, "/dev/x"},
       "F1 /dev/x: " + std::system_category().message(EMFILE)},
      // A path is data: its "%s" is not filled in.
      {{{SerialFault::kNotSerial, 0}, 3, "/tmp/%s%d"}, "F3 COM3 at /tmp/%s%d"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cloneman::CloneErrorText(CloneStatus::kPortFailed, c.failure.portNumber, &worded,
                                       c.failure.path, &c.failure),
              c.head + checks)
        << c.head;
  }
  // An overlay that does not word the reasons keeps its head line, and only
  // status 2 is about the port.
  const clsPortFailure busy{{SerialFault::kBusy, EBUSY}, 7, "/dev/ttyS6"};
  EXPECT_EQ(cloneman::CloneErrorText(CloneStatus::kPortFailed, 7, &table, {}, &busy),
            "H2 COM7" + checks);
  EXPECT_EQ(cloneman::CloneErrorText(CloneStatus::kNoAnswer, 7, &worded, {}, &busy), "H5" + checks);
}

TEST(CloneMessageFormat, OnlyOneIntegerIsEverFilledIn) {
  const std::pair<const char*, const char*> cases[] = {
      {"COM%d failed", "COM5 failed"},      {"COM%3d", "COM  5"},
      {"100%% on COM%i", "100% on COM5"},   {"%d and %d", "5 and %d"},
      {"%s is not read", "%s is not read"}, {"trailing %", "trailing %"},
      {"no conversion", "no conversion"},
  };
  for (const auto& [format, expected] : cases) {
    EXPECT_EQ(cloneman::FormatInt(format, 5), expected) << format;
  }
}

}  // namespace

namespace {

// The assembled overlay carries a head line for every status and the six
// check lines; a missing line would silently show the next entry's key.
TEST(CloneMessageOverlay, EveryStatusHasItsOwnWords) {
  cmcGTex overlay;
  ASSERT_TRUE(overlay.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
  for (int status = 2; status <= 17; ++status) {
    const std::string text =
        cloneman::CloneErrorText(static_cast<CloneStatus>(status), 7, &overlay);
    EXPECT_EQ(text.find('#'), std::string::npos) << status << ": " << text;
    EXPECT_GT(text.size(), 10u) << status;
  }
  EXPECT_NE(cloneman::CloneErrorText(static_cast<CloneStatus>(2), 7, &overlay).find("COM7"),
            std::string::npos);
  EXPECT_NE(cloneman::CloneErrorText(static_cast<CloneStatus>(2), 0, &overlay, "/dev/ttyUSB3")
                .find("/dev/ttyUSB3"),
            std::string::npos);
  for (const char* key : {"GI_Mess_ModelError", "GI_Mess_DataError", "GI_Mess_Confirm_CloneWrite",
                          "GI_Mess_CloneWrite_Succeeded", "GI_AppInd_Opt_ComSel_Caption",
                          "GI_AppInd_Opt_ComSel_Notice", "GI_AppInd_Opt_ComSel_SizeOfButtons",
                          "GI_AppInd_Opt_ComSel_OutofRange"}) {
    EXPECT_FALSE(overlay.Block(key).empty()) << key;
  }
  EXPECT_EQ(overlay.Line("GI_AppInd_Opt_ComSel_Buttons", 1).find('#'), std::string::npos);
  EXPECT_EQ(overlay.Line("GI_Cli_CloneInfo_Captions", 4).find('#'), std::string::npos);
}

TEST(CloneMessageOverlay, CommandLineWordsEveryPortFault) {
  cmcGTex overlay;
  ASSERT_TRUE(overlay.Bind(SEACLONE_BIN_DIR "/TB58.OVL"));
  overlay.SetVariant("Cli");
  for (int fault = 0; fault <= static_cast<int>(platform::SerialFault::kUnmapped); ++fault) {
    const clsPortFailure failure{
        {static_cast<platform::SerialFault>(fault), EIO}, 7, "/dev/ttyUSB3"};
    const std::string text =
        cloneman::CloneErrorText(CloneStatus::kPortFailed, 7, &overlay, {}, &failure);
    EXPECT_EQ(text.find('#'), std::string::npos) << fault << ": " << text;
    EXPECT_EQ(text.find("%"), std::string::npos) << fault << ": " << text;
    EXPECT_NE(text.find("COM7 (/dev/ttyUSB3)"), std::string::npos) << fault << ": " << text;
    EXPECT_EQ(text.find("Port menu"), std::string::npos) << text;
  }
}

}  // namespace
