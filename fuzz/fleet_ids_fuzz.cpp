// SPDX-License-Identifier: GPL-3.0-or-later
// A fleet identity list from anywhere. Either it is refused (a line named
// where one is to blame) or every radio has ten digits of its own, taken
// from the lines in order.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/fatal.h"
#include "radio/fleet_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  fuzz::MainOverlay();
  const std::string path = fuzz::WriteTempFile("ids.csv", data, size);
  std::vector<fleet::Radio> radios;
  try {
    if (const auto problem = fleet::ReadIds(path, radios)) {
      const bool named = problem->kind == fleet::ListProblem::kBadId ||
                         problem->kind == fleet::ListProblem::kTwice ||
                         problem->kind == fleet::ListProblem::kLongComment ||
                         problem->kind == fleet::ListProblem::kUnshown;
      if (named && problem->line < 2) fuzz::Finding("a refused identity names no line");
      return 0;
    }
  } catch (const platform::FatalStop&) {
    return 0;
  }
  if (radios.empty()) fuzz::Finding("an accepted list without radios");
  std::set<std::string> ids;
  int line = 1;
  for (const fleet::Radio& radio : radios) {
    if (radio.id.size() != 10 || radio.id.find_first_not_of("0123456789") != std::string::npos)
      fuzz::Finding("an identity that is not ten digits");
    if (!ids.insert(radio.id).second) fuzz::Finding("an identity given to two radios");
    if (radio.line <= line) fuzz::Finding("radios out of line order");
    line = radio.line;
  }
  return 0;
}
