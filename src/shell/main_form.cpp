// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/main_form.h"

#include <QApplication>
#include <QCloseEvent>

#include "model/cell.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/screens_qt.h"
#include "settings/environ.h"
#include "shell/icons.h"
#include "text/gtex.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  const QString caption = QString::fromStdString(gGTex->Text("GI_Sys_AppTitle"));
  setWindowTitle(caption);
  // The task bar shows the application's name.
  QGuiApplication::setApplicationDisplayName(caption);

  ApplyBasicCellFont();

  // Before the bounds, so that a saved size below the minimum grows to it.
  setMinimumSize(kMinWidth, kMinHeight);
  PlaceFromSettings();

  const std::string folder = IconFolder();
  FillImageList(treeImages_, kTreeIcons.data(), kTreeIcons.size(), folder);
  FillImageList(barImages_, kBarIcons.data(), kBarIcons.size(), folder);

  // The main controller's BuildWindow(this, &treeImages_, &barImages_)
  // comes here once the controller exists.
}

TForm1::~TForm1() = default;

void TForm1::ApplyBasicCellFont() {
  // The form's font comes from a cell definition, like every font the user
  // sees; a definition without a font leaves the platform's.
  cmcCellObj cell;
  cell.Parse(gGTex->Line("GI_Form_Main_BasicCell", 0), nullptr);
  if (const platform::FontValue* value = cell.Font()) setFont(platform::ToQFont(*value, font()));
}

void TForm1::PlaceFromSettings() {
  if (!gEnviron) return;
  resize(gEnviron->Width, gEnviron->Height);
  move(gEnviron->Left, gEnviron->Top);
  const QRect placed(x(), y(), width(), height());
  const QRect reachable = platform::KeepReachable(placed, platform::CurrentMonitors());
  move(reachable.topLeft());
}

QRect TForm1::NormalBounds() const {
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
    return QRect(x(), y(), width(), height());
  const QRect normal = normalGeometry();
  if (!normal.isValid()) return {};
  // normalGeometry is the client area; the saved position is the frame's.
  const QPoint frameOffset = geometry().topLeft() - pos();
  return QRect(normal.topLeft() - frameOffset, normal.size());
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (closeQuery_ && !closeQuery_()) {
    event->ignore();
    return;
  }
  if (onClose_) {
    onClose_();
  } else if (gEnviron) {
    const QRect bounds = NormalBounds();
    if (bounds.isValid()) {
      gEnviron->Left = bounds.x();
      gEnviron->Top = bounds.y();
      gEnviron->Width = bounds.width();
      gEnviron->Height = bounds.height();
    }
  }
  event->accept();
}
