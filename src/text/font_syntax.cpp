// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/font_syntax.h"

#include <array>
#include <utility>

#include "platform/system_language.h"
#include "text/colour_names.h"
#include "text/syntax.h"

namespace {

constexpr std::array<std::pair<const char*, int>, 19> kCharsets{{
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
}};

// A name followed by nothing but blanks, as the charset, style and pitch
// fields require.
std::string_view NameBeforeBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}

// Field 3 and 4: a number, or "%" and a percentage of the current value.
// 0 means "no change".
int ScaledValue(std::string_view field, int current) {
  const std::string_view rest = SkipBlanksView(field);
  if (!rest.empty() && rest.front() == '%') {
    const long long scaled = static_cast<long long>(current) * ReadNumber(rest.substr(1)) / 100;
    return scaled == 0 ? 1 : static_cast<int>(scaled);
  }
  return ReadNumber(rest);
}

}  // namespace

std::optional<int> CharsetFromName(std::string_view name) {
  for (const auto& [n, v] : kCharsets) {
    if (name == n) return v;
  }
  return std::nullopt;
}

std::optional<std::uint8_t> StyleFromName(std::string_view name) {
  if (name == "fsBold") return platform::kFontBold;
  if (name == "fsItalic") return platform::kFontItalic;
  if (name == "fsUnderline") return platform::kFontUnderline;
  if (name == "fsStrikeOut") return platform::kFontStrikeOut;
  return std::nullopt;
}

std::optional<platform::FontPitch> PitchFromName(std::string_view name) {
  if (name == "fpDefault") return platform::FontPitch::Default;
  if (name == "fpVariable") return platform::FontPitch::Variable;
  if (name == "fpFixed") return platform::FontPitch::Fixed;
  return std::nullopt;
}

void ApplyFontDescriptor(std::string_view text, platform::FontValue& font) {
  constexpr int kFields = 7;
  for (int k = 0; k < kFields; ++k) {
    const auto field = Field(text, ',', k);
    if (!field) break;
    const std::string_view f = *field;
    switch (k) {
      case 0:
        if (auto v = CharsetFromName(NameBeforeBlanks(SkipBlanksView(f)))) font.charset = *v;
        break;
      case 1: {
        font.face = platform::DefaultFaceName();
        const std::string_view face = SkipBlanksView(f);
        if (!face.empty()) font.face = std::string(face);
        break;
      }
      case 2: ColourValue(f, &font.color); break;
      case 3:
        if (int h = ScaledValue(f, font.Height())) font.SetHeight(h);
        break;
      case 4:
        if (int s = ScaledValue(f, font.Size())) font.SetSize(s);
        break;
      case 5: {
        bool recognised = false;
        for (int i = 0;; ++i) {
          const auto entry = Field(f, '+', i);
          if (!entry) break;
          const auto bit = StyleFromName(NameBeforeBlanks(SkipBlanksView(*entry)));
          if (!bit) continue;
          if (!recognised) font.style = 0;
          recognised = true;
          font.style |= *bit;
        }
        break;
      }
      case 6:
        if (auto p = PitchFromName(NameBeforeBlanks(SkipBlanksView(f)))) font.pitch = *p;
        break;
    }
  }
}
