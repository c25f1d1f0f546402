// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>

#include "platform/event_loop.h"

namespace platform {

void RunEventLoop() { QCoreApplication::exec(); }

void QuitEventLoop() { QCoreApplication::exit(0); }

}  // namespace platform
