// SPDX-License-Identifier: GPL-3.0-or-later
// The value syntaxes and small text routines every definition reader uses:
// the font descriptor, colour names, fields, numbers, the hexadecimal-bytes
// routine and the caption helpers, each over the whole input. Each result is
// checked against what the text itself says it must be.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/buff.h"
#include "fuzz_support.h"
#include "platform/fatal.h"
#include "platform/font_value.h"
#include "text/colour_names.h"
#include "text/font_syntax.h"
#include "text/syntax.h"

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void CheckFields(std::string_view text, char delimiter) {
  const auto count = std::count(text.begin(), text.end(), delimiter) + 1;
  std::string joined;
  for (int k = 0; k < count + 1 && k < 4096; ++k) {
    const auto field = Field(text, delimiter, k);
    if (k == count) {
      if (field) fuzz::Finding("a field past the last one");
      break;
    }
    if (!field) fuzz::Finding("a field missing");
    if (k) joined += delimiter;
    joined += *field;
  }
  if (count <= 4096 && joined != text) fuzz::Finding("fields do not make up the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    // Hexadecimal bytes: one byte per pair of digits, a lone digit rounded up.
    const auto digits = std::count_if(text.begin(), text.end(), IsHexDigit);
    const cmcBuff bytes = HexadecimalBytes(text);
    if (bytes.Size() != (digits + 1) / 2) fuzz::Finding("hexadecimal bytes of the wrong count");

    // Fonts, from the default and from extreme starting points.
    for (int start = 0; start < 3; ++start) {
      platform::FontValue font;
      if (start == 1) font.SetHeight(INT_MAX);
      if (start == 2) font.SetHeight(INT_MIN + 1);
      ApplyFontDescriptor(text, font);
      (void)font.Size();
    }
    (void)CharsetFromName(text);
    (void)StyleFromName(text);
    (void)PitchFromName(text);

    // Colours: a match stores exactly the table's value of that name.
    std::uint32_t colour = 0x12345678;
    if (ColourValue(text, &colour)) {
      const auto names = ColourNames();
      const bool listed = std::any_of(names.begin(), names.end(), [&](const ColourName& n) {
        return text == n.name && colour == n.value;
      });
      if (!listed) fuzz::Finding("a colour outside the table");
    } else if (colour != 0x12345678) {
      fuzz::Finding("a failed colour lookup changed the target");
    }

    (void)ReadNumber(text);
    CheckFields(text, ',');
    CheckFields(text, '|');
    for (int k : {0, 1, 6, -1}) (void)FieldOfSet(text, ",;|", k);

    std::string trimmed(text);
    Trim(trimmed);
    if (!trimmed.empty() && (IsBlank(trimmed.front()) || IsBlank(trimmed.back())))
      fuzz::Finding("trim left blanks");
    std::string bare(text);
    RemoveBlanks(bare);
    if (std::any_of(bare.begin(), bare.end(), IsBlank)) fuzz::Finding("blanks left");
    const auto amps = std::count(text.begin(), text.end(), '&');
    if (DoubleAmpersands(text).size() != text.size() + static_cast<size_t>(amps))
      fuzz::Finding("ampersands");
    const std::string z(text);
    for (int n : {-1, 0, 3, 1 << 20}) {
      const std::string c = CopyN(z.c_str(), n);
      if (c.size() > static_cast<size_t>(std::max(n, 0))) fuzz::Finding("CopyN copied too much");
    }
  } catch (const platform::FatalStop&) {}
  return 0;
}
