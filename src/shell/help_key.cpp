// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/help_key.h"

#include <QKeyEvent>

namespace {

bool IsPlainF1(const QEvent* event) {
  const auto* key = static_cast<const QKeyEvent*>(event);
  return key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier;
}

}  // namespace

bool cuiHelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && IsPlainF1(event)) {
    event->accept();  // the key comes to the grid, not to Help > Contents
    return true;
  }
  if (event->type() == QEvent::KeyPress && IsPlainF1(event)) {
    onHelp_();
    return true;
  }
  return QObject::eventFilter(watched, event);
}
