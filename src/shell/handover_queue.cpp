// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/handover_queue.h"

#include <QApplication>
#include <QMainWindow>
#include <QWidget>

#include "shell/main_controller.h"

namespace shell {

HandoverQueue::HandoverQueue(QWidget* form, cuiMain* main) : form_(form), main_(main) {
  retry_.setInterval(kRetryMs);
  connect(&retry_, &QTimer::timeout, this, [this] { OpenWaiting(); });
}

void HandoverQueue::Add(const QString& path) {
  waiting_.append(path);
  OpenWaiting();
}

bool HandoverQueue::Held() const {
  return QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
         main_->ExchangeOrPrintRunning() || (form_ && !form_->isEnabled());
}

void HandoverQueue::OpenWaiting() {
  // The discard question of one file runs an event loop of its own, in
  // which the next file may arrive; it waits for the question to end.
  if (opening_) return;
  while (!waiting_.isEmpty() && form_) {
    if (Held()) {
      if (!retry_.isActive()) retry_.start();
      return;
    }
    const QString path = waiting_.takeFirst();
    form_->setWindowState(form_->windowState() & ~Qt::WindowMinimized);
    form_->raise();
    form_->activateWindow();
    opening_ = true;
    main_->Documents().OpenFile(path.toStdString());
    opening_ = false;
  }
  retry_.stop();
}

}  // namespace shell
