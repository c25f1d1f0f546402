// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/paint_watch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "ui/grid.h"

namespace shell {

PaintWatch::PaintWatch(Painted painted) : painted_(std::move(painted)) {
  QCoreApplication::instance()->installEventFilter(this);
}

PaintWatch::~PaintWatch() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool PaintWatch::TakePainted() {
  const bool seen = seen_;
  seen_ = false;
  return seen;
}

bool PaintWatch::eventFilter(QObject* watched, QEvent* event) {
  // The grid paints its cells on its viewport; the filter sees the event
  // before it is handled, so the report waits for the next turn of the loop.
  if (event->type() == QEvent::Paint && watched->parent() &&
      dynamic_cast<cuiGrid*>(watched->parent()) != nullptr) {
    seen_ = true;
    if (painted_ && !pending_) {
      pending_ = true;
      QTimer::singleShot(0, this, [this] {
        pending_ = false;
        painted_();
      });
    }
  }
  return false;
}

std::unique_ptr<PaintWatch> FirstPaintReport() {
  if (!std::getenv("SEACLONE_REPORT_FIRST_PAINT")) return nullptr;
  auto reported = std::make_shared<bool>(false);
  return std::make_unique<PaintWatch>([reported] {
    if (*reported) return;
    *reported = true;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf(
        "seaclone-first-paint %lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
  });
}

}  // namespace shell
