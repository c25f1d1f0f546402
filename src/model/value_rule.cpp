// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/value_rule.h"

#include "model/cell.h"
#include "model/cell_names.h"
#include "model/editor_frequency.h"
#include "model/editor_scaled.h"
#include "model/settings_cells.h"

namespace {

std::string Range(int minimum, int maximum, int scale, int trailing, const std::string& suffix) {
  return editor::ScaledText(minimum, scale, trailing) + " to " +
         editor::ScaledText(maximum, scale, trailing) + suffix;
}

std::string SettingRule(const settings::Rule& rule) {
  using settings::Kind;
  switch (rule.kind) {
    case Kind::Scaled: {
      std::string text = "A value from " +
                         Range(rule.minimum, rule.maximum, rule.scale, rule.trailing, rule.suffix);
      if (rule.scale > 1)
        text += " in steps of " + editor::ScaledText(1, rule.scale, rule.trailing);
      text += rule.zeroOff ? ", or \"off\"" : "";
      return text + "; a value beyond the range is taken at the nearer end.";
    }
    case Kind::Integer:
      return "A whole number from " + Range(rule.minimum, rule.maximum, 1, 0, rule.suffix) +
             "; a value beyond the range is taken at the nearer end.";
    case Kind::Drainbeat:
      return "A tone from " + Range(rule.minimum, rule.maximum, 1, 0, rule.suffix) +
             "; the radio divides a clock to make it, so the nearest tone it can make is taken.";
    case Kind::ForcedTermination:
      return "Minutes from " + Range(rule.minimum, rule.maximum, 1, 0, rule.suffix) +
             " in steps of 5, 0 for OFF; the radio counts in fives, so other values are rounded.";
    case Kind::Text:
      return "Up to " + std::to_string(rule.length) +
             " characters of plain letters, digits, signs and spaces; any other character becomes "
             "a space "
             "and characters beyond the last are dropped.";
    case Kind::AtisId:
      return "Exactly " + std::to_string(2 * rule.length) +
             " digits; anything else clears the identity.";
    default: return {};
  }
}

}  // namespace

std::string CellValueRule(const cmcCellObj& cell) {
  switch (cell.Cell()) {
    case CL_Fch_FreqR:
    case CL_Fch_FreqT:
      return "A frequency in MHz from " + editor::FrequencyText(editor::kFreqMin) + " to " +
             editor::FrequencyText(editor::kFreqMax) +
             ". The radio tunes only its channel raster (steps of 5, 6.25 or 7.5 kHz): a frequency "
             "between "
             "steps is taken at the next step up, one beyond the band at the band's limit, and one "
             "with no "
             "step within the digits typed is refused.";
    case CL_Fch_ChName:
      return "Three characters the radio's display can show: the first two from A b C c d E F G H "
             "h I i J L "
             "n O o P r S t U u y - = 0-9 or a space, the third A, b or a space. A letter the "
             "display lacks "
             "takes its other case where the display has that, else it becomes a space; characters "
             "after "
             "the third are dropped.";
    case CL_Free_Byte_Dec: return "A byte value from 0 to 255.";
    default: break;
  }
  const settings::Rule* rule = settings::FindRule(cell.Cell());
  return rule ? SettingRule(*rule) : std::string();
}
