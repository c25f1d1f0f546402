// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/clone_file.h"
#include "model/datch.h"
#include "model/eeprom.h"
#include "model/image_checks.h"
#include "model/memory_map.h"
#include "model/normalise.h"
#include "text/gtex.h"

using namespace memmap;

namespace {

const QString kInitialDir = QStringLiteral(SEACLONE_SOURCE_DIR "/data/initial");

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class InitialImagesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(table.Bind(SEACLONE_BIN_DIR "/TB58.OVL")); }

  std::string FileName(int m) { return table.Line("GI_App_InitialFile", m); }

  // Reads model m's initial file the way start-up does.
  int Load(int m, cmcEeprom* image) {
    image->SetSize(kImageSize);
    cmcCloneFile file;
    file.SetShowMessages(false);
    SetUpRadioFile(file, image);
    return static_cast<int>(
        file.Read((kInitialDir + "/" + QString::fromStdString(FileName(m))).toStdString(),
                  &cmcCloneFile::StandardRanges()));
  }

  cmcGTex table;
};

TEST_F(InitialImagesTest, GeneratorReproducesTheCommittedFilesByteForByte) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  QProcess gen;
  gen.start(QStringLiteral(SEACLONE_BIN_DIR "/seaclone-make-initial"), {"--out", out.path()});
  ASSERT_TRUE(gen.waitForFinished(60000));
  ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();

  const QStringList made = QDir(out.path()).entryList(QDir::Files, QDir::Name);
  const QStringList committed = QDir(kInitialDir).entryList({"*.DAT"}, QDir::Files, QDir::Name);
  EXPECT_EQ(made, committed);
  ASSERT_EQ(made.size(), kModelTypes);
  for (const QString& name : made)
    EXPECT_EQ(Contents(out.filePath(name)), Contents(kInitialDir + "/" + name))
        << name.toStdString();
}

