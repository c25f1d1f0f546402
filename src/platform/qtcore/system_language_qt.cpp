// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLocale>

#include "platform/system_language.h"

namespace platform {

bool SystemLanguageIsJapanese() { return QLocale::system().language() == QLocale::Japanese; }

}  // namespace platform
