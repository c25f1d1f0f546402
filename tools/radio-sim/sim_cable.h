// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cable between the program and the radio: a single wire, so every
// byte the program sends comes straight back to it before the radio hears
// it.

#include <cstddef>
#include <cstdint>

#include "sim_log.h"
#include "sim_options.h"
#include "sim_radio.h"

namespace sim {

class Cable {
 public:
  Cable(const Options& options, Output& line, Radio& radio, EventLog& log)
      : options_(options), line_(line), radio_(radio), log_(log) {}

  void FromProgram(const std::uint8_t* bytes, std::size_t n);

 private:
  const Options& options_;
  Output& line_;
  Radio& radio_;
  EventLog& log_;
  long count_ = 0;  // bytes the program has sent since the simulator started
};

}  // namespace sim
