// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_language.h"

namespace platform {
namespace {
int gJapaneseOverride = -1;
std::string gFaceOverride;
}  // namespace

bool IsJapaneseLanguageId(std::uint32_t languageId) { return (languageId & 0x3FF) == 0x11; }

bool IsJapaneseSystem() {
  if (gJapaneseOverride >= 0) return gJapaneseOverride != 0;
  return SystemLanguageIsJapanese();
}

void SetJapaneseSystemOverride(int japanese) {
  gJapaneseOverride = japanese < 0 ? -1 : (japanese ? 1 : 0);
}

std::string DefaultFaceName() {
  if (!gFaceOverride.empty()) return gFaceOverride;
  return IsJapaneseSystem() ? kDefaultJapaneseFace : kDefaultFace;
}

void SetDefaultFaceName(const std::string& face) { gFaceOverride = face; }

}  // namespace platform
