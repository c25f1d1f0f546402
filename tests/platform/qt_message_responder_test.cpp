// SPDX-License-Identifier: GPL-3.0-or-later
// The message box the user sees: icons and buttons from the style numbers,
// the answer from the button pressed, placed on the working monitor. A
// timer finds the real box once it runs and presses a button.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>

#include "platform/message_box.h"
#include "platform/qt/qt_message_responder.h"
#include "platform/qt/screens_qt.h"
#include "platform/recording_responder.h"

namespace {

QMessageBox* OpenBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  return nullptr;
}

// Runs act on the box once it is open; gives up (rejecting nothing) after
// a few hundred event-loop turns so that a missing box cannot hang the test.
void WhenOpen(std::function<void(QMessageBox*)> act, int tries = 500) {
  QTimer::singleShot(0, [act, tries] {
    if (QMessageBox* box = OpenBox()) {
      act(box);
    } else if (tries > 0) {
      WhenOpen(act, tries - 1);
    }
  });
}

struct Seen {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  QString text, caption;
  QRect frame;
};

struct BoxCase {
  unsigned style;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton first;
  QMessageBox::StandardButton press;
  int answer;
};

class QtMessageBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtMessageBox, ShowsTheStyleAndAnswersTheButtonPressed) {
  const BoxCase& c = GetParam();
  platform::QtMessageResponder responder;
  Seen seen;
  WhenOpen([&](QMessageBox* box) {
    seen = {box->icon(), box->standardButtons(), box->standardButton(box->defaultButton()),
            box->text(), box->windowTitle(),     box->frameGeometry()};
    box->button(c.press)->click();
  });
  const int answer = responder.Show("Channel 16 is reserved.", "Seaclone", c.style);
  EXPECT_EQ(answer, c.answer);
  EXPECT_EQ(seen.icon, c.icon);
  EXPECT_EQ(seen.buttons, c.buttons);
  EXPECT_EQ(seen.defaultButton, c.first);
  EXPECT_EQ(seen.text, QStringLiteral("Channel 16 is reserved."));
  EXPECT_EQ(seen.caption, QStringLiteral("Seaclone"));
  EXPECT_TRUE(platform::PrimaryWorkArea().contains(seen.frame.center()));
}

using B = QMessageBox;
INSTANTIATE_TEST_SUITE_P(
    Styles, QtMessageBox,
    ::testing::Values(BoxCase{platform::kMbOk | platform::kMbIconStop, B::Critical, B::Ok, B::Ok,
                              B::Ok, platform::kIdOk},
                      BoxCase{platform::kMbOkCancel | platform::kMbIconExclamation, B::Warning,
                              B::Ok | B::Cancel, B::Ok, B::Cancel, platform::kIdCancel},
                      BoxCase{platform::kMbYesNoCancel | platform::kMbIconExclamation, B::Warning,
                              B::Yes | B::No | B::Cancel, B::Yes, B::No, platform::kIdNo},
                      BoxCase{platform::kMbYesNo | platform::kMbIconQuestion, B::Question,
                              B::Yes | B::No, B::Yes, B::Yes, platform::kIdYes},
                      BoxCase{platform::kMbOk | platform::kMbIconInformation, B::Information, B::Ok,
                              B::Ok, B::Ok, platform::kIdOk}));

// A box too large for the work area (as any box can be at a large scale
// factor) keeps its left and top edges, where the title and the text
// start, on the screen; one that fits lies wholly inside.
TEST(QtMessageBoxPlacement, StaysInsideTheWorkArea) {
  const QRect work = platform::PrimaryWorkArea();
  struct Case {
    const char* what;
    QString text;
    bool fits;
  };
  const Case cases[] = {
      {"short", QStringLiteral("Channel 16 is reserved."), true},
      {"one word wider than the screen", QString(400, QLatin1Char('W')), false},
      {"more lines than the screen holds", QStringLiteral("Line\n").repeated(120), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::QtMessageResponder responder;
    QRect frame;
    WhenOpen([&](QMessageBox* box) {
      frame = box->frameGeometry();
      box->button(QMessageBox::Ok)->click();
    });
    responder.Show(c.text.toStdString(), "Seaclone", platform::kMbOk);
    ASSERT_TRUE(frame.isValid());
    EXPECT_GE(frame.left(), work.left());
    EXPECT_GE(frame.top(), work.top());
    if (c.fits)
      EXPECT_TRUE(work.contains(frame));
    else
      EXPECT_TRUE(frame.left() == work.left() || frame.top() == work.top());
  }
}

TEST(QtMessageBoxEscape, EscapeMeansCancelOrTheOnlyButton) {
  platform::QtMessageResponder responder;
  WhenOpen([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(responder.Show("Discard?", "Seaclone", platform::kMbYesNoCancel), platform::kIdCancel);
  WhenOpen([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(responder.Show("Done.", "Seaclone", platform::kMbOk), platform::kIdOk);
}

TEST(QtMessageBoxRouting, ShowMessageGoesThroughTheInstalledResponder) {
  platform::QtMessageResponder responder;
  platform::MessageResponder* previous = platform::SetMessageResponder(&responder);
  WhenOpen([](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
  EXPECT_EQ(platform::ShowMessage("Save changes?", "Seaclone", platform::kMbYesNo),
            platform::kIdNo);
  platform::SetMessageResponder(previous);
}

TEST(RecordingResponder, RecordsAndAnswersFromTheScript) {
  platform::MessageResponder* before = platform::SetMessageResponder(nullptr);
  {
    platform::RecordingResponder recorder;
    recorder.Answer(platform::kIdCancel);
    EXPECT_EQ(platform::ShowMessage("First", "Cap", platform::kMbOkCancel), platform::kIdCancel);
    // Unscripted: the first button of the style.
    EXPECT_EQ(platform::ShowMessage("Second", "Cap", platform::kMbYesNoCancel), platform::kIdYes);
    EXPECT_EQ(
        platform::ShowMessage("Third", "Cap", platform::kMbOkCancel | platform::kMbIconExclamation),
        platform::kIdOk);
    ASSERT_EQ(recorder.Count(), 3);
    EXPECT_EQ(recorder.Messages()[0].text, "First");
    EXPECT_EQ(recorder.Last().style, platform::kMbOkCancel | platform::kMbIconExclamation);
    {
      // A nested recorder takes over and hands back on leaving.
      platform::RecordingResponder inner;
      platform::ShowMessage("Inner", "Cap", platform::kMbOk);
      EXPECT_EQ(inner.Count(), 1);
    }
    platform::ShowMessage("Fourth", "Cap", platform::kMbOk);
    EXPECT_EQ(recorder.Count(), 4);
  }
  EXPECT_EQ(platform::SetMessageResponder(before), nullptr);
}

}  // namespace
