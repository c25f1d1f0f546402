// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The readable tables the initial clone data files are made from, and
// their reader. Every table is checked as it is read: a channel whose
// frequencies do not match its number, or a flag the radio does not know,
// stops the generator with the file and line.

#include <array>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/memory_map.h"

namespace initial {

struct TableError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct PlanChannel {
  int index = 0;  // channel index 0..417
  std::uint32_t txHz = 0;
  std::uint32_t rxHz = 0;
  bool p = false, c = false, tag = false, txInhibit = false, poc = false;
};

struct FreeChannel {
  std::string name;  // three characters
  std::uint32_t rxHz = 0;
  std::uint32_t txHz = 0;
};

struct Extra {
  unsigned category = 0;
  PlanChannel channel;
};

struct Model {
  int type = 0;
  std::string file;
  bool usa = false, can = false, intl = false, wx = false, atis = false;
  std::vector<Extra> extras;
  std::string name;
};

struct Tables {
  std::map<unsigned, std::vector<PlanChannel>> plans;  // by category
  std::array<FreeChannel, memmap::kFreeCount> free;
  std::array<bool, memmap::kWxCount> wxInhibited{};
  std::vector<Model> models;
  std::vector<std::pair<int, std::vector<std::uint8_t>>> settings;
};

// Reads every table below dir (plans/int.txt, plans/usa.txt, plans/can.txt,
// plans/suv.txt, free.txt, wx.txt, models.txt, settings.txt).
Tables ReadTables(const std::string& dir);

// "156.050" -> 156050000. Throws on anything that is not a frequency.
std::uint32_t ParseMHz(const std::string& text);

}  // namespace initial
