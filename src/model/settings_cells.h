// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings, ATIS and dealer cells: each is one value editor over a fixed
// field of the working image. The whole set is one table of rules, so the
// question "which bits does this cell own" has one answer, and a cell can
// never write outside them.

#include <cstdint>
#include <string>
#include <vector>

#include "model/editor_common.h"
#include "model/editor_option.h"

class cmcEeprom;

namespace settings {

enum class Kind : std::uint8_t {
  Option,             // option list over a bit field, byte or word
  DispPair,           // option list over one bit of 974 and one of 975
  Scaled,             // scaled decimal, word fields optionally divided
  Integer,            // integer editor over a byte
  Drainbeat,          // timer divisor shown and typed as Hz
  ForcedTermination,  // byte in units of five minutes
  Text,               // text field of the image
  AtisId,             // digit string with its checksum byte
  Fixed,              // fixed text, olive and not editable
};

// The condition under which a setting has no effect and is drawn silver.
struct Grey {
  int address = -1;
  std::uint8_t mask = 0;
  bool anyClear = false;  // grey when any masked bit is clear, else when all are
};

struct Rule {
  std::uint32_t cell = 0;
  Kind kind = Kind::Fixed;
  int address = -1;             // first byte of the field
  std::uint16_t mask = 0;       // the bits the cell owns (0xFFFF: a word)
  const char* list = nullptr;   // option list; for DispPair the list of group A
  const char* listE = nullptr;  // DispPair: the list of the other models
  int scale = 1;
  int minimum = 0;
  int maximum = 0;
  bool zeroOff = false;
  int trailing = 4;
  const char* suffix = "";
  bool noSuffixWhenOff = false;
  int wordDivisor = 1;  // the editor sees field / divisor and stores value * divisor
  Grey grey;
  bool planSwitch = false;  // a change rebuilds the sheet set (event 27)
  bool redrawAll = false;   // a change redraws every sheet
  const char* fixedText = nullptr;
  int length = 0;   // Text: characters; AtisId: bytes
  int pairBit = 0;  // DispPair: the bit in 974 and 975
};

// Every rule, in cell order.
const std::vector<Rule>& Rules();
// The rule of a cell, or nullptr when it has none here.
const Rule* FindRule(std::uint32_t cell);

// Where a rule finds its option lists.
class OptionSource {
 public:
  virtual ~OptionSource() = default;
  virtual editor::OptionList& List(const std::string& name) = 0;
};

struct Context {
  cmcEeprom* image = nullptr;
  int model = 0;
  OptionSource* lists = nullptr;
  std::string offText;    // GI_AppInd_TimerOff
  std::string idOffText;  // GI_AppInd_Atis_IdOff
};

struct Result {
  editor::Output out;
  bool olive = false;       // fixed value
  bool silver = false;      // setting currently without effect
  bool restricted = false;  // not editable
  bool planChanged = false;
  bool redrawAll = false;
  std::string chooserList;  // a chooser was opened: the list the chooser shows
};

// Reads the field, runs the editor, writes the field back when it changed.
void Evaluate(const Rule& rule, const Context& ctx, const editor::Input& in, Result& result);

// The raw field value and its store, exactly over the owned bits.
int ReadField(const Rule& rule, const cmcEeprom& image);
void WriteField(const Rule& rule, cmcEeprom& image, int value);

}  // namespace settings
