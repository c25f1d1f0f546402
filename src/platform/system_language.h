// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system language matters in one place: the face that fonts fall back
// to. Japanese systems get a Japanese face, everyone else the classic
// sans-serif face; the GUI maps either name to a real family when it draws.

#include <cstdint>
#include <string>

namespace platform {

// True when the primary language (low 10 bits) of a Windows language
// identifier is Japanese (0x11), whatever the sub-language.
bool IsJapaneseLanguageId(std::uint32_t languageId);

// Whether the system's default language is Japanese.
bool IsJapaneseSystem();
// The system's own answer, without the override (from the backend).
bool SystemLanguageIsJapanese();
// Tests decide the answer: 1 Japanese, 0 not, -1 ask the system again.
void SetJapaneseSystemOverride(int japanese);

inline constexpr const char* kDefaultFace = "MS Sans Serif";
// MS PGothic, written in UTF-8 like every other text of the program.
inline constexpr const char* kDefaultJapaneseFace =
    "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";

// The face that a font descriptor with an empty face field falls back to:
// the replacement when one is set, else the built-in face for the system.
std::string DefaultFaceName();
// Replaces the default face; an empty name restores the built-in choice.
void SetDefaultFaceName(const std::string& face);

}  // namespace platform
