// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: reading with its rules and clamps, the defaults that
// replace an unreadable store as a whole, saving group by group, and the
// second instance that neither reads nor writes.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <vector>

#include "platform/qt/screens_qt.h"
#include "settings/environ.h"
#include "support/environ_support.h"

using testsupport::EnvironStore;
using testsupport::kValidStore;
using testsupport::Replaced;

namespace {

// What the defaults are on the screen the tests run on.
void ExpectDefaults(indEnviron& e) {
  const QSize screen = platform::PrimaryScreenSize();
  EXPECT_EQ(e.Bbt, 753951);
  EXPECT_EQ(e.ComPort, 1);
  EXPECT_EQ(e.ComSpeedHigh, 1);
  EXPECT_EQ(e.CurrentDirectory, "");
  EXPECT_EQ(e.Recent.Count(), 0);
  EXPECT_EQ(e.FontSizePercentage, 100);
  EXPECT_EQ(e.ToolbarVisible, 1);
  EXPECT_EQ(e.FontSizePrinter, 10);
  EXPECT_EQ(e.Width, std::min(screen.width() * 9 / 10, 800));
  EXPECT_EQ(e.Height, std::min(screen.height() * 9 / 10, 600));
  EXPECT_EQ(e.Left, (screen.width() - e.Width) / 2);
  EXPECT_EQ(e.Top, (screen.height() - e.Height) * 3 / 10);
  EXPECT_EQ(e.SplitterV, 0);  // the first window fits the tree's names
  EXPECT_EQ(e.ModelType, 0);
  EXPECT_EQ(e.ChListType, 0);
}

TEST(Environ, FirstRunWithoutAStoreGetsTheDefaults) {
  EnvironStore store;
  ASSERT_FALSE(store.Exists());
  auto e = store.Make();
  EXPECT_EQ(e->FirstInstance(), 1);
  ExpectDefaults(*e);
}

TEST(Environ, DefaultWindowFollowsTheScreenSize) {
  EnvironStore store;
  auto e = store.Make();
  struct Case {
    QSize screen;
    QRect window;
  };
  const Case cases[] = {
      {QSize(1024, 768), QRect(112, 50, 800, 600)},
      {QSize(1280, 1024), QRect(240, 127, 800, 600)},
      {QSize(640, 480), QRect(32, 14, 576, 432)},
  };
  for (const Case& c : cases) {
    e->ResetToDefaults(c.screen);
    EXPECT_EQ(QRect(e->Left, e->Top, e->Width, e->Height), c.window) << c.screen.width();
  }
}

TEST(Environ, ReadsACompleteStore) {
  EnvironStore store;
  store.Write(kValidStore);
  auto e = store.Make();
  EXPECT_EQ(e->Bbt, 753951);
  EXPECT_EQ(e->ComPort, 7);
  EXPECT_EQ(e->ComSpeedHigh, 0);
  EXPECT_EQ(e->CurrentDirectory, "/home/skipper/Radios");
  EXPECT_EQ(e->FontSizePercentage, 150);
  EXPECT_EQ(e->ToolbarVisible, 0);
  EXPECT_EQ(e->FontSizePrinter, 11);
  EXPECT_EQ(QRect(e->Left, e->Top, e->Width, e->Height), QRect(31, 42, 640, 420));
  EXPECT_EQ(e->SplitterV, 180);
  EXPECT_EQ(e->ModelType, 5);
  EXPECT_EQ(e->ChListType, 1);
  // A store from before the verify setting keeps everything else.
  EXPECT_EQ(e->VerifyAfterWrite, 0);
  // The empty recent values read as one empty entry after the two paths.
  ASSERT_EQ(e->Recent.Count(), 3);
  EXPECT_EQ(e->Recent.Entry(0), "/home/skipper/Radios/Dinghy.dat");
  EXPECT_EQ(e->Recent.Entry(1), "/home/skipper/Radios/Yacht.dat");
  EXPECT_EQ(e->Recent.Entry(2), "");
}

struct ReadRuleCase {
  const char* stored;  // the line that replaces the valid one
  const char* replaced;
  int indEnviron::*field;
  int expected;
};

class ReadRules : public ::testing::TestWithParam<ReadRuleCase> {};

TEST_P(ReadRules, ClampOrNormaliseTheValue) {
  const ReadRuleCase& c = GetParam();
  EnvironStore store;
  store.Write(Replaced(kValidStore, c.replaced, c.stored));
  auto e = store.Make();
  EXPECT_EQ((*e).*(c.field), c.expected) << c.stored;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRules,
    ::testing::Values(
        ReadRuleCase{"ComPort=0", "ComPort=7", &indEnviron::ComPort, 1},
        ReadRuleCase{"ComPort=300", "ComPort=7", &indEnviron::ComPort, 256},
        ReadRuleCase{"ComPort=256", "ComPort=7", &indEnviron::ComPort, 256},
        ReadRuleCase{"ComSpeedHigh=5", "ComSpeedHigh=0", &indEnviron::ComSpeedHigh, 1},
        ReadRuleCase{"ComSpeedHigh=-1", "ComSpeedHigh=0", &indEnviron::ComSpeedHigh, 0},
        ReadRuleCase{"FontSize%20Percentage=5", "FontSize%20Percentage=150",
                     &indEnviron::FontSizePercentage, 25},
        ReadRuleCase{"FontSize%20Percentage=5000", "FontSize%20Percentage=150",
                     &indEnviron::FontSizePercentage, 1000},
        ReadRuleCase{"FontSize%20Printer=3", "FontSize%20Printer=11", &indEnviron::FontSizePrinter,
                     8},
        ReadRuleCase{"FontSize%20Printer=20", "FontSize%20Printer=11", &indEnviron::FontSizePrinter,
                     12},
        ReadRuleCase{"Toolbar%20Visible=7", "Toolbar%20Visible=0", &indEnviron::ToolbarVisible, 1},
        ReadRuleCase{"ChListType=-3", "ChListType=1", &indEnviron::ChListType, 1},
        ReadRuleCase{"ChListType=0", "ChListType=1", &indEnviron::ChListType, 0},
        ReadRuleCase{"ChListType=1\nVerifyAfterWrite=1", "ChListType=1",
                     &indEnviron::VerifyAfterWrite, 1},
        ReadRuleCase{"ChListType=1\nVerifyAfterWrite=7", "ChListType=1",
                     &indEnviron::VerifyAfterWrite, 1},
        // Left and ModelType are taken as stored; a window left of the
        // primary screen has a negative position.
        ReadRuleCase{"Left=-1500", "Left=31", &indEnviron::Left, -1500},
        // A 32-bit registry number written unsigned reads as its pattern.
        ReadRuleCase{"Left=4294967288", "Left=31", &indEnviron::Left, -8},
        ReadRuleCase{"ModelType=99", "ModelType=5", &indEnviron::ModelType, 99}));

struct BrokenCase {
  const char* what;
  const char* replaced;
  const char* stored;
};

class BrokenStore : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenStore, GivesTheDefaultsAsAWhole) {
  const BrokenCase& c = GetParam();
  EnvironStore store;
  store.Write(Replaced(kValidStore, c.replaced, c.stored));
  auto e = store.Make();
  SCOPED_TRACE(c.what);
  ExpectDefaults(*e);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenStore,
    ::testing::Values(
        BrokenCase{"another marker", "BBT=753951", "BBT=753950"},
        BrokenCase{"integer that is not a number", "ComPort=7", "ComPort=seven"},
        BrokenCase{"integer with a fraction", "Width=640", "Width=640.5"},
        BrokenCase{"integer too large for 32 bits", "Height=420", "Height=99999999999"},
        BrokenCase{"empty integer", "SplitterV=180", "SplitterV="},
        BrokenCase{"missing integer", "FontSize%20Printer=11\n", ""},
        BrokenCase{"missing marker", "BBT=753951\n", ""},
        BrokenCase{"list where a text belongs", "Current%20Directory=/home/skipper/Radios",
                   "Current%20Directory=a, b"},
        BrokenCase{"missing group", "[Setup]\nModelType=5\nChListType=1\n", ""},
        BrokenCase{"group renamed", "[View%20Option]", "[View%20Options]"},
        BrokenCase{"not a settings file at all", "[Global]", "\x01\x02garbage\n[Glob"}));

