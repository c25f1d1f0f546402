// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/flector.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLayout>

#include "base/evman.h"
#include "platform/canvas.h"
#include "platform/qt/screens_qt.h"
#include "ui/chooser_accessible.h"
#include "ui/chooser_placement.h"
#include "ui/grid.h"
#include "ui/sheet.h"

namespace {

// The opening cell in desktop coordinates; without a sheet's grid, a point
// at the mouse pointer.
QRect CellOnDesktop(const cmcCellCapsule& capsule) {
  auto* grid = static_cast<cuiGrid*>(capsule.grid);
  if (!grid || !capsule.rect) return {QCursor::pos(), QSize(0, 0)};
  const platform::Rect& r = *capsule.rect;
  return {grid->viewport()->mapToGlobal(QPoint(r.left, r.top)), QSize(r.Width(), r.Height())};
}

}  // namespace

cuiFlector::cuiFlector(cmcEvMan& bus, const cmcCellCapsule& capsule, std::uint32_t cell, int number,
                       cmcGTex& table, const std::string& listKey, const cuiImageList* images)
    : QWidget(static_cast<cuiGrid*>(capsule.grid), Qt::Popup | Qt::FramelessWindowHint),
      bus_(bus),
      owner_(static_cast<cuiGrid*>(capsule.grid)),
      table_(table),
      listKey_(listKey),
      images_(images) {
  setWindowTitle(QApplication::applicationDisplayName());
  InstallChooserAccessible();
  const QRect cellRect = CellOnDesktop(capsule);
  QRect work = platform::WorkAreaOfRect(cellRect);
  if (!work.isValid()) work = platform::PrimaryWorkArea();

  sheet_ =
      std::make_unique<cuiSheet>(bus_, this, &capsule, cell, number, table_, listKey_, images_);
  sheet_->SetListMode(true);
  // Room for the whole list while it is measured: a squeezed grid would
  // report the extents of what it could show.
  resize(work.size());
  sheet_->Build();
  FitToList(work);
  sheet_->ResetScroll();
  move(chooser::Place(cellRect, size(), work));

  // Escape must close the list before the list sheet takes it for a key.
  sheet_->Grid()->installEventFilter(this);
  cuiGrid& grid = *sheet_->Grid();
  grid.Events().cursorMoved = [&grid, moved = grid.Events().cursorMoved] {
    if (moved) moved();
    NotifyChooserCursor(grid);
  };
  bus_.Subscribe<ev::SheetDestroyed>(this, [this](const ev::SheetDestroyed& e) {
    if (e.grid == static_cast<const QWidget*>(owner_)) Release();
  });
  bus_.Subscribe<ev::CommitEditor>(this, [this](const ev::CommitEditor&) { Release(); });
  show();
  grid.setFocus();
  NotifyChooserCursor(grid);
}

cuiFlector::~cuiFlector() {
  bus_.Unsubscribe(this);
  if (sheet_ && sheet_->Grid()) sheet_->Grid()->removeEventFilter(this);
  // The sheet goes before the controls it lives in.
  sheet_.reset();
}

void cuiFlector::FitToList(const QRect& work) {
  cuiGrid& grid = *sheet_->Grid();
  const auto extent = [&] {
    layout()->activate();
    return QSize(sheet_->ExtentWidth(), sheet_->ExtentHeight());
  };
  // A scroll area's own least size is room for its scroll bars; a short
  // list would stand in an empty box that large.
  grid.setMinimumSize(1, 1);
  grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QSize wanted = extent();
  if (wanted.width() > work.width() || wanted.height() > work.height()) {
    // Both bars, so that the list can be scrolled either way once it is cut
    // to the work area; they take room of their own, so measure again.
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    wanted = extent();
  }
  resize(chooser::Limit(wanted, work));
  layout()->activate();
}

void cuiFlector::Release() {
  released_ = true;
  hide();
  deleteLater();
}

void cuiFlector::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A pick hides the window from inside the list sheet's own key or mouse
  // handling, so it can only be freed later.
  if (!released_) {
    released_ = true;
    deleteLater();
  }
}

bool cuiFlector::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::WindowDeactivate: Release(); return true;
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Release();
        return true;
      }
      break;
    default: break;
  }
  return QWidget::event(event);
}

bool cuiFlector::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Release();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}
