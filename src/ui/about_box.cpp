// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/qt/qt_font.h"
#include "platform/qt/screens_qt.h"
#include "text/font_syntax.h"
#include "text/gtex.h"

namespace {

constexpr int kDefaultIconSize = 32;

}  // namespace

cuiAboutBox::cuiAboutBox(QWidget* mainWindow, cmcGTex& table, const QPixmap& icon,
                         KeyHandler keyTyped)
    // No Qt parent: disabling the main window would disable the box with it.
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      keyTyped_(std::move(keyTyped)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromStdString(table.Text("GI_App_About_Caption")));
  platform::FontValue font;
  ApplyFontDescriptor(table.Text("CellModel_BasicDialog"), font);
  setFont(platform::ToQFont(font, QApplication::font()));

  QPixmap picture = icon;
  if (picture.isNull()) {
    picture = QApplication::windowIcon().pixmap(kDefaultIconSize, kDefaultIconSize);
  }
  const QSize iconSize = picture.isNull() ? QSize(kDefaultIconSize, kDefaultIconSize)
                                          : picture.deviceIndependentSize().toSize();
  const int iw = iconSize.width();
  const int ih = iconSize.height();

  icon_ = new QLabel(this);
  icon_->setPixmap(picture);
  icon_->setGeometry(iw / 2, ih / 2, iw, ih);

  label_ = new QLabel(this);
  label_->setTextFormat(Qt::PlainText);
  label_->setText(QString::fromStdString(table.Text("GI_Sys_AppTitle") + " " +
                                         table.Text("GI_App_About_Revision")));
  label_->adjustSize();
  label_->move(icon_->x() + iw * 3 / 2, 0);

  button_ = new QPushButton(QString::fromStdString(table.Text("GI_App_About_Button")), this);
  button_->setDefault(true);
  button_->setAutoDefault(true);
  button_->setGeometry(label_->geometry().right() + 1 + 2 * iw, ih / 4, iw * 5 / 2,
                       button_->sizeHint().height());
  // Escape reaches reject(), which closes the box as the button does.
  connect(button_, &QPushButton::clicked, this, &QDialog::close);

  // The label's bottom plus half an icon is the height the layout asks for,
  // but with a one-line title that would cut through the icon and the
  // button; the box grows to show both with the same margins.
  const int width = button_->geometry().right() + 1 + ih / 4;
  const int height =
      std::max({label_->geometry().bottom() + 1 + ih / 2, icon_->geometry().bottom() + 1 + ih / 2,
                button_->geometry().bottom() + 1 + ih / 4});
  setFixedSize(width, height);

  // Key preview: the typed characters are seen whichever control has the
  // focus.
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

  if (mainWindow_) mainWindow_->setEnabled(false);
  show();
  // Placed once shown, when the frame the window system adds is known.
  platform::CentreOver(this, mainWindow_);
  button_->setFocus();
}

cuiAboutBox::~cuiAboutBox() {
  if (mainWindow_) {
    mainWindow_->setEnabled(true);
    mainWindow_->activateWindow();
    mainWindow_->setFocus();
  }
}

bool cuiAboutBox::eventFilter(QObject* watched, QEvent* event) {
  // A key the focused control does not take travels on to its parents;
  // only its first stop counts, so that each character arrives once.
  QWidget* first = focusWidget() ? focusWidget() : this;
  if (event->type() == QEvent::KeyPress && watched == first && keyTyped_) {
    for (QChar c : static_cast<QKeyEvent*>(event)->text()) keyTyped_(c);
  }
  return QDialog::eventFilter(watched, event);
}