TEST(Environ, MissingTextsReadAsEmpty) {
  EnvironStore store;
  std::string text = Replaced(kValidStore, "Current%20Directory=/home/skipper/Radios\n", "");
  text = Replaced(text, "Recent0=/home/skipper/Radios/Dinghy.dat\n", "");
  store.Write(text);
  auto e = store.Make();
  EXPECT_EQ(e->ComPort, 7);  // read, not defaulted
  EXPECT_EQ(e->CurrentDirectory, "");
  ASSERT_EQ(e->Recent.Count(), 2);
  EXPECT_EQ(e->Recent.Entry(0), "/home/skipper/Radios/Yacht.dat");
}

TEST(Environ, RecentValuesAreAppendedInOrderWithoutDuplicates) {
  EnvironStore store;
  std::string text = Replaced(kValidStore, "Recent1=/home/skipper/Radios/Yacht.dat",
                              "Recent1=/HOME/skipper/radios/DINGHY.dat");
  text = Replaced(text, "Recent3=", "Recent3=/boat/Tender.dat");
  store.Write(text);
  auto e = store.Make();
  // Recent1 replaces Recent0 (same path), the empty value moves to the end.
  ASSERT_EQ(e->Recent.Count(), 3);
  EXPECT_EQ(e->Recent.Entry(0), "/HOME/skipper/radios/DINGHY.dat");
  EXPECT_EQ(e->Recent.Entry(1), "/boat/Tender.dat");
  EXPECT_EQ(e->Recent.Entry(2), "");
}

