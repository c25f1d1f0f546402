// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>

#include "model/cell.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/screens_qt.h"
#include "settings/environ.h"
#include "shell/icons.h"
#include "shell/main_controller.h"
#include "text/gtex.h"

TForm1::TForm1(cuiMain* main, QWidget* parent) : QMainWindow(parent), main_(main) {
  const QString caption = QString::fromStdString(gGTex->Text("GI_Sys_AppTitle"));
  // The caption alone, and no application display name: X window systems
  // append that name to the title of every window that does not end with
  // it, so a progress window or a help window would carry a second title.
  // A task bar shows the window's own title.
  setWindowTitle(caption);

  ApplyBasicCellFont();
  PlaceFromSettings();

  const std::string folder = IconFolder();
  FillImageList(treeImages_, kTreeIcons.data(), kTreeIcons.size(), folder);
  FillImageList(barImages_, kBarIcons.data(), kBarIcons.size(), folder);

  if (main) {
    SetCloseQuery([main] { return main->CanClose(); });
    SetOnClose([main] { main->OnClose(); });
    main->BuildWindow(this, &treeImages_, &barImages_);
  }
}

TForm1::~TForm1() {
  if (main_) main_->ReleaseWindow();
}

void TForm1::ApplyBasicCellFont() {
  // The form's font comes from a cell definition, like every font the user
  // sees; a definition without a font leaves the platform's.
  cmcCellObj cell;
  cell.Parse(gGTex->Line("GI_Form_Main_BasicCell", 0), nullptr);
  if (const platform::FontValue* value = cell.Font()) setFont(platform::ToQFont(*value, font()));
}

QSize TForm1::FrameExtra() const { return frameGeometry().size() - geometry().size(); }

void TForm1::PlaceFromSettings() {
  QRect saved(x(), y(), width(), height());
  if (gEnviron) saved = QRect(gEnviron->Left, gEnviron->Top, gEnviron->Width, gEnviron->Height);
  saved.setSize(saved.size().expandedTo(QSize(kMinWidth, kMinHeight)));
  // Bounds saved on a larger screen, or at a smaller scale factor (the
  // settings hold device-independent pixels, so doubling the scale doubles
  // the window), would put the status bar and the lower edge out of reach:
  // the window never grows past the work area it opens on.
  const platform::MonitorList monitors = platform::CurrentMonitors();
  const QRect work = platform::WorkAreaOf(monitors, saved);
  if (work.isValid()) saved.setSize(saved.size().boundedTo(work.size()));
  outer_ = platform::KeepReachable(saved, monitors);
  ApplyOuterSize();
}

void TForm1::ApplyOuterSize() {
  appliedExtra_ = FrameExtra();
  // A work area smaller than the minimum size wins over it.
  setMinimumSize(QSize(kMinWidth, kMinHeight).boundedTo(outer_.size()) - appliedExtra_);
  resize(outer_.size() - appliedExtra_);
  move(outer_.topLeft());
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window system adds its frame only when the window first shows. On
  // Wayland the program draws the frame itself, once the window has gone
  // to the compositor, after this event: without a second look the window
  // would grow by its frame at every start.
  RefitFrame();
  QTimer::singleShot(0, this, [this] { RefitFrame(); });
}

void TForm1::RefitFrame() {
  if (FrameExtra() != appliedExtra_ &&
      !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
    ApplyOuterSize();
}

QRect TForm1::NormalBounds() const {
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
    return frameGeometry();
  const QRect normal = normalGeometry();
  if (!normal.isValid()) return {};
  // normalGeometry is the client area; the saved rectangle is the frame's.
  const QRect frame = frameGeometry();
  const QRect client = geometry();
  return normal.adjusted(frame.left() - client.left(), frame.top() - client.top(),
                         frame.right() - client.right(), frame.bottom() - client.bottom());
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (closeQuery_ && !closeQuery_()) {
    event->ignore();
    return;
  }
  if (gEnviron) {
    const QRect bounds = NormalBounds();
    if (bounds.isValid()) {
      // Where no window system tells the position (Wayland), the one saved
      // stays for the next start on a desktop that does.
      if (platform::WindowPositionsKnown()) {
        gEnviron->Left = bounds.x();
        gEnviron->Top = bounds.y();
      }
      gEnviron->Width = bounds.width();
      gEnviron->Height = bounds.height();
    }
  }
  if (onClose_) onClose_();
  event->accept();
}
