// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window_context.h"

#include <QApplication>

#include "text/gtex.h"

namespace shell {

cmcGTex& WindowContext::Table() { return *gGTex; }

void WindowContext::WaitCursor(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

}  // namespace shell