TEST(Environ, SavesEveryGroupAtTheEnd) {
  EnvironStore store;
  {
    auto e = store.Make();
    e->ComPort = 12;
    e->CurrentDirectory = "/home/skipper/with, comma";
    e->Recent.Clear();
    e->Recent.PutFirst("/boat/one.dat");
    e->Recent.PutFirst("/boat/two.dat");
    e->Left = -1200;
    e->Top = 33;
    e->ModelType = 9;
    e->VerifyAfterWrite = 1;
    EXPECT_FALSE(store.Exists());  // nothing is written while the program runs
  }
  ASSERT_TRUE(store.Exists());
  const std::string text = store.Read();
  for (const char* expected :
       {"[Global]", "BBT=753951", "ComPort=12", "[Recent%20File%20List]", "Recent0=/boat/two.dat",
        "Recent1=/boat/one.dat", "Recent9=\n", "[View%20Option]", "FontSize%20Percentage=100",
        "[Window%20Position]", "Left=-1200", "Top=33", "SplitterV=0", "[Setup]", "ModelType=9",
        "ChListType=0"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

  // And the next start reads back what was saved.
  auto again = store.Make();
  EXPECT_EQ(again->ComPort, 12);
  EXPECT_EQ(again->CurrentDirectory, "/home/skipper/with, comma");
  EXPECT_EQ(again->Recent.Entry(0), "/boat/two.dat");
  EXPECT_EQ(again->Left, -1200);
  EXPECT_EQ(again->ModelType, 9);
  EXPECT_EQ(again->VerifyAfterWrite, 1);
}

TEST(Environ, SaveWritesTheGroupsOneAfterAnother) {
  EnvironStore store;
  auto e = store.Make();
  const char* groups[] = {"[Global]", "[Recent%20File%20List]", "[View%20Option]",
                          "[Window%20Position]", "[Setup]"};
  std::vector<std::string> order;
  e->Save([&](const std::string& group) {
    order.push_back(group);
    // Every group up to this one is in the store already, none after it.
    const std::string text = store.Read();
    const std::size_t done = order.size();
    for (std::size_t i = 0; i < 5; ++i)
      EXPECT_EQ(text.find(groups[i]) != std::string::npos, i < done)
          << groups[i] << " after " << group;
  });
  EXPECT_EQ(order, (std::vector<std::string>{"Global", "Recent File List", "View Option",
                                             "Window Position", "Setup"}));
}

TEST(Environ, AStoreThatCannotBeWrittenIsIgnored) {
  EnvironStore store;
  // A plain file where the store's folder belongs: neither read nor write can work.
  QDir().mkpath(QFileInfo(store.Folder()).absolutePath());
  QFile blocker(store.Folder());
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  {
    auto e = store.Make();
    ExpectDefaults(*e);
    int groups = 0;
    e->Save([&](const std::string&) { ++groups; });
    EXPECT_EQ(groups, 0);  // the first group already failed; the saving stopped
  }
  EXPECT_FALSE(store.Exists());
  QFile::remove(store.Folder());
}

TEST(Environ, ADamagedStoreIsWrittenWholeAtTheEnd) {
  EnvironStore store;
  store.Write(Replaced(kValidStore, "[Global]", "\x01\x02garbage\n[Glob"));
  {
    auto e = store.Make();
    ExpectDefaults(*e);
    e->ComPort = 12;
    e->Left = -50;
    e->ModelType = 4;
    int groups = 0;
    e->Save([&](const std::string&) { ++groups; });
    EXPECT_EQ(groups, 5);
  }
  auto again = store.Make();
  EXPECT_EQ(again->ComPort, 12);
  EXPECT_EQ(again->Left, -50);
  EXPECT_EQ(again->ModelType, 4);
}

TEST(Environ, SecondInstanceNeitherReadsNorWrites) {
  EnvironStore store;
  store.Write(kValidStore);
  auto first = store.Make();
  ASSERT_EQ(first->FirstInstance(), 1);
  QFile::remove(store.File());

  auto second = store.Make();
  EXPECT_EQ(second->FirstInstance(), 0);
  EXPECT_EQ(second->Bbt, 0);
  EXPECT_EQ(second->ComPort, 0);
  EXPECT_EQ(second->Width, 0);
  EXPECT_EQ(second->Recent.Count(), 0);
  second.reset();
  EXPECT_FALSE(store.Exists());

  first.reset();
  ASSERT_TRUE(store.Exists());
  EXPECT_NE(store.Read().find("ComPort=7"), std::string::npos);
}

}  // namespace

namespace {

TEST(SettingsStore, TheProductKeyIsRecentK4TInTheUsersConfig) {
  const QString file = platform::OpenSettingsStore()->fileName();
  EXPECT_EQ(file, qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Recent/K4T.conf"));
  EXPECT_EQ(platform::OpenSettingsStore("Software\\Elsewhere\\Other")->fileName(),
            qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Elsewhere/Other.conf"));
}

}  // namespace
