// The clone error message: which check lines go with which status, and the
// port number in the head line of status 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_box.h"
#include "radio/clone_man_message.h"
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
    EXPECT_EQ(cloneman::CloneErrorText(static_cast<CloneStatus>(status), 7, &table), text) << status;
  }
}

TEST_F(CloneMessageTest, PortGivenAsADevicePathIsNamedByItsPath) {
  EXPECT_EQ(cloneman::CloneErrorText(static_cast<CloneStatus>(2), 0, &table, "/dev/ttyUSB0"), "D2 /dev/ttyUSB0\n\nC0\nC1\nC2\nC3");
  // Only the port's own failure names the device.
  EXPECT_EQ(cloneman::CloneErrorText(static_cast<CloneStatus>(5), 0, &table, "/dev/ttyUSB0"), "H5\n\nC0\nC1\nC2\nC3");
  EXPECT_EQ(cloneman::FormatText("a %s b %s 100%%", "X"), "a X b %s 100%");
}

TEST_F(CloneMessageTest, ShownOnceWithTitleAndStopIcon) {
  cloneman::ShowCloneError(static_cast<CloneStatus>(0), 1, &table);
  EXPECT_TRUE(recorder.shown.empty());
  cloneman::ShowCloneError(static_cast<CloneStatus>(2), 12, &table);
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].text.substr(0, 9), "H2 COM12\n");
  EXPECT_EQ(recorder.shown[0].caption, "Seaclone Test");
  EXPECT_EQ(recorder.shown[0].style, platform::kMbOk | platform::kMbIconStop);
}

TEST(CloneMessageFormat, OnlyOneIntegerIsEverFilledIn) {
  const std::pair<const char*, const char*> cases[] = {
      {"COM%d failed", "COM5 failed"},
      {"COM%3d", "COM  5"},
      {"100%% on COM%i", "100% on COM5"},
      {"%d and %d", "5 and %d"},
      {"%s is not read", "%s is not read"},
      {"trailing %", "trailing %"},
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
    const std::string text = cloneman::CloneErrorText(static_cast<CloneStatus>(status), 7, &overlay);
    EXPECT_EQ(text.find('#'), std::string::npos) << status << ": " << text;
    EXPECT_GT(text.size(), 10u) << status;
  }
  EXPECT_NE(cloneman::CloneErrorText(static_cast<CloneStatus>(2), 7, &overlay).find("COM7"), std::string::npos);
  EXPECT_NE(cloneman::CloneErrorText(static_cast<CloneStatus>(2), 0, &overlay, "/dev/ttyUSB3").find("/dev/ttyUSB3"),
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

}  // namespace
