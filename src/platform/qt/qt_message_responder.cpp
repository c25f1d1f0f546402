// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_message_responder.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/screens_qt.h"

namespace platform {
namespace {

// Style number 0x2 (abort, retry, ignore) and 0x5 (retry, cancel) are not
// used by the program but cost nothing to honour.
constexpr unsigned kMbAbortRetryIgnore = 0x2;
constexpr unsigned kMbRetryCancel = 0x5;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;

QMessageBox::Icon IconOf(unsigned style) {
  switch (style & kMbIconMask) {
    case kMbIconStop: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconExclamation: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// The buttons in the order the style names them; the first is the default.
QList<QMessageBox::StandardButton> ButtonsOf(unsigned style) {
  switch (style & kMbButtonMask) {
    case kMbOkCancel: return {QMessageBox::Ok, QMessageBox::Cancel};
    case kMbAbortRetryIgnore: return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case kMbYesNoCancel: return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case kMbYesNo: return {QMessageBox::Yes, QMessageBox::No};
    case kMbRetryCancel: return {QMessageBox::Retry, QMessageBox::Cancel};
    default: return {QMessageBox::Ok};
  }
}

int AnswerOf(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Ok: return kIdOk;
    case QMessageBox::Cancel: return kIdCancel;
    case QMessageBox::Abort: return kIdAbort;
    case QMessageBox::Retry: return kIdRetry;
    case QMessageBox::Ignore: return kIdIgnore;
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    default: return kIdCancel;
  }
}

// QMessageBox settles its size (wrapping a long text to the screen) only
// in its show event, so it is placed there, after that and before the window
// system maps it: centred on the work area and never past its left or top
// edge, whatever the scale factor.
class PlacedMessageBox : public QMessageBox {
 public:
  PlacedMessageBox(Icon icon, const QString& caption, const QString& text, QWidget* owner,
                   const QRect& work)
      : QMessageBox(icon, caption, text, QMessageBox::NoButton, owner), work_(work) {}

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    if (!work_.isValid()) return;
    const QRect frame = frameGeometry();
    const QRect placed = CentreOver(frame, work_, {{work_, work_}});
    move(pos() + placed.topLeft() - frame.topLeft());
  }

 private:
  QRect work_;
};

}  // namespace

int QtMessageResponder::Show(const std::string& text, const std::string& caption, unsigned style) {
  QWidget* active = QApplication::activeWindow();
  const QRect work = WorkAreaOfWindow(active);

  PlacedMessageBox box(IconOf(style), QString::fromStdString(caption), QString::fromStdString(text),
                       active, work);
  const QList<QMessageBox::StandardButton> buttons = ButtonsOf(style);
  for (QMessageBox::StandardButton b : buttons) box.addButton(b);
  box.setDefaultButton(buttons.front());
  // Closing the box without a button (Escape, the title bar) counts as
  // Cancel where there is one, else as the only button.
  if (buttons.contains(QMessageBox::Cancel))
    box.setEscapeButton(QMessageBox::Cancel);
  else if (buttons.size() == 1)
    box.setEscapeButton(buttons.front());
  else if (buttons.contains(QMessageBox::No))
    box.setEscapeButton(QMessageBox::No);

  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (!clicked) return AnswerOf(buttons.size() == 1 ? buttons.front() : QMessageBox::Cancel);
  return AnswerOf(box.standardButton(clicked));
}

}  // namespace platform
