// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/settings_cells.h"

#include <bit>

#include "model/cell_names.h"
#include "model/dealer_cells.h"
#include "model/editor_integer.h"
#include "model/editor_scaled.h"
#include "model/editor_text.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/numeric.h"

namespace settings {

namespace {

constexpr int kDispSecond = memmap::kFlags975;  // the low bit of a display pair

int Shift(std::uint16_t mask) { return std::countr_zero(static_cast<unsigned>(mask)); }

bool Greyed(const Grey& g, const cmcEeprom& image) {
  if (g.address < 0) return false;
  const std::uint8_t bits = image.GetByte(g.address) & g.mask;
  return g.anyClear ? bits != g.mask : bits == 0;
}

std::vector<std::uint8_t> ReadBytes(const cmcEeprom& image, int address, int n) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) bytes[static_cast<std::size_t>(i)] = image.GetByte(address + i);
  return bytes;
}

void WriteBytes(cmcEeprom& image, int address, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i)
    image.SetByte(address + static_cast<int>(i), bytes[i]);
}

}  // namespace

int ReadField(const Rule& rule, const cmcEeprom& image) {
  if (rule.kind == Kind::DispPair) {
    const int high = (image.GetByte(rule.address) >> rule.pairBit) & 1;
    const int low = (image.GetByte(kDispSecond) >> rule.pairBit) & 1;
    return high * 2 + low;
  }
  if (rule.address < 0) return 0;
  if (rule.mask == 0xFFFF) return image.GetWord(rule.address);
  return (image.GetByte(rule.address) & rule.mask) >> Shift(rule.mask);
}

void WriteField(const Rule& rule, cmcEeprom& image, int value) {
  if (rule.kind == Kind::DispPair) {
    const auto bit = static_cast<std::uint8_t>(1u << rule.pairBit);
    auto put = [&](int address, bool on) {
      const std::uint8_t b = image.GetByte(address);
      image.SetByte(address, on ? (b | bit) : (b & static_cast<std::uint8_t>(~bit)));
    };
    put(kDispSecond, value & 1);
    put(rule.address, value & 2);
    return;
  }
  if (rule.address < 0) return;
  if (rule.mask == 0xFFFF) {
    image.SetWord(rule.address, static_cast<std::uint16_t>(value));
    return;
  }
  const auto mask = static_cast<std::uint8_t>(rule.mask);
  const std::uint8_t old = image.GetByte(rule.address);
  const auto bits =
      static_cast<std::uint8_t>((static_cast<unsigned>(value) << Shift(rule.mask)) & mask);
  image.SetByte(rule.address, static_cast<std::uint8_t>((old & ~mask) | bits));
}

void Evaluate(const Rule& rule, const Context& ctx, const editor::Input& in, Result& result) {
  cmcEeprom& image = *ctx.image;
  editor::Output& out = result.out;
  result.silver = Greyed(rule.grey, image);

  switch (rule.kind) {
    case Kind::Fixed:
      // The international plan is always on where this cell shows.
      if (rule.cell == CL_Comm_INT) {
        image.SetByte(memmap::kFlags973, image.GetByte(memmap::kFlags973) | 0x02);
      }
      out.text = rule.fixedText;
      result.olive = true;
      result.restricted = true;
      return;

    case Kind::Option:
    case Kind::DispPair: {
      const char* name = rule.list;
      if (rule.kind == Kind::DispPair && !memmap::InGroupA(ctx.model)) name = rule.listE;
      int v = ReadField(rule, image);
      editor::EditOption(ctx.lists->List(name), v, in, out);
      if (out.result == EvalResult::kChooserOpened) result.chooserList = name;
      if (out.changed) WriteField(rule, image, v);
      break;
    }

    case Kind::Scaled: {
      int v = ReadField(rule, image) / rule.wordDivisor;
      editor::ScaledParams params{rule.scale,    rule.minimum, rule.maximum,        rule.zeroOff,
                                  rule.trailing, rule.suffix,  rule.noSuffixWhenOff};
      editor::EditScaled(params, v, in, out, ctx.offText);
      if (out.changed) WriteField(rule, image, v * rule.wordDivisor);
      break;
    }

    case Kind::Integer: {
      int v = ReadField(rule, image);
      editor::EditInteger({rule.minimum, rule.maximum, 0, 1, {}, false}, v, in, out);
      if (out.changed) WriteField(rule, image, v);
      if (out.result != EvalResult::kOpenEditor) out.text += rule.suffix;
      break;
    }

    case Kind::Drainbeat: dealer::EditDrainbeat(rule, image, in, out); break;

    case Kind::ForcedTermination: dealer::EditForcedTermination(rule, image, in, out); break;

    case Kind::Text: {
      auto bytes = ReadBytes(image, rule.address, rule.length);
      editor::EditText(bytes, in, out);
      if (out.changed) WriteBytes(image, rule.address, bytes);
      break;
    }

    case Kind::AtisId: {
      auto bytes = ReadBytes(image, rule.address, rule.length);
      editor::EditDigits(bytes, in, out);
      if (out.changed) WriteBytes(image, rule.address, bytes);
      // The checksum follows the identity; without one the radio sees 0xFF.
      // Opening the editor on a missing identity writes nothing: a checksum
      // over 0xFF bytes would look like an identity, and leaving the editor
      // with Escape must leave the image as it was.
      if (editor::DigitsValid(bytes)) {
        image.SetByte(memmap::kAtisChecksum, numeric::Checksum(bytes.data(), rule.length));
      } else if (out.result != EvalResult::kOpenEditor) {
        image.SetByte(memmap::kAtisChecksum, memmap::kAtisNoId);
        out.text = ctx.idOffText;
      }
      break;
    }
  }

  if (out.changed) {
    result.planChanged = rule.planSwitch;
    result.redrawAll = rule.redrawAll;
  }
}

}  // namespace settings
