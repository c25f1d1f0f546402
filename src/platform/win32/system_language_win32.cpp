// SPDX-License-Identifier: GPL-3.0-or-later
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/system_language.h"

namespace platform {

bool SystemLanguageIsJapanese() { return IsJapaneseLanguageId(::GetUserDefaultUILanguage()); }

}  // namespace platform
