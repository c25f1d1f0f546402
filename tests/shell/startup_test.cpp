// SPDX-License-Identifier: GPL-3.0-or-later
// The process globals: built in order with the g* pointers set, the text
// tables bound in the data folder, all of it gone again in reverse; and the
// maker switch on the command line.
#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "base/evman.h"
#include "platform/paths.h"
#include "settings/environ.h"
#include "shell/startup.h"
#include "support/environ_support.h"
#include "text/gtex.h"

namespace {

TEST(MakerSwitch, OnlyTheExactWordInAnyCase) {
  struct Case {
    QStringList arguments;
    bool maker;
  };
  const Case cases[] = {
      {{"seaclone"}, false},
      {{"seaclone", "/kelpish"}, true},
      {{"seaclone", "/KelPISH"}, true},
      {{"seaclone", "kelpish"}, false},
      {{"seaclone", "/kelpish2"}, false},
      {{"seaclone", "-kelpish"}, false},
      {{"seaclone", "other", "/KELPISH"}, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(shell::HasMakerSwitch(c.arguments), c.maker) << c.arguments.join(' ').toStdString();
}

TEST(Globals, BuiltAndTornDownAsOneWithTheTablesBound) {
  QTemporaryDir data;
  platform::SetDataDirOverride(data.path().toStdString());
  testsupport::EnvironStore store;
  {
    shell::Globals globals({"seaclone", "/kelpish"}, testsupport::kTestMutex, store.KeyPath());
    EXPECT_TRUE(globals.FirstInstance());
    EXPECT_TRUE(globals.MakerSwitch());
    ASSERT_NE(gEnviron, nullptr);
    ASSERT_NE(gGTex, nullptr);
    ASSERT_NE(gHelpGTex, nullptr);
    EXPECT_EQ(gEnviron->Bbt, indEnviron::kMarker);
    EXPECT_EQ(gGTex->Path(), platform::DataDir() + "TB58.OVL");
    EXPECT_EQ(gHelpGTex->Path(), platform::DataDir() + "TB58H.OVL");

    // A second set in the same session is the second instance.
    shell::Globals second({"seaclone"}, testsupport::kTestMutex, store.KeyPath());
    EXPECT_FALSE(second.FirstInstance());
  }
  EXPECT_EQ(gEnviron, nullptr);
  EXPECT_EQ(gGTex, nullptr);
  EXPECT_EQ(gHelpGTex, nullptr);
  // The environment went last and wrote the settings of the first instance.
  EXPECT_TRUE(store.Exists());
  platform::SetDataDirOverride("");
}

}  // namespace