TEST_F(InitialImagesTest, OverlayNamesEveryModelAndItsFile) {
  // models.txt is the generator's list; the overlay must say the same.
  std::ifstream models(SEACLONE_SOURCE_DIR "/tools/initial-images/tables/models.txt");
  ASSERT_TRUE(models);
  int m = 0;
  for (std::string line; std::getline(models, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    std::stringstream in(line);
    for (std::string part; std::getline(in, part, '|');) {
      const auto a = part.find_first_not_of(' ');
      const auto b = part.find_last_not_of(' ');
      f.push_back(a == std::string::npos ? "" : part.substr(a, b - a + 1));
    }
    ASSERT_EQ(f.size(), 5u) << line;
    EXPECT_EQ(table.Line("GI_App_InitialFile", m), f[1]) << m;
    EXPECT_EQ(table.Line("GI_AppInd_Model", m), f[4]) << m;
    // Beside the programs, where start-up looks.
    EXPECT_EQ(Contents(QString::fromStdString(SEACLONE_BIN_DIR "/" + f[1])),
              Contents(kInitialDir + "/" + QString::fromStdString(f[1])));
    ++m;
  }
  EXPECT_EQ(m, kModelTypes);
}

TEST_F(InitialImagesTest, EveryFileLoadsPassesItsChecksAndSurvivesNormalisation) {
  for (int m = 0; m < kModelTypes; ++m) {
    SCOPED_TRACE(FileName(m));
    cmcEeprom image;
    ASSERT_EQ(Load(m, &image), 0);
    EXPECT_EQ(image.GetByte(kModelByte), m);
    EXPECT_TRUE(HasMakerSignature(image));
    // A user may open every shipped file as well.
    EXPECT_TRUE(ModelByteAcceptable(image));

    for (int mode : {kNormaliseAfterLoad, kNormaliseBeforeSave}) {
      cmcEeprom normalised = image;
      NormaliseImage(normalised, image, mode, m);
      for (int a = kFileFirst; a <= kFileLast; ++a)
        ASSERT_EQ(normalised.GetByte(a), image.GetByte(a))
            << "mode " << mode << " at " << std::hex << a;
    }
  }
}

TEST_F(InitialImagesTest, ContentFollowsTheChannelPlansAndModels) {
  struct Row {
    int model;
    bool usa, can, wx, intl, atis;
    bool ukChannel;  // 37A open in the international plan
  };
  const Row rows[] = {
      {0, true, true, true, true, false, false},
      {1, false, false, false, true, false, false},
      {2, false, false, false, true, false, true},
      {3, false, false, false, true, true, false},
      {4, false, false, false, true, true, false},
      {5, false, false, false, true, false, false},
      {6, true, false, true, true, false, false},
      {7, false, false, false, true, false, false},
      {8, false, false, true, true, false, false},
      {9, false, false, false, false, false, false},
      {10, false, false, false, false, false, false},
      {11, false, false, false, false, false, false},
      {12, true, true, true, true, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.model);
    cmcEeprom image;
    ASSERT_EQ(Load(r.model, &image), 0);
    EXPECT_EQ((image.GetByte(kFlags972) & 0x01) != 0, r.usa);
    EXPECT_EQ((image.GetByte(kFlags972) & 0x04) != 0, r.can);
    EXPECT_EQ((image.GetByte(kFlags972) & 0x02) != 0, r.wx);
    EXPECT_EQ((image.GetByte(kFlags973) & 0x02) != 0, r.intl);
    EXPECT_EQ((image.GetByte(kAtisFlags) & 0x02) != 0, r.atis);

    datCh ch(&image);
    for (unsigned cat : {kCatInt, kCatUsa, kCatCan, kCatSuv}) {
      SCOPED_TRACE(cat);
      ch.Load(cat, 32);  // channel 16
      EXPECT_EQ(ch.acFlags & datCh::kAcP, datCh::kAcP);
      EXPECT_EQ(ch.attr & (datCh::kAtInhibit | datCh::kAtTxInhibit), 0u);
      ch.Load(cat, 140);  // channel 70: digital selective calling only
      EXPECT_EQ(ch.attr & (datCh::kAtInhibit | datCh::kAtTxInhibit), datCh::kAtTxInhibit);
      ch.Load(cat, 58);  // channel 29 does not exist
      EXPECT_EQ(ch.attr & datCh::kAtInhibit, datCh::kAtInhibit);
      // The C channel is in use.
      ch.Load(cat, static_cast<std::int16_t>(image.GetWord(kCWords + 2 * PlanSlot(cat))));
      EXPECT_EQ(ch.acFlags & datCh::kAcC, datCh::kAcC);
      EXPECT_EQ(ch.attr & datCh::kAtInhibit, 0u);
    }
    // Duplex channel 24 in the international plan; 22A simplex in the US plan.
    ch.Load(kCatInt, 48);
    EXPECT_EQ(ch.attr & (datCh::kAtInhibit | datCh::kAtSimplex), 0u);
    ch.Load(kCatUsa, 45);
    EXPECT_EQ(ch.attr & (datCh::kAtInhibit | datCh::kAtSimplex), datCh::kAtSimplex);
    // Canada's receive-only broadcast channel 21B as 2021.
    ch.Load(kCatCan, 311);
    EXPECT_EQ(ch.attr & (datCh::kAtInhibit | datCh::kAtTxInhibit), datCh::kAtTxInhibit);
    // Nordic leisure channel L1 is the SUV plan's calling channel.
    ch.Load(kCatSuv, kFreeIndexBase);
    EXPECT_EQ(ch.acFlags, datCh::kAcC);
    ch.Load(kCatFree, 0);
    EXPECT_EQ(ch.rxHz, 155'500'000u);
    EXPECT_EQ(ch.NameText(), "L1 ");
    ch.Load(kCatInt, kFreeIndexBase + 6);  // 37A
    EXPECT_EQ((ch.attr & datCh::kAtInhibit) == 0, r.ukChannel);

    EXPECT_EQ(image.GetWord(kWxBits) & 0x03FF, 0) << "every weather channel usable";
    const std::uint8_t hi = image.GetByte(kDealerVersion), lo = image.GetByte(kDealerVersion + 1);
    EXPECT_GT(hi * 256 + lo, 0);
    EXPECT_TRUE(hi < 0xA0 && (hi & 0x0F) < 10 && lo < 0xA0 && (lo & 0x0F) < 10) << "BCD version";
  }
}

}  // namespace
