// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/colour_names.h"

#include <array>

#include "text/hash.h"

namespace {

constexpr std::array<ColourName, 38> kColours{{
    {"clAqua", 0x00FFFF00},
    {"clBlack", 0x00000000},
    {"clBlue", 0x00FF0000},
    {"clDkGray", 0x00808080},
    {"clFuchsia", 0x00FF00FF},
    {"clGray", 0x00808080},
    {"clGreen", 0x00008000},
    {"clLime", 0x0000FF00},
    {"clLtGray", 0x00C0C0C0},
    {"clMaroon", 0x00000080},
    {"clNavy", 0x00800000},
    {"clOlive", 0x00008080},
    {"clPurple", 0x00800080},
    {"clRed", 0x000000FF},
    {"clSilver", 0x00C0C0C0},
    {"clTeal", 0x00808000},
    {"clWhite", 0x00FFFFFF},
    {"clYellow", 0x0000FFFF},
    {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},
    {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},
    {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},
    {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},
    {"clHighlight", 0x8000000D},
    {"clHightlightText", 0x8000000E},
    {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},
    {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},
}};

// Filled on first use; the payload is the colour value's bit pattern.
struct ColourTableHolder {
  cmcHash hash{101};
  ColourTableHolder() {
    for (const auto& c : kColours) hash.Insert(c.name, static_cast<int>(c.value));
  }
};

const cmcHash& ColourTable() {
  static const ColourTableHolder table;
  return table.hash;
}

}  // namespace

std::span<const ColourName> ColourNames() { return kColours; }

bool ColourValue(std::string_view text, std::uint32_t* target) {
  const auto* node = ColourTable().Find(text);
  if (!node) return false;
  if (target) *target = static_cast<std::uint32_t>(node->payload);
  return true;
}
