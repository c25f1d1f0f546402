// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/screens_qt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace platform {

MonitorList CurrentMonitors() {
  MonitorList list;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) list.push_back({primary->geometry(), primary->availableGeometry()});
  for (QScreen* s : QGuiApplication::screens()) {
    if (s == primary) continue;
    list.push_back({s->geometry(), s->availableGeometry()});
  }
  return list;
}

QSize PrimaryScreenSize() {
  QScreen* primary = QGuiApplication::primaryScreen();
  return primary ? primary->geometry().size() : QSize(0, 0);
}

QRect PrimaryWorkArea() {
  QScreen* primary = QGuiApplication::primaryScreen();
  return primary ? primary->availableGeometry() : QRect();
}

QRect WorkAreaOfWindow(const QWidget* window) {
  if (!window) return PrimaryWorkArea();
  return WorkAreaOf(CurrentMonitors(), window->window()->frameGeometry());
}

QRect WorkAreaAtPoint(QPoint point) { return WorkAreaAt(CurrentMonitors(), point); }

QRect WorkAreaOfRect(const QRect& rect) { return WorkAreaOf(CurrentMonitors(), rect); }

void CentreOver(QWidget* window, const QWidget* owner) {
  if (!window) return;
  const QRect ownerRect = owner ? owner->window()->frameGeometry() : PrimaryWorkArea();
  const MonitorList monitors = CurrentMonitors();
  // A window laid out larger than the work area (a large scale factor, a
  // small screen) is made to fit where its minimum size allows.
  const QRect work = WorkAreaOf(monitors, ownerRect);
  const QRect frame = window->frameGeometry();
  if (work.isValid() && (frame.width() > work.width() || frame.height() > work.height())) {
    const QSize extra = frame.size() - window->size();
    window->resize((work.size() - extra)
                       .boundedTo(window->size())
                       .expandedTo(window->minimumSize())
                       .boundedTo(window->maximumSize()));
  }
  const QRect placed = CentreOver(window->frameGeometry(), ownerRect, monitors);
  window->move(placed.topLeft());
}

bool WindowPositionsKnown() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void AttachToOwner(QWidget* window, const QWidget* owner) {
  if (!window || !owner) return;
  QWindow* ownerHandle = owner->window()->windowHandle();
  if (!ownerHandle) return;
  window->winId();  // the native window, to carry the link
  if (QWindow* handle = window->windowHandle(); handle && handle != ownerHandle)
    handle->setTransientParent(ownerHandle);
}

}  // namespace platform
