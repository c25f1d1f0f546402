// SPDX-License-Identifier: GPL-3.0-or-later
// The main form as start-up builds it: caption and font from the overlay,
// the saved bounds kept reachable, the minimum size, the two image lists,
// and the bounds going back into the settings on close.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/fatal.h"
#include "platform/paths.h"
#include "platform/qt/screens_qt.h"
#include "shell/icons.h"
#include "shell/main_form.h"
#include "support/environ_support.h"
#include "text/gtex.h"

namespace {

const std::string kFixtures = SEACLONE_TEST_DATA "/shell/";

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    environ_ = store_.Make();
    gEnviron = environ_.get();
    previous_ = gGTex;
    Bind("form_font.ovl");
    platform::SetDataDirOverride(dataDir_.path().toStdString());
  }
  void TearDown() override {
    platform::SetDataDirOverride("");
    gGTex = previous_;
    gEnviron = nullptr;
  }
  void Bind(const std::string& fixture) {
    table_ = std::make_unique<cmcGTex>();
    table_->Bind(kFixtures + fixture);
    gGTex = table_.get();
  }
  void SaveBounds(QRect r) {
    gEnviron->Left = r.x();
    gEnviron->Top = r.y();
    gEnviron->Width = r.width();
    gEnviron->Height = r.height();
  }

  testsupport::EnvironStore store_;
  std::unique_ptr<indEnviron> environ_;
  std::unique_ptr<cmcGTex> table_;
  cmcGTex* previous_ = nullptr;
  QTemporaryDir dataDir_;
};

TEST_F(MainFormTest, CaptionAndFontComeFromTheOverlay) {
  TForm1 form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Test Bridge Console"));
  // No application display name: X would append it to every window's title.
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
  EXPECT_EQ(form.font().family(), QStringLiteral("Courier New"));
  EXPECT_EQ(form.font().pixelSize(), 20);
  EXPECT_TRUE(form.font().bold());
}

TEST_F(MainFormTest, DefinitionWithoutAFontKeepsThePlatformFont) {
  Bind("form_plain.ovl");
  TForm1 form;
  EXPECT_EQ(form.font(), QApplication::font());
}

TEST_F(MainFormTest, MissingCaptionIsFatal) {
  Bind("form_no_title.ovl");
  EXPECT_THROW(TForm1 form, platform::FatalStop);
}

TEST_F(MainFormTest, SavedBoundsAreKeptReachable) {
  const QRect work = platform::PrimaryWorkArea();
  struct Case {
    const char* what;
    QRect saved;
    QRect expected;
  };
  const Case cases[] = {
      {"inside", QRect(30, 40, 500, 300), QRect(30, 40, 500, 300)},
      {"on a monitor no longer attached", QRect(work.right() + 3000, 40, 500, 300),
       QRect(work.x() + work.width() - 500, 40, 500, 300)},
      // as bounds saved at a smaller scale factor come back: the status bar
      // must stay on the screen
      {"larger than the work area", QRect(-100, -100, work.width() + 300, work.height() + 200),
       QRect(work.x(), work.y(), work.width(), work.height())},
      {"wider than the work area", QRect(work.x() + 50, work.y() + 20, work.width() * 2, 300),
       QRect(work.x(), work.y() + 20, work.width(), 300)},
      {"smaller than the minimum", QRect(10, 10, 100, 50), QRect(10, 10, 400, 200)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SaveBounds(c.saved);
    TForm1 form;
    EXPECT_EQ(QRect(form.pos(), form.size()), c.expected);
  }
}

TEST_F(MainFormTest, SavedBoundsAreTheOuterWindowOnceShown) {
  SaveBounds(QRect(30, 40, 500, 300));
  TForm1 form;
  form.show();
  QApplication::processEvents();
  EXPECT_EQ(form.frameGeometry(), QRect(30, 40, 500, 300));
  EXPECT_EQ(form.NormalBounds(), QRect(30, 40, 500, 300));
}

TEST_F(MainFormTest, CannotBeMadeSmallerThanTheMinimum) {
  TForm1 form;
  form.show();
  form.resize(120, 80);
  // The minimum holds for the outer window, frame included.
  EXPECT_EQ(form.frameGeometry().size(), QSize(TForm1::kMinWidth, TForm1::kMinHeight));
}

TEST_F(MainFormTest, ImageListsHoldTheIconFilesInTheirOrder) {
  const QString source = QStringLiteral(SEACLONE_SOURCE_DIR "/data/icons/");
  QDir().mkpath(dataDir_.filePath(QStringLiteral("icons")));
  for (const QString& f : QDir(source).entryList({QStringLiteral("*.png")}))
    ASSERT_TRUE(QFile::copy(source + f, dataDir_.filePath(QStringLiteral("icons/") + f)));

  TForm1 form;
  ASSERT_EQ(form.TreeImages().Count(), 6);
  ASSERT_EQ(form.BarImages().Count(), 19);
  auto expectFile = [&](const cuiImageList& list, int index, const char* name) {
    const QImage file(source + QLatin1String(name) + QStringLiteral(".png"));
    ASSERT_FALSE(file.isNull()) << name;
    EXPECT_EQ(list.Image(index).toImage().convertToFormat(QImage::Format_ARGB32),
              file.convertToFormat(QImage::Format_ARGB32))
        << name << " at " << index;
  };
  for (int i = 0; i < 6; ++i) expectFile(form.TreeImages(), i, kTreeIcons[i].name);
  for (int i = 0; i < 19; ++i) expectFile(form.BarImages(), i, kBarIcons[i].name);
  // Spot checks against the order the definitions rely on.
  EXPECT_STREQ(kTreeIcons[5].name, "imgIcon_Tree_WarnE_RB");
  EXPECT_STREQ(kBarIcons[7].name, "imgIcon_Bar_Clone_Read");
  EXPECT_STREQ(kBarIcons[17].name, "imgIcon_Bar_Page_Zoom");
}

TEST_F(MainFormTest, MissingIconFilesStillKeepEveryIndex) {
  TForm1 form;  // the data folder has no icons
  ASSERT_EQ(form.TreeImages().Count(), 6);
  ASSERT_EQ(form.BarImages().Count(), 19);
  for (int i = 0; i < 19; ++i) {
    EXPECT_FALSE(form.BarImages().Image(i).isNull());
    EXPECT_EQ(form.BarImages().Image(i).size(), QSize(32, 32));
  }
  EXPECT_TRUE(form.BarImages().Image(19).isNull());
}

TEST_F(MainFormTest, ClosingStoresTheBoundsUnlessRefused) {
  SaveBounds(QRect(30, 40, 500, 300));
  TForm1 form;
  form.show();
  form.move(60, 70);
  form.resize(520, 310);
  const QSize frame = form.frameGeometry().size() - form.size();

  form.SetCloseQuery([] { return false; });
  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(gEnviron->Left, 30);

  form.SetCloseQuery(nullptr);
  EXPECT_TRUE(form.close());
  // The outer window is stored, frame included.
  EXPECT_EQ(QRect(gEnviron->Left, gEnviron->Top, gEnviron->Width, gEnviron->Height),
            QRect(QPoint(60, 70), QSize(520, 310) + frame));
}

TEST_F(MainFormTest, MaximisedWindowStoresItsRestoredBounds) {
  SaveBounds(QRect(30, 40, 500, 300));
  TForm1 form;
  form.show();
  form.showMaximized();
  QApplication::processEvents();
  form.close();
  EXPECT_EQ(QRect(gEnviron->Left, gEnviron->Top, gEnviron->Width, gEnviron->Height),
            QRect(30, 40, 500, 300));
}

}  // namespace
